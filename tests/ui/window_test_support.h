#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "core/expected.h"
#include "ui/application_setup.h"

namespace kelvane::ui::test {

// What QVERIFY2 tells of steps or a save that failed; empty when done.
inline QByteArray failureText(const Expected<void>& done) {
  return done.ok() ? QByteArray() : QByteArray::fromStdString(done.message());
}

// A test that would wait on a dialog fails instead of hanging: any modal
// window that opens is noted and closed at once.
class ModalGuard {
 public:
  ModalGuard() {
    timer_.setInterval(50);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        opened_ = true;
        modal->close();
      }
    });
    timer_.start();
  }
  bool modalOpened() const { return opened_; }

 private:
  QTimer timer_;
  bool opened_ = false;
};

// Answers the first message box with a key as soon as it shows, before a
// timer of the test's guard can close it.
class KeyForMessageBox : public QObject {
 public:
  explicit KeyForMessageBox(Qt::Key key) : key_(key) {
    QCoreApplication::instance()->installEventFilter(this);
  }
  ~KeyForMessageBox() override { QCoreApplication::instance()->removeEventFilter(this); }
  QString question;
  QStringList buttons;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* box = qobject_cast<QMessageBox*>(watched);
    if (box && event->type() == QEvent::Show && question.isEmpty()) {
      question = box->text();
      for (QAbstractButton* b : box->buttons()) buttons << b->text();
      QMetaObject::invokeMethod(
          box, [box, key = key_] { QTest::keyClick(box, key); }, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  Qt::Key key_;
};

}  // namespace kelvane::ui::test

// main() of a window test: the offscreen platform unless another is asked
// for, and the application prepared as the program prepares it.
#define KELVANE_UI_TEST_MAIN(TestClass)                                                          \
  int main(int argc, char** argv) {                                                              \
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen"); \
    QApplication app(argc, argv);                                                                \
    kelvane::ui::prepareApplication(app);                                                        \
    kelvane::ui::test::ModalGuard guard;                                                         \
    TestClass test;                                                                              \
    const int failures = QTest::qExec(&test, argc, argv);                                        \
    if (guard.modalOpened()) qCritical("a modal dialog opened during the test");                 \
    return failures + (guard.modalOpened() ? 1 : 0);                                             \
  }
