// 編集 › 規格線から選ぶ: a cell chosen in the dialog fills the wire's boxes
// as the data gives them, and the results go out of date; calling the dialog
// off, or a cell that cannot be chosen, changes nothing.
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/application_setup.h"
#include "ui/job_window.h"
#include "ui/wire_picker_dialog.h"
#include "wiredata/wire_tables.h"

using kelvane::form::idOf;
using kelvane::form::box::BareDiameter;
using kelvane::form::box::FinishedDiameter;
using kelvane::ui::JobWindow;
using kelvane::ui::WirePickerDialog;

namespace {

enum class Take { Enter, DoubleClick, ChooseButton, Escape };

// The row whose first cell shows `first`.
int rowShowing(const QTableWidget& grid, const QString& first) {
  for (int r = 0; r < grid.rowCount(); ++r)
    if (grid.item(r, 0)->text() == first) return r;
  return -1;
}

// Runs `act` on the picker once it is open; whatever it leaves open is closed.
// The timer goes with the test case.
void whenPickerOpens(QTimer& timer, bool& seen, const std::function<void(WirePickerDialog&)>& act) {
  timer.setInterval(10);
  QObject::connect(&timer, &QTimer::timeout, [&timer, &seen, act] {
    auto* dialog = qobject_cast<WirePickerDialog*>(QApplication::activeModalWidget());
    if (!dialog || seen) return;
    seen = true;
    timer.stop();
    act(*dialog);
    if (dialog->isVisible()) dialog->reject();
  });
  timer.start();
}

}  // namespace

class WirePickerTest : public QObject {
  Q_OBJECT

 private slots:
  void choosing_a_cell_data() {
    QTest::addColumn<int>("table");
    QTest::addColumn<QString>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("take");
    QTest::addColumn<QString>("bare");      // empty: unchanged
    QTest::addColumn<QString>("finished");  // empty: unchanged
    const int enter = int(Take::Enter), dclick = int(Take::DoubleClick),
              button = int(Take::ChooseButton), esc = int(Take::Escape);
    const QString unchanged;
    // The table shows the IEC and JIS diameters to 0.001 mm; the boxes get
    // them as the data gives them.
    QTest::newRow("grade 1 by Enter") << 0 << "0.250" << 1 << enter << "0.25" << QString("0.281");
    QTest::newRow("grade 3 by double click")
        << 0 << "0.010" << 3 << dclick << "0.01" << QString("0.019");
    QTest::newRow("grade 2 by 選ぶ") << 0 << "5.000" << 2 << button << "5" << QString("5.141");
    QTest::newRow("a grade called off") << 0 << "0.250" << 1 << esc << unchanged << unchanged;
    QTest::newRow("a grade without figure") << 0 << "1.500" << 3 << enter << unchanged << unchanged;
    QTest::newRow("the conductor itself") << 0 << "0.250" << 0 << dclick << unchanged << unchanged;
    QTest::newRow("a resistance limit") << 0 << "0.100" << 4 << enter << unchanged << unchanged;
    QTest::newRow("JIS 1種 by Enter") << 1 << "0.100" << 3 << enter << "0.1" << QString("0.14");
    QTest::newRow("JIS 3種 by double click")
        << 1 << "0.650" << 2 << dclick << "0.65" << QString("0.694");
    QTest::newRow("JIS 3種 without figure") << 1 << "0.700" << 1 << enter << unchanged << unchanged;
    QTest::newRow("an AWG row by Enter") << 2 << "36" << 0 << enter << "0.127" << unchanged;
    QTest::newRow("an AWG row by double click")
        << 2 << "4/0" << 2 << dclick << "11.68" << unchanged;
  }
  void choosing_a_cell() {
    QFETCH(int, table);
    QFETCH(QString, row);
    QFETCH(int, column);
    QFETCH(int, take);
    QFETCH(QString, bare);
    QFETCH(QString, finished);

    JobWindow window;
    window.setMessagePresenter([](const QString& m) { QFAIL(qPrintable(m)); });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* d = qobject_cast<QLineEdit*>(window.form().control(idOf(BareDiameter)));
    auto* dw = qobject_cast<QLineEdit*>(window.form().control(idOf(FinishedDiameter)));
    QTest::mouseClick(qobject_cast<QPushButton*>(window.form().control({"Command1", -1})),
                      Qt::LeftButton);
    QVERIFY(window.form().resultsCurrent());
    const QString dBefore = d->text(), dwBefore = dw->text();
    QVERIFY(!window.isWindowModified());

    bool seen = false;
    QTimer timer;
    whenPickerOpens(timer, seen, [&](WirePickerDialog& dialog) {
      dialog.tableChoice().setCurrentIndex(table);
      QTableWidget& grid = dialog.grid();
      const int r = rowShowing(grid, row);
      QVERIFY(r >= 0);
      QTableWidgetItem* item = grid.item(r, column);
      grid.scrollToItem(item);
      const QPoint at = grid.visualItemRect(item).center();
      QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at);
      switch (Take(take)) {
        case Take::Enter:
          QTest::keyClick(&grid, Qt::Key_Return);
          break;
        case Take::DoubleClick:
          QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, at);
          break;
        case Take::ChooseButton:
          for (QPushButton* b : dialog.findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("選ぶ")) QTest::mouseClick(b, Qt::LeftButton);
          break;
        case Take::Escape:
          QTest::keyClick(&grid, Qt::Key_Escape);
          break;
      }
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier);
    QVERIFY(seen);

    const bool changed = !bare.isEmpty();
    QCOMPARE(d->text(), changed ? bare : dBefore);
    QCOMPARE(dw->text(), finished.isEmpty() ? dwBefore : finished);
    QCOMPARE(window.form().model().state().inputTexts[0], d->text().toStdString());
    QCOMPARE(window.form().model().state().inputTexts[1], dw->text().toStdString());
    QCOMPARE(window.form().resultsCurrent(), !changed);
    QCOMPARE(window.isWindowModified(), changed);
  }
};

// What the picker shows without anything being chosen: typing a diameter as
// the boxes take it selects its row, a disputed or empty cell carries a mark
// explained under the table, and the source lines are Japanese.
class WirePickerLookTest : public QObject {
  Q_OBJECT

 private slots:
  void typing_a_diameter_finds_its_row_data() {
    QTest::addColumn<int>("table");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("row");  // the first cell of the row selected; empty: none
    QTest::addColumn<int>("column");
    QTest::newRow("1.0 finds 1.000") << 0 << "1.0"
                                     << "1.000" << 1;
    QTest::newRow("full width") << 0 << "１．０"
                                << "1.000" << 1;
    QTest::newRow("a unit after it") << 0 << "0.25 mm"
                                     << "0.250" << 1;
    QTest::newRow("no leading zero") << 0 << ".071"
                                     << "0.071" << 1;
    QTest::newRow("a size the table lacks") << 0 << "0.53"
                                            << "" << -1;
    QTest::newRow("a comma that is no digit group") << 0 << "1,0"
                                                    << "" << -1;
    QTest::newRow("JIS, 3種 first") << 1 << "0.10"
                                    << "0.100" << 1;
    QTest::newRow("JIS without 3種") << 1 << "0.7"
                                     << "0.700" << 2;
    QTest::newRow("AWG by its millimetres") << 2 << "0.127"
                                            << "36" << 0;
  }
  void typing_a_diameter_finds_its_row() {
    QFETCH(int, table);
    QFETCH(QString, typed);
    QFETCH(QString, row);
    QFETCH(int, column);
    const auto& tables = kelvane::wiredata::standardWireTables();
    QVERIFY(tables.ok());
    WirePickerDialog dialog(*tables, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.tableChoice().setCurrentIndex(table);
    QTableWidget& grid = dialog.grid();
    grid.setCurrentCell(0, 0);
    dialog.search().setFocus();
    if (typed.toLatin1() == typed.toUtf8()) {
      QTest::keyClicks(&dialog.search(), typed);
    } else {
      // Full-width text arrives as an input method commits it.
      QInputMethodEvent commit;
      commit.setCommitString(typed);
      QApplication::sendEvent(&dialog.search(), &commit);
    }
    if (row.isEmpty()) {
      // Nothing stays selected, not even a row the first digits found, so
      // Enter takes nothing.
      QCOMPARE(grid.currentRow(), -1);
      QVERIFY(!dialog.choice());
      QTest::keyClick(&dialog.search(), Qt::Key_Return);
      QVERIFY(dialog.isVisible());
      return;
    }
    QCOMPARE(grid.item(grid.currentRow(), 0)->text(), row);
    QCOMPARE(grid.currentColumn(), column);
    QVERIFY(dialog.choice());
  }

  void remarks_mark_the_cells_they_explain() {
    const auto& tables = kelvane::wiredata::standardWireTables();
    QVERIFY(tables.ok());
    WirePickerDialog dialog(*tables, nullptr);
    QTableWidget& grid = dialog.grid();
    const int r048 = rowShowing(grid, "0.048"), r050 = rowShowing(grid, "0.050");
    const int r150 = rowShowing(grid, "1.500");
    QVERIFY(r048 >= 0 && r050 >= 0 && r150 >= 0);
    QCOMPARE(grid.item(r048, 2)->text(), QString("0.064 ※1"));
    QCOMPARE(grid.item(r048, 1)->text(), QString("0.059"));
    QCOMPARE(grid.item(r050, 2)->text(), QString("0.066"));
    QCOMPARE(grid.item(r150, 3)->text(), QString("— ※4"));
    QVERIFY(grid.item(r048, 2)->toolTip().contains(QStringLiteral("0.065")));
    QVERIFY(dialog.remarks().contains(QStringLiteral("※1 0.048 mm")));
    QVERIFY(dialog.remarks().contains(QStringLiteral("※3 0.170 mm")));
    // The marked cell is still chosen with the figure the table gives.
    grid.setCurrentCell(r048, 2);
    QCOMPARE(dialog.choice()->finishedDiameter, std::optional<std::string>("0.064"));
    // A table without remarks shows none.
    dialog.tableChoice().setCurrentIndex(2);
    QVERIFY(dialog.remarks().isEmpty());
  }

  void source_lines_are_japanese() {
    const auto& tables = kelvane::wiredata::standardWireTables();
    QVERIFY(tables.ok());
    WirePickerDialog dialog(*tables, nullptr);
    const auto japanese = [](const QString& text) {
      int kana = 0;
      for (const QChar c : text) kana += c.unicode() >= 0x3040 && c.unicode() <= 0x30ff;
      return kana >= 10;
    };
    QTableWidget& grid = dialog.grid();
    for (int table = 0; table < dialog.tableChoice().count(); ++table) {
      dialog.tableChoice().setCurrentIndex(table);
      grid.setCurrentCell(-1, -1);
      QVERIFY2(japanese(dialog.sourceText()), qPrintable(dialog.sourceText()));
      for (int r = 0; r < grid.rowCount(); r += 7) {
        grid.setCurrentCell(r, 0);
        QVERIFY2(japanese(dialog.sourceText()), qPrintable(dialog.sourceText()));
      }
    }
    // A row whose resistance limits come from another table names that one too.
    dialog.tableChoice().setCurrentIndex(0);
    grid.setCurrentCell(rowShowing(grid, "0.100"), 1);
    QVERIFY(dialog.sourceText().contains(QStringLiteral("(mas-elektrisola)")));
    QVERIFY(dialog.sourceText().contains(QStringLiteral("(sh-wire)")));
    QCOMPARE(dialog.sourceText().count(QStringLiteral("(sh-wire)")), 1);
    // A row without such figures names no source for them.
    grid.setCurrentCell(rowShowing(grid, "1.000"), 1);
    QVERIFY(!dialog.sourceText().contains(QStringLiteral("(sh-wire)")));
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kelvane::ui::prepareApplication(app);
  WirePickerTest test;
  WirePickerLookTest look;
  return QTest::qExec(&test, argc, argv) | QTest::qExec(&look, argc, argv);
}

#include "wire_picker_test.moc"
