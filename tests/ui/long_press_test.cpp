// A press of two billion turns: the window shows its progress, can call the
// press off without a trace, and otherwise ends with the model's texts.
#include <QApplication>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "tools/replay.h"
#include "tools/window_replay_target.h"
#include "ui/application_setup.h"
#include "ui/main_window.h"

using kelvane::form::text1;
using kelvane::form::text2;
using kelvane::replay::WindowReplayTarget;

namespace {

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
    QCOMPARE(after.text2, before.text2);
    QCOMPARE(after.text1, before.text1);
    QCOMPARE(after.captions, before.captions);
    QVERIFY(after.messages.empty());
  }

  void a_long_press_let_run_ends_as_the_model_does() {
    WindowReplayTarget person;
    kelvane::replay::ModelTarget model;
    for (kelvane::replay::ReplayTarget* target :
         std::initializer_list<kelvane::replay::ReplayTarget*>{&person, &model}) {
      QVERIFY(target->type(text1(2), "30000000"));
      QVERIFY(target->click({"Command1", -1}));
    }
    QCOMPARE(person.snapshot().text2, model.snapshot().text2);
    QVERIFY(!person.snapshot().text2[8].empty());
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
