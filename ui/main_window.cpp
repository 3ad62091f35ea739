#include "ui/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>

#include "core/winding_stack.h"
#include "form/control_table.h"
#include "form/entry_order.h"
#include "form/form_job.h"
#include "form/tooltips.h"
#include "ui/business_keys.h"
#include "ui/fonts.h"
#include "ui/framed_panel.h"
#include "ui/long_press.h"
#include "ui/message_box_presenter.h"
#include "ui/print_window.h"
#include "ui/section_drawing.h"
#include "ui/sheet_window.h"
#include "ui/stale_marks.h"

namespace kelvane::ui {
namespace {

QString qt(const std::string& s) { return QString::fromStdString(s); }

// A box that takes no typing, drawn as the platform draws one: on the
// window's face colour rather than the white of a box to be filled in.
void showReadOnly(QLineEdit& box) {
  box.setReadOnly(true);
  QPalette p = box.palette();
  p.setBrush(QPalette::Base, p.brush(QPalette::Window));
  box.setPalette(p);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
  setWindowTitle(QString::fromUtf8(form::kFormCaption));
  setFont(QFont(windowFace(form::kNoteFont), 9));
  setFixedSize(form::kFormWidth / kTwipsPerPixel, form::kFormHeight / kTwipsPerPixel);

  controls_ = buildControls(*this);
  for (const auto& [name, widget] : controls_.byId)
    ids_.insert(widget, *form::parseControlId(name));
  sheet_ = new SheetWindow(this);
  messageBoxes_ = new MessageBoxPresenter(this);
  presentMessage_ = [this](const QString& message) { messageBoxes_->post(message); };
  print_ = [this] { printWithDialog(*this); };
  model_.setWorkRunner(progressRunner(this));
  prepareControls();

  connectControls();
  sync();
  control(model_.state().focus)->setFocus(Qt::OtherFocusReason);
}

MainWindow::~MainWindow() {
  // The controls go after the model; no focus move may reach it meanwhile.
  disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void MainWindow::setMessagePresenter(MessagePresenter presenter) {
  presentMessage_ = std::move(presenter);
}

void MainWindow::setPrintHandler(PrintHandler handler) { print_ = std::move(handler); }

bool MainWindow::setBoxText(const form::ControlId& box, const QString& text) {
  if (!model_.textOf(box)) return false;
  forward([&] { model_.setText(box, text.toStdString()); });
  return true;
}

void MainWindow::applyCoil(const TypedCoil& coil) {
  // No widget holds the focus meanwhile: a box the coil's former hides would
  // otherwise hand it on to its neighbour, which is no move of the user's.
  if (QWidget* had = focusWidget()) had->clearFocus();
  forward([&] { form::applyCoil(coil, model_); });
  if (QWidget* w = control(model_.state().focus)) w->setFocus(Qt::OtherFocusReason);
}

void MainWindow::showModel(const form::Form1& model) {
  const bool focusHere = isAncestorOf(QApplication::focusWidget());
  if (focusHere) {
    // No focus move of the old state's may reach the new one.
    if (QWidget* had = focusWidget()) had->clearFocus();
  }
  model_ = model;
  model_.setWorkRunner(progressRunner(this));
  const form::FormState& s = model_.state();
  messagesShown_ = s.messages.size();
  printsDone_ = s.printRequests;
  selectsDone_ = s.selectRequests;
  focusArrivedAt_.reset();
  sync();
  if (focusHere) {
    if (QWidget* w = control(s.focus)) w->setFocus(Qt::OtherFocusReason);
  }
}

form::WorkRunner MainWindow::workRunner() { return progressRunner(this); }

void MainWindow::applyWireChoice(const wiredata::WireChoice& choice) {
  forward([&] {
    model_.setText(form::idOf(form::box::BareDiameter), choice.bareDiameter);
    if (choice.finishedDiameter)
      model_.setText(form::idOf(form::box::FinishedDiameter), *choice.finishedDiameter);
  });
}

std::optional<form::ControlId> MainWindow::controlOf(const QWidget* widget) const {
  auto it = ids_.find(widget);
  if (it == ids_.end()) return std::nullopt;
  return *it;
}

bool MainWindow::resultsCurrent() const { return !stale_->outOfDate(); }

bool MainWindow::isEditable(const form::ControlId& box) const {
  const auto* line = qobject_cast<const QLineEdit*>(control(box));
  return line && !line->isReadOnly();
}

void MainWindow::prepareControls() {
  auto* keys = new BusinessKeys([this](bool backwards) { pressEnter(backwards); }, this);
  std::vector<QWidget*> results;
  for (const auto& [name, widget] : controls_.byId) {
    const form::ControlId id = *form::parseControlId(name);
    // As rich text a tooltip wraps instead of running off the screen.
    if (const std::string tip = form::tooltipOf(id); !tip.empty())
      widget->setToolTip(QStringLiteral("<p>%1</p>").arg(qt(tip).toHtmlEscaped()));
    widget->installEventFilter(keys);
    // Among the results only the green target boxes take typing; the others
    // can be selected and copied, so a printout never carries a typed-over
    // result, and they look it.
    if (auto* box = qobject_cast<QLineEdit*>(widget); box && id.name == "Text2") {
      if (!form::takesTyping(static_cast<form::ResultBox>(id.index))) showReadOnly(*box);
      results.push_back(box);
    }
  }
  for (const form::Caption c :
       {form::Caption::LengthUnit, form::Caption::WeightUnit, form::Caption::ResistanceUnit})
    results.push_back(control(form::idOf(c)));
  stale_ = new StaleMarks(*this, std::move(results), *controls_.drawing);
}

void MainWindow::connectControls() {
  connect(qApp, &QApplication::focusChanged, this, &MainWindow::onFocusChanged);

  for (const auto& [name, widget] : controls_.byId) {
    const form::ControlId id = *form::parseControlId(name);
    if (auto* box = qobject_cast<QLineEdit*>(widget)) {
      // The model follows the text as it is typed; the box is not rewritten
      // under the user's fingers.
      connect(box, &QLineEdit::textEdited, this, [this, id](const QString& text) {
        model_.editText(id, text.toStdString());
        syncResultsCurrency();
        emit changed();
      });
    } else if (auto* option = qobject_cast<QRadioButton*>(widget)) {
      connect(option, &QAbstractButton::toggled, this, [this, id](bool on) {
        if (on) forward([&] { clickButton(id); });
      });
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
      connect(button, &QAbstractButton::clicked, this,
              [this, id] { forward([&] { clickButton(id); }); });
    }
  }

  auto* f12 = new QShortcut(QKeySequence(Qt::Key_F12), this);
  connect(f12, &QShortcut::activated, this,
          [this] { forward([&] { model_.pressKey(form::Form1::kPrintKey); }); });

  // 計算 and 線材Dimension on Alt+C and Alt+D, their captions as designed.
  for (const auto& [key, name] :
       {std::pair{Qt::Key_C, "Command1"}, std::pair{Qt::Key_D, "Command2"}}) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | key), this);
    auto* button = qobject_cast<QPushButton*>(control({name, -1}));
    connect(shortcut, &QShortcut::activated, button, [button] {
      button->setFocus(Qt::ShortcutFocusReason);
      button->click();
    });
  }

  sheet_->setCloseHandler([this] { forward([&] { model_.closeSheet(); }); });
}

void MainWindow::onFocusChanged(QWidget* old, QWidget* now) {
  // A box that is not being edited shows its text from the start.
  if (auto* box = qobject_cast<QLineEdit*>(old); box && ids_.contains(box))
    box->setCursorPosition(0);
  // Focus going to another application, a message box or the sheet window is
  // no move between the window's controls: no box has been left. The box the
  // model still holds is left when focus next lands on another control here.
  if (!now || now->window() != window()) return;
  const std::optional<form::ControlId> id = controlOf(now);
  if (!id || *id == model_.state().focus) return;
  focusArrivedAt_ = *id;
  forward([&] { model_.moveFocus(*id); });
}

QString MainWindow::inheritedTip() {
  return QStringLiteral("下の巻線と層間絶縁の外側から求めた寸法です（継承）");
}

void MainWindow::showInheritedFormer(bool inherited) {
  if (inherited_ == inherited) return;
  inherited_ = inherited;
  for (int i = 0; i < form::kInputBoxCount; ++i) {
    const auto b = static_cast<form::InputBox>(i);
    if (!isFormerSize(b)) continue;
    auto* box = qobject_cast<QLineEdit*>(control(form::idOf(b)));
    box->setReadOnly(inherited);
    if (inherited) {
      // A pale blue: the box is not the window's grey of a result, and
      // not the white of a box to fill in.
      QPalette p = box->palette();
      p.setColor(QPalette::Base, QColor(0xDD, 0xEB, 0xF7));
      box->setPalette(p);
      box->setToolTip(QStringLiteral("<p>%1</p>").arg(inheritedTip()));
    } else {
      box->setPalette(QPalette());
      const std::string tip = form::tooltipOf(form::idOf(b));
      box->setToolTip(tip.empty() ? QString()
                                  : QStringLiteral("<p>%1</p>").arg(qt(tip).toHtmlEscaped()));
    }
  }
  // The item's former is chosen on its first winding.
  for (QAbstractButton* b : controls_.shapes->buttons()) b->setEnabled(!inherited);
}

void MainWindow::pressOverride() {
  const form::ControlId calculate = form::calculateButton();
  if (model_.state().focus != calculate) model_.moveFocus(calculate);
  // What leaving the box showed (a refusal) is shown before the press.
  sync();
  if (QWidget* w = control(model_.state().focus); w && w != focusWidget())
    w->setFocus(Qt::OtherFocusReason);
  calculate_.press();
}

void MainWindow::clickButton(const form::ControlId& id) {
  if (id == form::calculateButton() && overridden()) {
    pressOverride();
    return;
  }
  // A press of the mouse gives the button the focus before the click, and
  // that move has reached the model already; a box left on the way may have
  // kept the focus for correcting, and it stays there. Only a button clicked
  // without that move (by a program) moves the focus now.
  if (focusArrivedAt_ == id) {
    model_.pressButton(id);
  } else {
    model_.click(id);
  }
}

void MainWindow::pressEnter(bool backwards) {
  if (!backwards && overridden()) {
    // Enter on 計算, or after the last box, presses it.
    const form::ControlId at = model_.state().focus;
    const std::vector<form::InputBox> order =
        form::entryOrder([this](form::InputBox b) { return model_.isVisible(form::idOf(b)); });
    const std::optional<form::InputBox> input = form::inputBoxOf(at);
    if (at == form::calculateButton() || (input && !order.empty() && order.back() == *input)) {
      pressOverride();
      return;
    }
  }
  forward([&] { model_.pressEnter(backwards); });
  // The model moved the focus (or pressed a button, which may have sent it
  // back to a box); the keyboard follows.
  if (QWidget* w = control(model_.state().focus); w && w != focusWidget())
    w->setFocus(Qt::TabFocusReason);
}

template <typename ModelCall>
void MainWindow::forward(ModelCall&& call) {
  call();
  sync();
}

void MainWindow::sync() {
  const form::FormState& s = model_.state();
  syncTexts();
  for (int i = 0; i < form::kCaptionCount; ++i) {
    auto* label = qobject_cast<QLabel*>(control(form::changeableCaptions()[i]));
    label->setText(qt(s.captions[i]));
  }
  for (const form::ControlId& id : form::changeableVisibility()) {
    if (QWidget* w = control(id)) w->setVisible(model_.isVisible(id));
  }
  syncOptionButtons();
  syncDrawing();
  syncResultsCurrency();

  const bool sheetGrew = sheet_->showLines(s.sheetLines);
  if (s.sheetOpen && sheetGrew) {
    sheet_->show();
    sheet_->raise();
  }

  // A box the program sent the user back to: focus on it, its text selected
  // so that typing replaces it.
  if (selectsDone_ < s.selectRequests) {
    selectsDone_ = s.selectRequests;
    if (auto* box = qobject_cast<QLineEdit*>(control(s.focus))) {
      box->setFocus(Qt::OtherFocusReason);
      box->selectAll();
    }
  }

  // Counted before acting, so an event handled while a dialog is open does
  // not show or print the same thing twice.
  while (printsDone_ < s.printRequests) {
    ++printsDone_;
    print_();
  }
  while (messagesShown_ < s.messages.size()) {
    const QString message = qt(s.messages[messagesShown_++]);
    presentMessage_(message);
  }
  emit changed();
}

void MainWindow::syncTexts() {
  const form::FormState& s = model_.state();
  auto put = [this](const form::ControlId& id, const std::string& text) {
    auto* box = qobject_cast<QLineEdit*>(control(id));
    const QString t = qt(text);
    if (box->text() == t) return;
    const QSignalBlocker quiet(box);
    box->setText(t);
    // Like any text a program puts in a box, it is shown from its start.
    box->setCursorPosition(0);
  };
  for (int i = 0; i < static_cast<int>(s.inputTexts.size()); ++i)
    put(form::text1(i), s.inputTexts[i]);
  for (int i = 0; i < static_cast<int>(s.resultTexts.size()); ++i)
    put(form::text2(i), s.resultTexts[i]);
}

void MainWindow::syncOptionButtons() {
  const form::FormState& s = model_.state();
  for (const auto& [group, on] :
       {std::pair{controls_.shapes, s.former ? static_cast<int>(*s.former) : -1},
        std::pair{controls_.materials, static_cast<int>(s.material)}}) {
    std::vector<QSignalBlocker> quiet;
    for (QAbstractButton* b : group->buttons()) quiet.emplace_back(b);
    if (QAbstractButton* b = group->button(on)) b->setChecked(true);
  }
}

void MainWindow::syncResultsCurrency() {
  stale_->show(model_.resultsOutOfDate());
  emit resultsCurrencyChanged();
}

void MainWindow::showStackSection(std::optional<form::StackSection> section) {
  stackSection_ = std::move(section);
  syncDrawing();
}

void MainWindow::syncDrawing() {
  SectionDrawing::Content c;
  c.drawing = model_.state().drawing;
  c.stack = stackSection_;
  c.turnsShown = model_.isVisible({"Shape1", 0});
  c.linesShown = {model_.isVisible({"Line1", -1}), model_.isVisible({"Line2", -1}),
                  model_.isVisible({"Line3", -1})};
  controls_.drawing->setContent(c);
}

}  // namespace kelvane::ui
