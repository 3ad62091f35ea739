#include "ui/long_press.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QProgressDialog>
#include <QTimer>
#include <QWindow>
#include <QtConcurrent/QtConcurrentRun>
#include <cmath>

namespace kelvane::ui {
namespace {

// While a press runs on its worker, nothing but its progress dialog takes
// input: a click on the window would act on a state the press is about to
// replace. Painting goes on.
class InputBlocker : public QObject {
 public:
  explicit InputBlocker(const QWidget& allowed) : allowed_(allowed) {
    qApp->installEventFilter(this);
  }
  ~InputBlocker() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::Shortcut:
      case QEvent::Wheel:
      case QEvent::ContextMenu:
      case QEvent::InputMethod: {
        if (const auto* widget = qobject_cast<const QWidget*>(watched))
          return widget != &allowed_ && !allowed_.isAncestorOf(widget);
        // Events to a native window surface, before they reach its widgets.
        return watched->isWindowType() && watched != static_cast<QObject*>(allowed_.windowHandle());
      }
      default:
        return false;
    }
  }

 private:
  const QWidget& allowed_;
};

void runWithProgress(QWidget* window, const form::Work& work) {
  PressProgress progress;
  QProgressDialog dialog(QStringLiteral("巻線の長さを計算しています…"),
                         QStringLiteral("キャンセル"), 0, 1000, window);
  dialog.setWindowTitle(QStringLiteral("Kelvane"));
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setMinimumDuration(300);
  dialog.setAutoClose(false);
  dialog.setAutoReset(false);
  dialog.setObjectName(QStringLiteral("pressProgress"));
  QObject::connect(&dialog, &QProgressDialog::canceled, [&progress] { progress.cancel(); });
  const InputBlocker blocker(dialog);

  // The worker only reports a share; the dialog reads it a few times a second.
  QTimer refresh;
  refresh.setInterval(50);
  QObject::connect(&refresh, &QTimer::timeout, &dialog,
                   [&] { dialog.setValue(static_cast<int>(progress.fraction() * 1000)); });

  QEventLoop loop;
  QFutureWatcher<void> watcher;
  QObject::connect(&watcher, &QFutureWatcher<void>::finished, &loop, &QEventLoop::quit);
  watcher.setFuture(QtConcurrent::run([&work, &progress] { work(&progress); }));
  refresh.start();
  loop.exec();
}

}  // namespace

form::WorkRunner progressRunner(QWidget* window) {
  return [window](double turns, const form::Work& work) {
    if (std::fabs(turns) < kLongPressTurns) {
      work(nullptr);
    } else {
      runWithProgress(window, work);
    }
  };
}

}  // namespace kelvane::ui
