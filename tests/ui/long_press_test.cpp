// A press of two billion turns: the window shows its progress, can call the
// press off without a trace, and otherwise ends with the model's texts.
#include <QApplication>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "tools/replay/replay.h"
#include "tools/replay/window_replay_target.h"
#include "ui/application_setup.h"
#include "ui/main_window.h"

using kelvane::form::text1;
using kelvane::form::text2;
using kelvane::replay::WindowReplayTarget;

namespace {

QLineEdit* box(WindowReplayTarget& person, const kelvane::form::ControlId& id) {
  return qobject_cast<QLineEdit*>(person.window().control(id));
}

// Presses the progress dialog's cancel button once it has shown itself.
void cancelWhenShown(bool& seen) {
  auto* timer = new QTimer;
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [timer, &seen] {
    auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    seen = true;
    auto* cancel = dialog->findChild<QPushButton*>();
    QTest::mouseClick(cancel, Qt::LeftButton);
    timer->deleteLater();
  });
  timer->start();
}

}  // namespace

class LongPressTest : public QObject {
  Q_OBJECT

 private slots:
  void a_cancelled_press_leaves_the_window_untouched() {
    WindowReplayTarget person;
    QVERIFY(person.click({"Command1", -1}));
    QVERIFY(person.type(text1(2), "2000000000"));
    const auto before = person.snapshot();
    bool seen = false;
    cancelWhenShown(seen);
    QVERIFY(person.click({"Command1", -1}));
    QVERIFY(seen);
    const auto after = person.snapshot();
    QCOMPARE(after.resultTexts, before.resultTexts);
    QCOMPARE(after.inputTexts, before.inputTexts);
    QCOMPARE(after.captions, before.captions);
    QVERIFY(after.messages.empty());
  }

  void nothing_can_be_clicked_while_a_press_runs() {
    WindowReplayTarget person;
    QVERIFY(person.click({"Command1", -1}));
    QVERIFY(person.type(text1(2), "1999999999"));
    auto* aluminium = qobject_cast<QRadioButton*>(person.window().control({"Option3", 1}));
    auto* calculate = qobject_cast<QPushButton*>(person.window().control({"Command1", -1}));
    bool clickedDuringPress = false;
    // Clicks in the first moments of the press, before the dialog shows, and
    // then the press is called off.
    QTimer::singleShot(20, [&] {
      clickedDuringPress = true;
      QTest::mouseClick(aluminium, Qt::LeftButton);
      QTest::mouseClick(calculate, Qt::LeftButton);
      QTest::keyClick(person.window().control(text1(2)), Qt::Key_5);
    });
    QTimer::singleShot(600, [] {
      if (auto* d = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) d->cancel();
    });
    QVERIFY(person.click({"Command1", -1}));
    QVERIFY(clickedDuringPress);
    QVERIFY(!aluminium->isChecked());
    QCOMPARE(person.snapshot().option3, 0);
    QCOMPARE(box(person, text1(2))->text(), QStringLiteral("1999999999"));
  }

  void a_long_press_let_run_ends_as_the_model_does() {
    WindowReplayTarget person;
    kelvane::replay::ModelTarget model;
    for (kelvane::replay::ReplayTarget* target :
         std::initializer_list<kelvane::replay::ReplayTarget*>{&person, &model}) {
      QVERIFY(target->type(text1(2), "30000000"));
      QVERIFY(target->click({"Command1", -1}));
    }
    QCOMPARE(person.snapshot().resultTexts, model.snapshot().resultTexts);
    QVERIFY(!person.snapshot().resultTexts[8].empty());
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kelvane::ui::prepareApplication(app);
  LongPressTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "long_press_test.moc"
