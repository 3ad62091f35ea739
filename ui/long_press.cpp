#include "ui/long_press.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QProgressDialog>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <cmath>

namespace kelvane::ui {
namespace {

void runWithProgress(QWidget* window, const form::Work& work) {
  PressProgress progress;
  QProgressDialog dialog(QStringLiteral("巻線の長さを計算しています…"), QStringLiteral("キャンセル"), 0,
                         1000, window);
  dialog.setWindowTitle(QStringLiteral("Kelvane"));
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setMinimumDuration(300);
  dialog.setAutoClose(false);
  dialog.setAutoReset(false);
  dialog.setObjectName(QStringLiteral("pressProgress"));
  QObject::connect(&dialog, &QProgressDialog::canceled, [&progress] { progress.cancel(); });

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
