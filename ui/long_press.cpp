#include "ui/long_press.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <cmath>
#include <thread>

namespace kelvane::ui {

bool isLongPress(const form::PressRequest& request) {
  return request.inputs.shape && std::fabs(request.inputs.turns) >= kLongPressTurns;
}

CoilPress computeWithProgress(QWidget* window, const form::PressRequest& request) {
  PressProgress progress;
  CoilPress press;
  bool done = false;

  QProgressDialog dialog(QStringLiteral("巻線の長さを計算しています…"), QStringLiteral("キャンセル"), 0,
                         1000, window);
  dialog.setWindowTitle(QStringLiteral("Kelvane"));
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setMinimumDuration(300);
  dialog.setAutoClose(false);
  dialog.setAutoReset(false);
  dialog.setObjectName(QStringLiteral("pressProgress"));

  QEventLoop loop;
  QTimer poll;
  poll.setInterval(50);
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (done) {
      loop.quit();
      return;
    }
    if (dialog.wasCanceled()) progress.cancel();
    else dialog.setValue(static_cast<int>(progress.fraction() * 1000));
  });
  QObject::connect(&dialog, &QProgressDialog::canceled, &loop, [&] { progress.cancel(); });

  std::thread worker([&] {
    press = CalculateCoil(request.inputs, request.previous, &progress);
    QMetaObject::invokeMethod(&loop, [&] { done = true; }, Qt::QueuedConnection);
  });
  poll.start();
  loop.exec();
  worker.join();
  return press;
}

}  // namespace kelvane::ui
