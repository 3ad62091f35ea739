// A window that cannot mislead: results out of date look it, only the green
// boxes take typing and the others look it, long texts show their start,
// Enter and the Alt keys as our users expect, and every control explains
// itself.
#include <QGraphicsEffect>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "form/boxes.h"
#include "tests/ui/window_test_support.h"
#include "tools/replay/window_replay_target.h"
#include "ui/main_window.h"
#include "ui/sheet_window.h"

using kelvane::form::ControlId;
using kelvane::form::text1;
using kelvane::form::text2;
using kelvane::replay::WindowReplayTarget;

namespace {

QLineEdit* box(WindowReplayTarget& person, const ControlId& id) {
  return qobject_cast<QLineEdit*>(person.window().control(id));
}

// How many of the three out-of-date marks the window shows: grey result
// texts, the dimmed drawing, the note. They always go together.
int outOfDateMarks(WindowReplayTarget& person) {
  auto& w = person.window();
  const bool grey = box(person, text2(8))->palette().color(QPalette::Text) == QColor(128, 128, 128);
  const QGraphicsEffect* dim = w.control({"Shape2", -1})->graphicsEffect();
  const bool note = w.findChild<QLabel*>(QStringLiteral("staleNote"))->isVisible();
  return int(grey) + int(dim && dim->isEnabled()) + int(note);
}

bool looksOutOfDate(WindowReplayTarget& person) {
  const int marks = outOfDateMarks(person);
  if (marks != 0 && marks != 3) qWarning("only %d of the three marks shown", marks);
  return marks == 3 && !person.window().resultsCurrent();
}

}  // namespace

class WindowTrustTest : public QObject {
  Q_OBJECT

 private slots:
  void results_out_of_date_look_it_until_the_next_press_data() {
    QTest::addColumn<QString>("change");
    QTest::newRow("input typed") << "type";
    QTest::newRow("shape") << "shape";
    QTest::newRow("material") << "material";
    QTest::newRow("refused press") << "refuse";
    QTest::newRow("target applied") << "target";
  }
  void results_out_of_date_look_it_until_the_next_press() {
    QFETCH(QString, change);
    WindowReplayTarget person;
    QVERIFY(person.click({"Command1", -1}));
    QVERIFY(!looksOutOfDate(person));
    const QString before = box(person, text2(8))->text();
    if (change == "type") QVERIFY(person.type(text1(2), "12"));
    if (change == "shape") QVERIFY(person.click({"Option1", 0}));
    if (change == "material") QVERIFY(person.click({"Option3", 1}));
    if (change == "refuse") {
      QVERIFY(person.type(text1(0), "0,2"));
      QVERIFY(person.click({"Command1", -1}));
    }
    if (change == "target") {
      QVERIFY(person.type(text2(10), "20"));
      QVERIFY(person.focus(text1(13)));
    }
    QVERIFY(looksOutOfDate(person));
    // The texts themselves stay as they were (a material change empties them).
    if (change != "material") QCOMPARE(box(person, text2(8))->text(), before);
    if (change == "refuse") QVERIFY(person.type(text1(0), "0.2"));
    QVERIFY(person.click({"Command1", -1}));
    QVERIFY(!looksOutOfDate(person));
  }

  void only_the_green_boxes_take_typing() {
    WindowReplayTarget person;
    int editable = 0;
    for (int i = 0; i < kelvane::form::kResultBoxCount; ++i) {
      QLineEdit* b = box(person, text2(i));
      editable += b->isReadOnly() ? 0 : 1;
      QCOMPARE(b->isReadOnly(), !person.window().isEditable(text2(i)));
    }
    QCOMPARE(editable, 4);
    QVERIFY(person.window().isEditable(text2(7)));
    QVERIFY(!person.window().isEditable(text2(8)));
    // Typed into a read-only box, nothing changes.
    QVERIFY(person.click({"Command1", -1}));
    const QString shown = box(person, text2(8))->text();
    QVERIFY(person.focus(text2(8)));
    QTest::keyClicks(box(person, text2(8)), "999");
    QCOMPARE(box(person, text2(8))->text(), shown);
  }

  // A box that takes no typing looks it: on the window's face colour, as the
  // platform draws a read-only box. The targets stay green, the inputs white,
  // whether the results are current or not.
  void boxes_that_take_no_typing_look_it() {
    WindowReplayTarget person;
    const QColor face = person.window().palette().color(QPalette::Window);
    const QColor green(192, 255, 192);
    const QColor input = box(person, text1(0))->palette().color(QPalette::Base);
    QVERIFY(input != face);
    QVERIFY(person.click({"Command1", -1}));
    for (bool outOfDate : {false, true}) {
      if (outOfDate) QVERIFY(person.type(text1(2), "12"));
      QCOMPARE(looksOutOfDate(person), outOfDate);
      for (int i = 0; i < kelvane::form::kResultBoxCount; ++i) {
        const QColor base = box(person, text2(i))->palette().color(QPalette::Base);
        QCOMPARE(base, box(person, text2(i))->isReadOnly() ? face : green);
      }
      for (int i = 0; i < kelvane::form::kInputBoxCount; ++i)
        QCOMPARE(box(person, text1(i))->palette().color(QPalette::Base), input);
    }
  }

  void a_long_text_shows_its_start_once_left() {
    WindowReplayTarget person;
    QVERIFY(person.click({"Option1", 2}));
    QVERIFY(person.type(text1(11), "73.7397952916881"));
    QVERIFY(person.focus(text1(12)));
    QCOMPARE(box(person, text1(11))->cursorPosition(), 0);
  }

  void enter_moves_on_and_presses_buttons() {
    WindowReplayTarget person;
    QVERIFY(person.type(text1(2), ""));
    QTest::keyClick(box(person, text1(2)), Qt::Key_Return);
    // The turns box was left: its rule filled in one turn.
    QCOMPARE(box(person, text1(2))->text(), QStringLiteral("1"));
    QCOMPARE(person.snapshot().focus, std::string("Text1(3)"));
    QVERIFY(person.focus({"Command1", -1}));
    QTest::keyClick(person.window().control({"Command1", -1}), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(box(person, text2(1))->text(), QStringLiteral("1"));
  }

  void alt_keys_press_the_buttons_and_esc_closes_the_sheet() {
    WindowReplayTarget person;
    QVERIFY(person.focus(text1(2)));
    QTest::keyClick(&person.window(), Qt::Key_C, Qt::AltModifier);
    QCOMPARE(box(person, text2(1))->text(), QStringLiteral("4"));
    QTest::keyClick(&person.window(), Qt::Key_D, Qt::AltModifier);
    auto& sheet = person.window().sheet();
    QTRY_VERIFY(sheet.isVisible());
    sheet.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&sheet));
    QTest::keyClick(&sheet, Qt::Key_Escape);
    QTRY_VERIFY(!sheet.isVisible());
    QCOMPARE(person.snapshot().form2.size(), std::size_t{0});
    QTest::keyClick(&person.window(), Qt::Key_D, Qt::AltModifier);
    QTRY_VERIFY(sheet.isVisible());
    sheet.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&sheet));
    QTest::keyClick(&sheet, Qt::Key_W, Qt::ControlModifier);
    QTRY_VERIFY(!sheet.isVisible());
    // The captions stay as designed.
    QCOMPARE(qobject_cast<QPushButton*>(person.window().control({"Command1", -1}))->text(),
             QStringLiteral("計算"));
  }

  void every_control_explains_itself() {
    WindowReplayTarget person;
    QStringList silent;
    for (QWidget* w : person.window().findChildren<QWidget*>()) {
      const auto id = person.window().controlOf(w);
      if (id && w->toolTip().isEmpty()) silent << QString::fromStdString(id->str());
    }
    QVERIFY2(silent.isEmpty(), qPrintable(silent.join(", ")));
    // A caption says what its box says; the DCR pair says why it is crossed.
    QCOMPARE(person.window().control({"Label1", 2})->toolTip(),
             person.window().control(text1(2))->toolTip());
    QVERIFY(person.window().control(text2(12))->toolTip().contains(QStringLiteral("意図的に逆")));
    QVERIFY(person.window().control(text1(13))->toolTip().contains(
        QStringLiteral("計算には使いません")));
  }
};

KELVANE_UI_TEST_MAIN(WindowTrustTest)
#include "window_trust_test.moc"
