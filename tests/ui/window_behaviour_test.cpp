// The window as a person uses it: a press of 計算, the shape buttons, a
// target typed into a green box, Tab, leaving the window, the data sheet and
// F12.
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QTemporaryDir>

#include "form/control_table.h"
#include "tests/ui/window_test_support.h"
#include "tools/replay/window_replay_target.h"
#include "ui/main_window.h"
#include "ui/print_window.h"
#include "ui/sheet_window.h"

using kelvane::form::ControlId;
using kelvane::form::text1;
using kelvane::form::text2;
using kelvane::replay::WindowReplayTarget;

Q_DECLARE_METATYPE(ControlId)

namespace {

ControlId id(const char* address) { return *kelvane::form::parseControlId(address); }

}  // namespace

class WindowBehaviourTest : public QObject {
  Q_OBJECT

 private slots:
  void calculate_fills_the_result_boxes_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("expected");
    QTest::newRow("arrangement") << 0 << QStringLiteral("同数列巻き--3 X 3");
    QTest::newRow("layers") << 1 << QStringLiteral("4");
    QTest::newRow("thickness") << 2 << QStringLiteral("0.735");
    QTest::newRow("last layer") << 3 << QStringLiteral("1");
    QTest::newRow("A'") << 4 << QStringLiteral("3.596");
    QTest::newRow("B'") << 5 << QStringLiteral("3.511");
    QTest::newRow("aligned height") << 7 << QStringLiteral("0.756");
  }
  void calculate_fills_the_result_boxes() {
    QFETCH(int, box);
    QFETCH(QString, expected);
    WindowReplayTarget person;
    QCOMPARE(lineEdit(person, text2(box))->text(), QString());  // start-up empties them
    QVERIFY(person.click({"Command1", -1}));
    QCOMPARE(lineEdit(person, text2(box))->text(), expected);
  }

  void shape_button_shows_its_boxes_data() {
    QTest::addColumn<int>("shape");
    // Text1(5)..Text1(12), then Text2(4)..Text2(6)
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("outerCaption");
    QTest::newRow("round") << 0
                           << "10000000"
                              "001"
                           << "D'";
    QTest::newRow("rectangular") << 1
                                 << "01111000"
                                    "110"
                                 << "R' or D'";
    QTest::newRow("fan") << 2
                         << "01111111"
                            "111"
                         << "R'";
  }
  void shape_button_shows_its_boxes() {
    QFETCH(int, shape);
    QFETCH(QString, shown);
    QFETCH(QString, outerCaption);
    WindowReplayTarget person;
    QVERIFY(person.click({"Option1", shape}));
    QString seen;
    for (int i = 5; i <= 12; ++i)
      seen += person.window().control(text1(i))->isVisible() ? '1' : '0';
    for (int i = 4; i <= 6; ++i) seen += person.window().control(text2(i))->isVisible() ? '1' : '0';
    QCOMPARE(seen, shown);
    QCOMPARE(person.snapshot().captions.at("Label1(14)"), outerCaption.toStdString());
  }

  // Leaving the green weight box solves the turns before 計算 acts, so one
  // click recomputes everything for the solved number of turns.
  void weight_target_then_calculate_recomputes_for_the_solved_turns() {
    WindowReplayTarget person;
    QVERIFY(person.click({"Command1", -1}));
    QCOMPARE(lineEdit(person, text2(10))->text(), QStringLiteral("32.861"));
    QVERIFY(person.type(text2(10), "100"));
    QVERIFY(person.click({"Command1", -1}));
    QCOMPARE(lineEdit(person, text1(2))->text(), QStringLiteral("26"));
    QCOMPARE(lineEdit(person, text2(1))->text(), QStringLiteral("9"));
    QCOMPARE(lineEdit(person, text2(10))->text(), QStringLiteral("98.740"));
    QCOMPARE(lineEdit(person, text2(11))->text(), QStringLiteral("100.346"));
    QCOMPARE(person.snapshot().circles.size(), std::size_t{26});
  }

  void tab_moves_by_the_design_order_data() {
    QTest::addColumn<int>("shape");
    QTest::addColumn<ControlId>("from");
    QTest::addColumn<ControlId>("to");
    QTest::newRow("B to 計算") << 1 << text1(7) << id("Command1");
    QTest::newRow("fan: XX to R'") << 2 << text1(12) << text2(6);
    QTest::newRow("rectangular skips D") << 1 << text1(4) << text1(6);
    QTest::newRow("round: T to D") << 0 << text1(4) << text1(5);
    QTest::newRow("round: D to 計算") << 0 << text1(5) << id("Command1");
    QTest::newRow("rectangular: r2 to aligned height") << 1 << text1(9) << text2(7);
  }
  void tab_moves_by_the_design_order() {
    QFETCH(int, shape);
    QFETCH(ControlId, from);
    QFETCH(ControlId, to);
    WindowReplayTarget person;
    QVERIFY(person.click({"Option1", shape}));
    QVERIFY(person.focus(from));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), person.window().control(to));
    QCOMPARE(person.snapshot().focus, to.str());
  }

  // Focus leaving for another window is no move between the window's
  // controls: the emptied turns box is filled in only when focus next moves
  // to another control of the window.
  void leaving_the_window_runs_no_lost_focus() {
    WindowReplayTarget person;
    QVERIFY(person.type(text1(2), ""));
    QLineEdit elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitFor([&] { return elsewhere.isActiveWindow(); }));
    elsewhere.setFocus();
    QCOMPARE(QApplication::focusWidget(), &elsewhere);
    QCOMPARE(lineEdit(person, text1(2))->text(), QString());

    person.window().activateWindow();
    QVERIFY(QTest::qWaitFor([&] { return person.window().isActiveWindow(); }));
    QCOMPARE(QApplication::focusWidget(), person.window().control(text1(2)));
    QCOMPARE(lineEdit(person, text1(2))->text(), QString());

    QVERIFY(person.focus(text1(3)));
    QCOMPARE(lineEdit(person, text1(2))->text(), QStringLiteral("1"));
  }

  void data_sheet_grows_by_one_report_per_press() {
    WindowReplayTarget person;
    kelvane::ui::SheetWindow& sheet = person.window().sheet();
    QVERIFY(!sheet.isVisible());
    for (int press = 1; press <= 2; ++press) {
      QVERIFY(person.click({"Command2", -1}));
      QCOMPARE(sheet.lines().size(), 16 * press);
      QVERIFY(sheet.isVisible());
    }
    QCOMPARE(sheet.windowTitle(), QStringLiteral("線材Dimension"));
    QCOMPARE(sheet.lines().at(16), sheet.lines().at(0));
    person.closeSheet();
    QVERIFY(!sheet.isVisible());
    QCOMPARE(sheet.lines().size(), 0);
    QVERIFY(person.click({"Command2", -1}));
    QCOMPARE(sheet.lines().size(), 16);
  }

  void f12_asks_for_a_print() {
    WindowReplayTarget person;
    QVERIFY(person.focus(text1(3)));
    person.key(kelvane::form::Form1::kPrintKey);
    QCOMPARE(person.snapshot().printRequests, 1);
    QCOMPARE(person.snapshot().inputTexts[3], std::string("10"));  // the key types nothing
  }

  void window_image_prints_to_a_pdf() {
    WindowReplayTarget person;
    QVERIFY(person.click({"Command1", -1}));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("window.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    QVERIFY(kelvane::ui::printWindowImage(person.window(), printer));
    QFile pdf(file);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.size() > 1000);
    QVERIFY(pdf.read(5) == "%PDF-");
  }

  // A message appears after the event that raised it has run to its end,
  // once, in the order raised.
  void messages_are_shown_once_each() {
    WindowReplayTarget person;
    QVERIFY(person.type(text1(4), "0.1"));
    QVERIFY(person.click({"Command1", -1}));
    QVERIFY(person.click({"Command1", -1}));
    const std::vector<std::string> messages = person.snapshot().messages;
    QCOMPARE(messages.size(), std::size_t{2});
    QCOMPARE(messages[0], messages[1]);
    QCOMPARE(lineEdit(person, text2(0))->text(), QString());  // the press was refused
  }

 private:
  static QLineEdit* lineEdit(WindowReplayTarget& person, const ControlId& box) {
    return qobject_cast<QLineEdit*>(person.window().control(box));
  }
};

KELVANE_UI_TEST_MAIN(WindowBehaviourTest)
#include "window_behaviour_test.moc"
