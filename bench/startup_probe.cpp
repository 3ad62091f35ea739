// Opens a window, waits for its first paint, and exits: started again and
// again by scripts/measure-startup to time the way from process start to a
// painted window. "kelvane" opens the Kelvane window, "bare" a plain window
// with one button for comparison; "press" after either also presses 計算 (or
// the button) and prints the resident memory afterwards, in KiB.
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "ui/application_setup.h"
#include "ui/main_window.h"

namespace {

// Quits at the first paint of the window it watches.
class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) QTimer::singleShot(0, qApp, &QApplication::quit);
    return QObject::eventFilter(watched, event);
  }
};

long residentKiB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  const bool kelvane = argc > 1 && std::strcmp(argv[1], "kelvane") == 0;
  const bool press = argc > 2 && std::strcmp(argv[2], "press") == 0;
  QApplication app(argc, argv);
  QWidget* window = nullptr;
  QPushButton* button = nullptr;
  if (kelvane) {
    kelvane::ui::prepareApplication(app);
    auto* main = new kelvane::ui::MainWindow;
    button = qobject_cast<QPushButton*>(main->control({"Command1", -1}));
    main->setMessagePresenter([](const QString&) {});
    window = main;
  } else {
    window = new QWidget;
    button = new QPushButton(QStringLiteral("計算"), window);
  }
  FirstPaint watcher;
  window->installEventFilter(&watcher);
  window->show();
  app.exec();
  if (press) {
    button->click();
    app.processEvents();
    std::printf("%ld\n", residentKiB());
  }
  delete window;
  return 0;
}
