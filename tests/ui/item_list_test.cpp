// The items of a request in the window: added, copied, moved, removed and
// chosen from the keyboard, each keeping its own coil and results; the
// requirement kept from a target, and an item that no longer meets it.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "form/boxes.h"
#include "job/job.h"
#include "tests/ui/window_test_support.h"
#include "ui/item_list.h"
#include "ui/job_window.h"

using kelvane::form::ControlId;
using kelvane::form::idOf;
using kelvane::form::text1;
using kelvane::ui::JobWindow;
namespace box = kelvane::form::box;

namespace {

struct Person {
  JobWindow window;
  QStringList messages;
  QStringList removeAsked, offRequirementAsked;
  bool remove = true, issueOffRequirement = false;

  Person() {
    window.setMessagePresenter([this](const QString& m) { messages << m; });
    window.setDiscardAsker([](const QString&) { return JobWindow::DiscardAnswer::Discard; });
    window.setOutOfDateAsker([] { return JobWindow::OutOfDateAnswer::PressAndOutput; });
    window.setNoCustomerAsker([] { return true; });
    window.setRemoveItemAsker([this](const QString& q) {
      removeAsked << q;
      return remove;
    });
    window.setOffRequirementAsker([this](const QString& q) {
      offRequirementAsked << q;
      return issueOffRequirement;
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
  }
  QLineEdit* box(const ControlId& id) {
    return qobject_cast<QLineEdit*>(window.form().control(id));
  }
  void type(const ControlId& id, const QString& text) {
    QLineEdit* b = box(id);
    b->setFocus(Qt::TabFocusReason);
    b->selectAll();
    QTest::keyClicks(b, text);
    QTest::keyClick(b, Qt::Key_Tab);
  }
  void press() {
    QTest::mouseClick(qobject_cast<QAbstractButton*>(window.form().control({"Command1", -1})),
                      Qt::LeftButton);
  }
  // A key as the person presses it, wherever the focus is.
  void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
  }
  QString turns() { return box(text1(2))->text(); }
  QString mark(int row) { return window.itemList().table()->item(row, 5)->text(); }
};

constexpr auto kCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;

}  // namespace

class ItemListTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void each_item_keeps_its_own_coil_and_results() {
    Person person;
    person.type(text1(2), QStringLiteral("40"));
    person.press();
    QVERIFY(person.window.formOf(0).state().resultsCurrent);

    person.key(Qt::Key_N, kCtrlShift);  // 品目を追加
    QCOMPARE(person.window.itemCount(), std::size_t(2));
    QCOMPARE(person.window.shownItem(), std::size_t(1));
    QCOMPARE(person.turns(), QStringLiteral("10"));  // a new coil, as the window opens
    QCOMPARE(person.mark(1), QStringLiteral("未計算"));
    person.type(text1(2), QStringLiteral("77"));

    person.key(Qt::Key_PageUp, Qt::ControlModifier);  // 前の品目
    QCOMPARE(person.window.shownItem(), std::size_t(0));
    QCOMPARE(person.turns(), QStringLiteral("40"));
    QVERIFY(person.window.form().model().state().resultsCurrent);
    QCOMPARE(person.mark(0), QString());
    person.key(Qt::Key_PageDown, Qt::ControlModifier);  // 次の品目
    QCOMPARE(person.turns(), QStringLiteral("77"));
    QVERIFY(!person.window.form().model().state().resultsCurrent);

    // A copy keeps the coil; it goes after the item and is shown.
    person.key(Qt::Key_D, kCtrlShift);
    QCOMPARE(person.window.itemCount(), std::size_t(3));
    QCOMPARE(person.window.shownItem(), std::size_t(2));
    QCOMPARE(person.turns(), QStringLiteral("77"));

    // 品番 typed into the list: F6 goes there, typing starts the cell.
    person.key(Qt::Key_F6);
    QCOMPARE(QApplication::focusWidget(), person.window.itemList().table());
    for (const QChar c : QStringLiteral("KC-3")) QTest::keyClicks(QApplication::focusWidget(), c);
    person.key(Qt::Key_Return);  // the cell takes it once the event loop runs
    QTRY_COMPARE(person.window.itemAt(2).partNumber, std::string("KC-3"));
    QVERIFY(person.window.isWindowModified());

    // Moved to the top, it takes its coil and name with it.
    person.key(Qt::Key_Up, kCtrlShift);
    person.key(Qt::Key_Up, kCtrlShift);
    QCOMPARE(person.window.shownItem(), std::size_t(0));
    QCOMPARE(person.window.itemAt(0).partNumber, std::string("KC-3"));
    QCOMPARE(person.window.itemAt(1).coil.text(kelvane::InputBox::Turns), std::string("40"));

    // 全品目を計算: every item current, the one shown too.
    person.key(Qt::Key_F9);
    for (std::size_t i = 0; i < person.window.itemCount(); ++i)
      QVERIFY(person.window.formOf(i).state().resultsCurrent);
    QCOMPARE(person.mark(0), QString());

    // Delete on the list asks first; a no keeps the item.
    person.key(Qt::Key_F6);
    person.remove = false;
    person.key(Qt::Key_Delete);
    QCOMPARE(person.removeAsked.size(), 1);
    QVERIFY(person.removeAsked.front().contains(QStringLiteral("品目 1「KC-3」")));
    QCOMPARE(person.window.itemCount(), std::size_t(3));
    person.remove = true;
    person.key(Qt::Key_Delete);
    QCOMPARE(person.window.itemCount(), std::size_t(2));
    QCOMPARE(person.window.shownItem(), std::size_t(0));
    QCOMPARE(person.turns(), QStringLiteral("40"));
    QCOMPARE(person.messages, QStringList());
  }

  void the_job_holds_a_hundred_items_at_most() {
    Person person;
    kelvane::job::Job job;
    job.items.resize(kelvane::job::kMaxItems);
    person.window.takeJob(job);
    QCOMPARE(person.window.itemCount(), kelvane::job::kMaxItems);
    QVERIFY(!person.window.addItem());
    QVERIFY(!person.window.duplicateItem());
    QCOMPARE(person.messages, QStringList(2, QStringLiteral("品目は 100 までです。")));
    // The last item cannot be removed.
    Person one;
    QVERIFY(!one.window.removeItem());
    QCOMPARE(one.removeAsked, QStringList());
  }

  // A DCR typed as a target is the item's requirement; after the wire is
  // changed the results miss it, the list and the window say so, and the
  // 見積書 asks before it goes out.
  void an_item_off_its_requirement_is_marked() {
    Person person;
    person.press();
    const ControlId dcr = idOf(box::PredictedDcr);
    person.type(dcr, QStringLiteral("0.5"));
    QCOMPARE(person.window.itemAt(0).requirements.size(), std::size_t(1));
    QCOMPARE(person.window.itemAt(0).requirements.front().value, 0.5);
    QCOMPARE(person.window.itemAt(0).requirements.front().unit, std::string("Ω"));
    person.press();
    QCOMPARE(person.mark(0), QString());
    QVERIFY(person.window.itemList().requirement()->text().contains(QStringLiteral("適合")));

    person.type(text1(0), QStringLiteral("0.3"));
    person.type(text1(1), QStringLiteral("0.32"));
    person.press();
    QCOMPARE(person.mark(0), QStringLiteral("仕様外"));
    QVERIFY(person.window.itemList().requirement()->text().contains(QStringLiteral("不適合")));

    QTemporaryDir dir;
    qputenv("KELVANE_REGISTER", dir.filePath(QStringLiteral("register.sqlite3")).toLocal8Bit());
    const QString pdf = dir.filePath(QStringLiteral("q.pdf"));
    person.window.setFileChooser(
        [&pdf](JobWindow::FileKind, const QString&) { return QString(pdf); });
    QVERIFY(!person.window.exportCustomerQuotation());
    QCOMPARE(person.offRequirementAsked.size(), 1);
    QVERIFY(person.offRequirementAsked.front().contains(QStringLiteral("DCR(20℃) 0.5 Ω")));
    QVERIFY(!QFile::exists(pdf));
    person.issueOffRequirement = true;
    QVERIFY(person.window.exportCustomerQuotation());
    QVERIFY(QFile::exists(pdf));
  }
};

QTEST_MAIN(ItemListTest)
#include "item_list_test.moc"
