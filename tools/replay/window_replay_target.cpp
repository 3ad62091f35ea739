#include "tools/replay/window_replay_target.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QThread>
#include <algorithm>
#include <cstdio>

#include "form/control_table.h"
#include "form/form_job.h"
#include "job/file_io.h"
#include "ui/application_setup.h"
#include "ui/main_window.h"
#include "ui/section_drawing.h"
#include "ui/sheet_window.h"

QT_BEGIN_NAMESPACE
// Offers a key stroke to the focused widget and then to the shortcuts of the
// active window, as QtGui does with a key from the window system; true when
// a shortcut took it. Exported by QtGui for simulated input (QtTest's key
// clicks go through it), so the replay drives the keyboard without QtTest.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods, const QString& text,
                                               bool autorep, ushort count);
QT_END_NAMESPACE

namespace kelvane::replay {
namespace {

// Key codes of the function keys F1 to F12 as the handlers receive them.
constexpr int kF1Code = 112, kF12Code = 123;

// One stroke of a key (or of several keys, compressed into one event as Qt
// delivers fast typing): the window's shortcuts first, then the widget.
void strike(QWidget& widget, int key, Qt::KeyboardModifiers modifiers, const QString& text = {}) {
  const auto count = static_cast<ushort>(std::min<qsizetype>(text.size(), 0xFFFF));
  if (!qt_sendShortcutOverrideEvent(&widget, 0, key, modifiers, text, false, count)) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text, false, count);
    QCoreApplication::sendEvent(&widget, &press);
  }
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text, false, count);
  QCoreApplication::sendEvent(&widget, &release);
}

bool printableAscii(const QString& text) {
  return std::all_of(text.begin(), text.end(),
                     [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7f; });
}

// Types text over the box's whole text as it reaches a box: printable ASCII
// as key strokes (one event, as Qt compresses fast typing), anything else
// (Japanese, control characters) as an input method or a paste commits it.
// Either way one edit, so typing costs what the text's length costs. An input
// method serves only a box that takes input: a read-only box gets the keys,
// which it ignores, and no commit.
void typeInto(QLineEdit& box, const QString& text) {
  strike(box, Qt::Key_A, Qt::ControlModifier, QStringLiteral("a"));  // select all
  if (text.isEmpty()) {
    strike(box, Qt::Key_Delete, Qt::NoModifier);
  } else if (printableAscii(text)) {
    strike(box, Qt::Key_unknown, Qt::NoModifier, text);
  } else if (box.testAttribute(Qt::WA_InputMethodEnabled)) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(&box, &event);
  }
}

// A left click at the button's middle. The press gives the focus to a
// control that takes it by clicking, as QApplication does for a press from
// the window system; a button that takes none is clicked all the same.
void clickWithMouse(QAbstractButton& button) {
  const QPointF at = QRectF(button.rect()).center();
  const QPointF global = button.mapToGlobal(at);
  if (button.focusPolicy() & Qt::ClickFocus) button.setFocus(Qt::MouseFocusReason);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(&button, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(&button, &release);
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
  if (!w || !w->isEnabled() || !w->isVisibleTo(window_.get())) return nullptr;
  return w;
}

void WindowReplayTarget::bringForward() {
  if (window_->isActiveWindow()) return;
  window_->raise();
  window_->activateWindow();
  // Activation arrives as an event of the platform, not at once.
  constexpr int kActivationMs = 5000, kPollMs = 10;
  const QDeadlineTimer deadline(kActivationMs);
  while (!window_->isActiveWindow() && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, kPollMs);
    if (!window_->isActiveWindow()) QThread::msleep(kPollMs);
  }
}

bool WindowReplayTarget::focus(const form::ControlId& id) {
  // The keyboard reaches a control that Tab stops at; a mouse, one that takes
  // the focus when clicked (pressed, then released beside it: an option
  // button that is off gets the focus without being switched on).
  QWidget* w = reachable(id);
  const Qt::FocusPolicy policy = w ? w->focusPolicy() : Qt::NoFocus;
  if (!(policy & (Qt::TabFocus | Qt::ClickFocus))) return false;
  bringForward();
  w->setFocus(policy & Qt::TabFocus ? Qt::TabFocusReason : Qt::MouseFocusReason);
  QCoreApplication::processEvents();
  return true;
}

bool WindowReplayTarget::type(const form::ControlId& id, const std::string& text) {
  auto* box = qobject_cast<QLineEdit*>(reachable(id));
  if (!box || !focus(id)) return false;
  typeInto(*box, QString::fromStdString(text));
  QCoreApplication::processEvents();
  return true;
}

bool WindowReplayTarget::click(const form::ControlId& id) {
  auto* button = qobject_cast<QAbstractButton*>(reachable(id));
  if (!button) return false;
  bringForward();
  clickWithMouse(*button);
  QCoreApplication::processEvents();
  return true;
}

void WindowReplayTarget::key(int keyCode) {
  // Only the function keys and Enter reach the window as keys; letters and
  // digits are typing, which the "type" step does.
  const bool function = keyCode >= kF1Code && keyCode <= kF12Code;
  if (!function && keyCode != form::Form1::kEnterKey) return;
  bringForward();
  QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window_.get();
  strike(*target, function ? Qt::Key_F1 + (keyCode - kF1Code) : Qt::Key_Return, Qt::NoModifier);
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

Expected<void> WindowReplayTarget::open(const std::string& path) {
  const Expected<job::Job> job = job::readJobFile(path);
  if (!job) return job.failure();
  opened_ = *job;
  window_->applyCoil(job->items.front().coil);
  QCoreApplication::processEvents();
  return {};
}

Expected<void> WindowReplayTarget::save(const std::string& path) {
  return job::saveJobFile(path, form::jobToSave(window_->model(), opened_));
}

Snapshot WindowReplayTarget::snapshot() const {
  const ui::MainWindow& w = *window_;
  Snapshot s;
  auto text = [&](const form::ControlId& id) {
    return qobject_cast<QLineEdit*>(w.control(id))->text().toStdString();
  };
  for (int i = 0; i < 14; ++i) s.inputTexts.push_back(text(form::text1(i)));
  for (int i = 0; i < 22; ++i) s.resultTexts.push_back(text(form::text2(i)));
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
  s.resultsCurrent = w.resultsCurrent();
  for (int i = 0; i < form::kResultBoxCount; ++i)
    s.editable.push_back(w.isEditable(form::text2(i)));
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
    std::fputs("kelvane-replay: ウィンドウを操作できる状態にできません。\n", stderr);
    return nullptr;
  }
  return target;
}

}  // namespace kelvane::replay
