// The windings of an item on the job window, driven as a person drives it:
// the bar above the form, a winding added over the first with its wire and
// tape, 計算 of the whole stack, the size each winding inherits shown on
// its form, a target in a lower winding moving the ones above, refusals
// naming the box, and a transformer saved and opened again whole.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

#include "core/number_text.h"
#include "core/winding_stack.h"
#include "form/control_table.h"
#include "job/job.h"
#include "tests/job/job_fixtures.h"
#include "ui/job_window.h"

using kelvane::InputBox;
using kelvane::ResultBox;
using kelvane::form::ControlId;
using kelvane::form::idOf;
using kelvane::ui::JobWindow;
using kelvane::ui::MainWindow;
using kelvane::ui::WindingBar;

namespace {

struct Person {
  JobWindow window;
  QStringList messages;
  QStringList asked;

  Person() {
    window.setMessagePresenter([this](const QString& m) { messages << m; });
    window.setRemoveItemAsker([this](const QString& q) {
      asked << q;
      return true;
    });
    window.setDiscardAsker([](const QString&) { return JobWindow::DiscardAnswer::Discard; });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
  }
  WindingBar& bar() { return window.windingBar(); }
  QLineEdit* box(const ControlId& id) {
    return qobject_cast<QLineEdit*>(window.form().control(id));
  }
  QString text(InputBox b) { return box(idOf(b))->text(); }
  QString text(ResultBox b) { return box(idOf(b))->text(); }
  // Types over a box's text, then leaves it with Tab.
  void type(QLineEdit* b, const QString& text) {
    b->setFocus(Qt::TabFocusReason);
    b->selectAll();
    if (text.isEmpty()) QTest::keyClick(b, Qt::Key_Delete);
    // Japanese as an input method sends it, a character a key event.
    for (const QChar c : text)
      QTest::sendKeyEvent(QTest::Click, b, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::keyClick(b, Qt::Key_Tab);
  }
  void type(const ControlId& id, const QString& text) { type(box(id), text); }
  void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  void calculate() {
    click(qobject_cast<QAbstractButton*>(window.form().control(kelvane::form::calculateButton())));
  }
  void chooseWinding(int k) {
    QTabBar* tabs = bar().tabs();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(k).center());
    QCOMPARE(int(window.shownWinding()), k);
  }
};

double number(const QString& text) { return kelvane::readLeadingNumber(text.toStdString()); }

// A round bobbin, one winding.
kelvane::job::Job roundJob() {
  kelvane::job::Job job = kelvane::job::test::sampleJobs()[1].job;
  job.items.front().upperWindings.clear();
  return job;
}

const kelvane::job::Job& transformer() {
  static const kelvane::job::Job job = [] {
    for (const auto& sample : kelvane::job::test::sampleJobs())
      if (sample.name == "TransformerOfThreeWindings") return sample.job;
    return kelvane::job::Job{};
  }();
  return job;
}

bool formerButtonsEnabled(const MainWindow& form) {
  for (const auto shape :
       {kelvane::FormerShape::Round, kelvane::FormerShape::Rectangular, kelvane::FormerShape::Fan})
    if (!form.control(idOf(shape))->isEnabled()) return false;
  return true;
}

}  // namespace

class WindingWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // An item of one winding: the bar is the tab 巻線1 and 巻線を追加; the
  // form is the form of before.
  void one_winding_is_the_form_as_before() {
    Person person;
    QCOMPARE(person.bar().tabs()->count(), 1);
    QCOMPARE(person.bar().tabs()->tabText(0), QStringLiteral("巻線1"));
    QVERIFY(person.bar().addButton()->isVisible());
    QVERIFY(!person.bar().removeButton()->isVisible());
    QVERIFY(!person.bar().nameBox()->isVisible());
    QVERIFY(!person.bar().box(WindingBar::Box::Thickness)->isVisible());
    QVERIFY(person.window.form().isEditable(idOf(InputBox::SideA)));
    QVERIFY(formerButtonsEnabled(person.window.form()));
    person.calculate();
    QVERIFY(person.window.form().model().state().resultsCurrent);
    QCOMPARE(person.messages, QStringList());
  }

  // 巻線を追加, the new winding's wire and the tape typed, 計算: the second
  // winding sits on the first's outside and the tape, shown read-only as
  // inherited; saved and opened again, the job and the sizes are the same.
  void added_winding_sits_on_the_first_and_its_tape() {
    Person person;
    person.window.takeJob(roundJob());
    const QString innerD = person.text(InputBox::InnerDiameter);
    person.click(person.bar().addButton());
    QCOMPARE(person.bar().tabs()->count(), 2);
    QCOMPARE(int(person.window.shownWinding()), 1);
    QVERIFY(person.bar().removeButton()->isEnabled());
    QVERIFY(!person.window.form().isEditable(idOf(InputBox::InnerDiameter)));
    QVERIFY(person.box(idOf(InputBox::InnerDiameter))->toolTip().contains(QStringLiteral("継承")));
    QVERIFY(!formerButtonsEnabled(person.window.form()));

    person.type(person.bar().nameBox(), QStringLiteral("二次"));
    QCOMPARE(person.bar().tabs()->tabText(1), QStringLiteral("巻線2 二次"));
    person.type(idOf(InputBox::BareDiameter), QStringLiteral("0.4"));
    person.type(idOf(InputBox::FinishedDiameter), QStringLiteral("0.45"));
    person.type(idOf(InputBox::Turns), QStringLiteral("60"));
    person.type(person.bar().box(WindingBar::Box::Thickness), QStringLiteral("０．０５"));
    person.type(person.bar().box(WindingBar::Box::Layers), QStringLiteral("3"));
    person.calculate();
    QCOMPARE(person.messages, QStringList());
    QVERIFY(person.window.form().model().state().resultsCurrent);
    const QString innerD2 = person.text(InputBox::InnerDiameter);
    const QString turns2 = person.text(ResultBox::LayerCount);

    // The first winding's build, read from its form: D2 = D1 + 2 × (build + tape).
    person.chooseWinding(0);
    QVERIFY(person.window.form().isEditable(idOf(InputBox::InnerDiameter)));
    QCOMPARE(person.text(InputBox::InnerDiameter), innerD);
    const double build = std::max(number(person.text(ResultBox::AlignedHeight)),
                                  number(person.text(ResultBox::CrossHeight)));
    QVERIFY(build > 0);
    QVERIFY2(std::abs(number(innerD2) - (number(innerD) + 2 * (build + 0.15))) < 0.002,
             qPrintable(innerD2 + " " + innerD + " " + QString::number(build)));

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("transformer.kelvane"));
    QVERIFY(person.window.saveTo(file));
    const kelvane::job::Job saved = person.window.currentJob();
    QCOMPARE(saved.items.front().upperWindings.size(), std::size_t(1));
    QCOMPARE(saved.items.front().upperWindings[0].name, std::string("二次"));
    QCOMPARE(saved.items.front().upperWindings[0].under.thicknessPerLayer, std::string("０．０５"));

    Person again;
    QVERIFY(again.window.openFile(file));
    QVERIFY(again.window.currentJob() == saved);
    QCOMPARE(again.bar().tabs()->tabText(1), QStringLiteral("巻線2 二次"));
    again.chooseWinding(1);
    QCOMPARE(again.text(InputBox::InnerDiameter), innerD2);
    QCOMPARE(again.text(ResultBox::LayerCount), turns2);
    QCOMPARE(again.bar().box(WindingBar::Box::Layers)->text(), QStringLiteral("3"));
    QVERIFY(again.window.form().model().state().resultsCurrent);
    QVERIFY(!again.window.isWindowModified());
  }

  // A target typed into the first winding changes its turns, and the
  // second winding, wound over it, follows.
  void target_in_the_first_winding_moves_the_second() {
    Person person;
    person.window.takeJob(transformer());
    QCOMPARE(person.messages, QStringList());
    person.chooseWinding(1);
    const QString before = person.text(InputBox::InnerDiameter);
    person.chooseWinding(0);
    const QString turns = person.text(InputBox::Turns);
    const double height = number(person.text(ResultBox::AlignedHeight));
    person.type(idOf(ResultBox::AlignedHeight), QString::number(height * 2.5));
    QCOMPARE(person.messages, QStringList());
    QVERIFY(person.text(InputBox::Turns) != turns);
    QVERIFY(person.window.form().model().state().resultsCurrent);
    person.chooseWinding(1);
    QVERIFY(person.window.form().model().state().resultsCurrent);
    QVERIFY2(number(person.text(InputBox::InnerDiameter)) > number(before),
             qPrintable(before + " → " + person.text(InputBox::InnerDiameter)));
  }

  // A change under a winding leaves those above out of date until 計算.
  void a_change_below_puts_the_windings_above_out_of_date() {
    Person person;
    person.window.takeJob(transformer());
    person.type(idOf(InputBox::Turns), QStringLiteral("999"));
    person.chooseWinding(2);
    QVERIFY(!person.window.form().model().state().resultsCurrent);
    QCOMPARE(person.text(InputBox::InnerDiameter), QString());
    QVERIFY(!person.window.itemList().isHidden());
    person.calculate();
    QVERIFY(person.window.form().model().state().resultsCurrent);
    QVERIFY(!person.text(InputBox::InnerDiameter).isEmpty());
  }

  void refused_box_is_named_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("named");
    QTest::newRow("thickness") << int(WindingBar::Box::Thickness) << "0.05mmx"
                               << "層間絶縁の厚み";
    QTest::newRow("negative thickness") << int(WindingBar::Box::Thickness) << "-1"
                                        << "層間絶縁の厚み";
    QTest::newRow("layers") << int(WindingBar::Box::Layers) << "1.5"
                            << "層間絶縁の層数";
    QTest::newRow("wire price") << int(WindingBar::Box::WirePrice) << "千円"
                                << "線材単価";
    QTest::newRow("speed") << int(WindingBar::Box::Speed) << "-5"
                           << "巻線速度";
    QTest::newRow("tape price") << int(WindingBar::Box::TapePrice) << "1.5円x"
                                << "層間テープ単価";
  }
  void refused_box_is_named() {
    QFETCH(int, box);
    QFETCH(QString, typed);
    QFETCH(QString, named);
    Person person;
    person.window.takeJob(transformer());
    person.chooseWinding(1);
    const kelvane::job::Job before = person.window.currentJob();
    QLineEdit* b = person.bar().box(static_cast<WindingBar::Box>(box));
    person.type(b, typed);
    QCOMPARE(person.messages.size(), 1);
    QVERIFY2(person.messages[0].contains(named), qPrintable(person.messages[0]));
    QVERIFY2(person.messages[0].contains(QStringLiteral("巻線2「二次」")),
             qPrintable(person.messages[0]));
    QCOMPARE(QApplication::focusWidget(), b);
    QVERIFY(person.window.currentJob() == before);
  }

  // The tape's price a layer is the item's: typed on any winding above the
  // first, it is kept once and counted for every layer of the piece.
  void the_tape_price_is_the_items() {
    Person person;
    person.window.takeJob(transformer());
    person.chooseWinding(2);
    person.type(person.bar().box(WindingBar::Box::TapePrice), QStringLiteral("２．５"));
    QCOMPARE(person.messages, QStringList());
    QCOMPARE(person.window.currentJob().items.front().tapeYenPerLayer, 2.5);
    person.chooseWinding(1);
    QCOMPARE(person.bar().box(WindingBar::Box::TapePrice)->text(), QStringLiteral("2.5"));
  }

  // A winding the stack cannot press is named and shown.
  void a_refused_winding_is_shown() {
    Person person;
    person.window.takeJob(transformer());
    person.chooseWinding(2);
    person.type(idOf(InputBox::BareDiameter), QStringLiteral("abc"));
    person.messages.clear();
    person.chooseWinding(0);
    person.calculate();
    QCOMPARE(person.messages.size(), 1);
    QVERIFY2(person.messages[0].startsWith(QStringLiteral("巻線3")),
             qPrintable(person.messages[0]));
    QCOMPARE(int(person.window.shownWinding()), 2);
    QCOMPARE(person.bar().tabs()->currentIndex(), 2);
  }

  // 巻線を削除 asks, and the item may go back to one winding.
  void removing_windings_asks_and_ends_at_one() {
    Person person;
    person.window.takeJob(transformer());
    person.chooseWinding(2);
    person.click(person.bar().removeButton());
    person.click(person.bar().removeButton());
    QCOMPARE(person.asked.size(), 2);
    QVERIFY2(person.asked[0].contains(QStringLiteral("巻線3")), qPrintable(person.asked[0]));
    QCOMPARE(person.bar().tabs()->count(), 1);
    QVERIFY(person.window.currentJob().items.front().upperWindings.empty());
    QVERIFY(person.window.form().isEditable(idOf(InputBox::InnerDiameter)));
    person.calculate();
    QVERIFY(person.window.form().model().state().resultsCurrent);
  }

  // 複製 copies the windings with the item.
  void a_copied_item_keeps_its_windings() {
    Person person;
    person.window.takeJob(transformer());
    QVERIFY(person.window.duplicateItem());
    QCOMPARE(person.window.itemCount(), std::size_t(2));
    QCOMPARE(person.bar().tabs()->count(), 3);
    QVERIFY(person.window.itemAt(1) == person.window.itemAt(0));
  }
};

QTEST_MAIN(WindingWindowTest)
#include "winding_window_test.moc"
