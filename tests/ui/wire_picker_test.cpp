// 編集 › 規格線から選ぶ: a cell chosen in the dialog fills the wire's boxes
// as the data gives them, and the results go out of date; calling the dialog
// off, or a cell that cannot be chosen, changes nothing.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/application_setup.h"
#include "ui/job_window.h"
#include "ui/wire_picker_dialog.h"

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
    QTest::newRow("grade 1 by Enter") << 0 << "0.25" << 1 << enter << "0.25" << QString("0.281");
    QTest::newRow("grade 3 by double click")
        << 0 << "0.01" << 3 << dclick << "0.01" << QString("0.019");
    QTest::newRow("grade 2 by 選ぶ") << 0 << "5" << 2 << button << "5" << QString("5.141");
    QTest::newRow("a grade called off") << 0 << "0.25" << 1 << esc << unchanged << unchanged;
    QTest::newRow("a grade without figure") << 0 << "1.5" << 3 << enter << unchanged << unchanged;
    QTest::newRow("the conductor itself") << 0 << "0.25" << 0 << dclick << unchanged << unchanged;
    QTest::newRow("an AWG row by Enter") << 1 << "36" << 0 << enter << "0.127" << unchanged;
    QTest::newRow("an AWG row by double click")
        << 1 << "4/0" << 2 << dclick << "11.68" << unchanged;
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
    QCOMPARE(window.form().model().state().text1[0], d->text().toStdString());
    QCOMPARE(window.form().model().state().text1[1], dw->text().toStdString());
    QCOMPARE(window.form().resultsCurrent(), !changed);
    QCOMPARE(window.isWindowModified(), changed);
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kelvane::ui::prepareApplication(app);
  WirePickerTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "wire_picker_test.moc"
