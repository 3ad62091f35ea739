// Opens a window, waits for its first paint, and exits: started again and
// again by scripts/measure-startup to time the way from process start to a
// painted window. "kelvane" opens the Kelvane window; two bare windows stand
// beside it: "bare", a plain window with one button in Qt's default font, and
// "bare-ja", a plain window with one Japanese label in the window's own face,
// so the difference to it is what Kelvane itself adds. "press" after any of
// them also presses 計算 (or the button) and prints the resident memory
// afterwards, in KiB.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "form/control_table.h"
#include "ui/application_setup.h"
#include "ui/fonts.h"
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
  const char* kind = argc > 1 ? argv[1] : "bare";
  const bool press = argc > 2 && std::strcmp(argv[2], "press") == 0;
  QApplication app(argc, argv);
  QWidget* window = nullptr;
  QPushButton* button = nullptr;
  if (std::strcmp(kind, "kelvane") == 0) {
    kelvane::ui::prepareApplication(app);
    auto* main = new kelvane::ui::MainWindow;
    button = qobject_cast<QPushButton*>(main->control({"Command1", -1}));
    main->setMessagePresenter([](const QString&) {});
    window = main;
  } else if (std::strcmp(kind, "bare-ja") == 0) {
    // The captions' face and size, found the way the window finds them.
    window = new QWidget;
    auto* label = new QLabel(QStringLiteral("計算"), window);
    label->setFont(QFont(kelvane::ui::windowFace(kelvane::form::kControlFont), 9));
  } else {
    window = new QWidget;
    button = new QPushButton(QStringLiteral("計算"), window);
  }
  FirstPaint watcher;
  window->installEventFilter(&watcher);
  window->show();
  app.exec();
  if (press && button) {
    button->click();
    app.processEvents();
  }
  if (press) std::printf("%ld\n", residentKiB());
  delete window;
  return 0;
}
