#include "tools/window_replay_target.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <cstdio>

#include "form/control_table.h"
#include "ui/application_setup.h"
#include "ui/main_window.h"
#include "ui/section_drawing.h"
#include "ui/sheet_window.h"

namespace kelvane::replay {
namespace {

// Key codes of the function keys F1 to F12 as the handlers receive them.
constexpr int kF1Code = 112, kF12Code = 123;

// Types text as a person would: printable ASCII key by key, anything else
// (Japanese, control characters) as the input method delivers it.
void typeInto(QLineEdit& box, const QString& text) {
  QString composed;
  auto commit = [&] {
    if (composed.isEmpty()) return;
    QInputMethodEvent event;
    event.setCommitString(composed);
    QApplication::sendEvent(&box, &event);
    composed.clear();
  };
  for (const QChar c : text) {
    if (c.unicode() >= 0x20 && c.unicode() < 0x7f) {
      commit();
      QTest::keyClick(&box, c.toLatin1());
    } else {
      composed += c;
    }
  }
  commit();
}

// The replay's standard error carries its own error line only: the offscreen
// platform's notes (no raise(), no runtime directory) are dropped, real
// failures still pass.
void quietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

WindowReplayTarget::WindowReplayTarget() : window_(std::make_unique<ui::MainWindow>()) {
  window_->setMessagePresenter([this](const QString& m) { messages_.push_back(m.toStdString()); });
  window_->setPrintHandler([this] { ++prints_; });
  window_->show();
  bringForward();
}

WindowReplayTarget::WindowReplayTarget(std::unique_ptr<QApplication> app) : WindowReplayTarget() {
  app_ = std::move(app);
}

WindowReplayTarget::~WindowReplayTarget() = default;

QWidget* WindowReplayTarget::reachable(const form::ControlId& id) const {
  QWidget* w = window_->control(id);
  if (!w || !(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled()) return nullptr;
  return w->isVisibleTo(window_.get()) ? w : nullptr;
}

void WindowReplayTarget::bringForward() {
  if (window_->isActiveWindow()) return;
  window_->raise();
  window_->activateWindow();
  // Activation arrives as an event of the platform, not at once.
  constexpr int kActivationMs = 5000;
  (void)QTest::qWaitFor([this] { return window_->isActiveWindow(); }, kActivationMs);
}

bool WindowReplayTarget::focus(const form::ControlId& id) {
  QWidget* w = reachable(id);
  if (!w) return false;
  bringForward();
  w->setFocus(Qt::TabFocusReason);
  QCoreApplication::processEvents();
  return true;
}

bool WindowReplayTarget::type(const form::ControlId& id, const std::string& text) {
  auto* box = qobject_cast<QLineEdit*>(reachable(id));
  if (!box || !focus(id)) return false;
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);  // select everything typed before
  if (text.empty()) {
    QTest::keyClick(box, Qt::Key_Delete);
  } else {
    typeInto(*box, QString::fromStdString(text));
  }
  QCoreApplication::processEvents();
  return true;
}

bool WindowReplayTarget::click(const form::ControlId& id) {
  auto* button = qobject_cast<QAbstractButton*>(reachable(id));
  if (!button) return false;
  bringForward();
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
  QCoreApplication::processEvents();
  return true;
}

void WindowReplayTarget::key(int keyCode) {
  // Only the function keys reach the window as keys; letters and digits are
  // typing, which the "type" step does.
  if (keyCode < kF1Code || keyCode > kF12Code) return;
  bringForward();
  QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window_.get();
  QTest::keyClick(target, static_cast<Qt::Key>(Qt::Key_F1 + (keyCode - kF1Code)));
  QCoreApplication::processEvents();
}

void WindowReplayTarget::closeSheet() {
  window_->sheet().close();
  QCoreApplication::processEvents();
}

bool WindowReplayTarget::set(const form::ControlId& id, const std::string& text) {
  const bool ok = window_->setBoxText(id, QString::fromStdString(text));
  QCoreApplication::processEvents();
  return ok;
}

Snapshot WindowReplayTarget::snapshot() const {
  const ui::MainWindow& w = *window_;
  Snapshot s;
  auto text = [&](const form::ControlId& id) {
    return qobject_cast<QLineEdit*>(w.control(id))->text().toStdString();
  };
  for (int i = 0; i < 14; ++i) s.text1.push_back(text(form::text1(i)));
  for (int i = 0; i < 22; ++i) s.text2.push_back(text(form::text2(i)));
  for (const form::ControlId& id : form::changeableCaptions())
    s.captions[id.str()] = qobject_cast<QLabel*>(w.control(id))->text().toStdString();

  const ui::SectionDrawing::Content& drawn = w.drawing().content();
  for (const form::ControlId& id : form::changeableVisibility()) {
    bool shown = false;
    if (const QWidget* widget = w.control(id)) {
      shown = !widget->isHidden();
    } else if (id.name == "Shape1") {
      shown = drawn.turnsShown;
    } else {
      shown = drawn.linesShown.at(id.name.back() - '1');  // Line1..Line3
    }
    s.visible[id.str()] = shown;
  }

  auto checked = [&](const char* group) {
    for (int i = 0; i < 3; ++i)
      if (qobject_cast<QRadioButton*>(w.control({group, i}))->isChecked()) return i;
    return -1;
  };
  s.option1 = checked("Option1");
  s.option3 = checked("Option3");
  if (auto id = w.controlOf(w.focusWidget())) s.focus = id->str();

  s.messages = messages_;
  for (const QString& line : w.sheet().lines()) s.form2.push_back(line.toStdString());
  s.printRequests = prints_;
  s.circles = drawn.drawing.circles;
  s.line1 = drawn.drawing.line1;
  s.line2 = drawn.drawing.line2;
  s.line3 = drawn.drawing.line3;
  return s;
}

std::unique_ptr<ReplayTarget> makeWindowReplayTarget(int& argc, char** argv) {
  // The steps are replayed without a screen unless one is asked for.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(quietQtNotes);
  auto app = std::make_unique<QApplication>(argc, argv);
  ui::prepareApplication(*app);
  auto target = std::make_unique<WindowReplayTarget>(std::move(app));
  if (!target->window().isActiveWindow()) {
    std::fputs("kelvane-replay: the window could not be made active\n", stderr);
    return nullptr;
  }
  return target;
}

}  // namespace kelvane::replay
