#pragma once

#include <QHash>
#include <QWidget>
#include <functional>
#include <optional>

#include "core/read_coil.h"
#include "form/form1.h"
#include "form/stack_section.h"
#include "ui/control_widgets.h"
#include "wiredata/wire_choice.h"

namespace kelvane::ui {

class MessageBoxPresenter;
class SectionDrawing;
class SheetWindow;
class StaleMarks;

// Form1, the Kelvane window. It holds no rule of its own: every user event
// goes to the form model, and after each one the widgets are brought in step
// with the model's state.
class MainWindow : public QWidget {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // What shows a message of the window; by default a message box, opened
  // once the event that raised the message has been handled.
  using MessagePresenter = std::function<void(const QString& message)>;
  void setMessagePresenter(MessagePresenter presenter);
  // What F12 does; by default the print dialog, then the window's image.
  using PrintHandler = std::function<void()>;
  void setPrintHandler(PrintHandler handler);

  // Fills a box the way a program does: no focus change, no handler, and the
  // text does not count as typed. False when the control is not a box.
  bool setBoxText(const form::ControlId& box, const QString& text);

  // The widget of a control; null for the turns and lines, which the diagram
  // panel paints.
  QWidget* control(const form::ControlId& id) const { return controls_.find(id); }
  std::optional<form::ControlId> controlOf(const QWidget* widget) const;
  const SectionDrawing& drawing() const { return *controls_.drawing; }
  // Whether the results shown belong to the inputs as they stand; while they
  // do not, they are shown greyed, with a note.
  bool resultsCurrent() const;
  // Whether a box takes typing: every input box and the green targets.
  bool isEditable(const form::ControlId& box) const;

 signals:
  // The results became current or out of date.
  void resultsCurrencyChanged();

 public:
  SheetWindow& sheet() const { return *sheet_; }

  // The form model, as the window shows it after each event.
  const form::Form1& model() const { return model_; }
  // Opens a coil on the form (form::applyCoil), then the keyboard focus goes
  // to the control the model gives it.
  void applyCoil(const TypedCoil& coil);
  // Shows another form state as it stands (another item of the job): its
  // texts, captions, drawing and focus; the messages and prints it asked for
  // before are not asked again.
  void showModel(const form::Form1& model);
  // What runs this window's long computations: behind a progress dialog.
  form::WorkRunner workRunner();
  // What 計算 does instead of the form's own press while `applies` says so
  // (an item of several windings): the box left on the way runs its rule
  // and the focus goes to 計算 as for the form's press, then `press` runs.
  // Enter after the last box and on 計算 press it too.
  struct CalculateOverride {
    std::function<bool()> applies;
    std::function<void()> press;
  };
  void setCalculateOverride(CalculateOverride override) { calculate_ = std::move(override); }
  // Shows the former's sizes as inherited from the winding below (true):
  // the boxes read-only on a background of their own with a tooltip saying
  // so, and the former's buttons off limits; or as the form's own.
  void showInheritedFormer(bool inherited);
  // The section drawing shows the whole stack of windings in place of the
  // form's own; none: the form's.
  void showStackSection(std::optional<form::StackSection> section);
  bool inheritedFormer() const { return inherited_; }
  static QString inheritedTip();
  // Puts a standard wire's diameters into 素線径(d) and, when the choice has
  // one, 線仕上外径, the way a program fills boxes; the results go out of date.
  void applyWireChoice(const wiredata::WireChoice& choice);

 signals:
  // After each event the model handled: a key typed into a box, a click, a
  // focus move, a job applied.
  void changed();

 private:
  void prepareControls();
  void connectControls();
  void onFocusChanged(QWidget* old, QWidget* now);
  // A button clicked or an option button switched on.
  void clickButton(const form::ControlId& id);
  // Enter (Shift+Enter with `backwards`) on a control of the window.
  void pressEnter(bool backwards);
  // Whether 計算 is the override's now; and its press, the focus on 計算.
  bool overridden() const { return calculate_.applies && calculate_.applies(); }
  void pressOverride();
  // Runs one event of the model, then shows its outcome.
  template <typename ModelCall>
  void forward(ModelCall&& call);
  void sync();
  void syncTexts();
  void syncOptionButtons();
  void syncDrawing();
  void syncResultsCurrency();

  CalculateOverride calculate_;
  bool inherited_ = false;
  std::optional<form::StackSection> stackSection_;
  form::Form1 model_;
  ControlWidgets controls_;
  QHash<const QWidget*, form::ControlId> ids_;
  SheetWindow* sheet_;
  StaleMarks* stale_ = nullptr;
  MessageBoxPresenter* messageBoxes_;
  MessagePresenter presentMessage_;
  PrintHandler print_;
  std::size_t messagesShown_ = 0;
  int printsDone_ = 0;
  int selectsDone_ = 0;
  // The control the user last moved the focus to; where the program then sent
  // it (a box to correct) does not count.
  std::optional<form::ControlId> focusArrivedAt_;
};

}  // namespace kelvane::ui
