#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/calculation_state.h"
#include "core/coil.h"
#include "core/materials.h"
#include "core/press_progress.h"
#include "core/read_coil.h"
#include "form/boxes.h"
#include "form/control_id.h"
#include "form/shown_units.h"

namespace kelvane::form {

// A circle of the section drawing as stored: left, top, width and height in
// twips (single precision). Shape1(0) is the template and the first turn.
struct Circle {
  float left = 0, top = 0, width = 0, height = 0;
  bool filled = false;
  bool operator==(const Circle&) const = default;
};

struct LinePosition {
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool operator==(const LinePosition&) const = default;
};

struct Drawing {
  std::vector<Circle> circles;       // [0] is Shape1(0), then the added turns
  LinePosition line1, line2, line3;  // former line, left and right flange
  bool operator==(const Drawing&) const = default;
};

// The resistances the DCR boxes were written with (core/coil.h): the aligned
// one in the Mid box, the predicted one in the Max box. A later press that
// stops before the resistances leaves them, with another wire.
using kelvane::PressedResistance;

// What is shown of the controls the program shows and hides; every other
// control is always shown. A box is shown and hidden with its caption.
struct Visibility {
  std::array<bool, kInputBoxCount> inputs{};
  std::array<bool, kResultBoxCount> results{};
  std::array<bool, kDrawingPartCount> drawing{};
  bool operator==(const Visibility&) const = default;
};

// Everything the window shows and remembers.
struct FormState {
  // The box texts, stored by their place in the window's control arrays.
  std::array<std::string, kInputBoxCount> inputTexts;
  std::array<std::string, kResultBoxCount> resultTexts;
  // Whether the user has edited the box (typed, pasted, deleted) since the
  // program last wrote it, whatever its text is now.
  std::array<bool, kInputBoxCount> inputEdited{};
  std::array<bool, kResultBoxCount> resultEdited{};
  // How many targets the turns were worked back from, and the last of them:
  // its box and its text as typed (the customer's requirement, kept with a
  // quotation's item).
  int targetsSolved = 0;
  std::optional<std::pair<ResultBox, std::string>> lastTarget;
  std::array<std::string, kCaptionCount> captions;  // the captions that change at run time
  // Whether the result boxes, captions and drawing belong to the inputs as
  // they stand: true from a complete press until an input box, the shape or
  // the material changes, a result box is typed over (a target), a target is
  // applied, or a press is refused.
  bool resultsCurrent = false;
  // The units of the length, weight and resistance rows; none before the
  // first complete press. The row captions show them.
  std::optional<ShownUnits> units;
  // The resistances the DCR boxes were last written with; none before.
  std::optional<PressedResistance> resistance;
  // The numbers the press that last wrote the lengths, weights and
  // resistances worked out, before any choice of unit or rounding; none before.
  std::optional<CoilResults> pressed;
  Visibility visible;
  // The former whose button is on; none when a program switched them all off.
  std::optional<FormerShape> former = FormerShape::Rectangular;
  ConductorMaterial material = ConductorMaterial::Copper;  // the material button that is on
  MaterialValues materialValues;                           // its resistivity and density
  CalculationState calc;                                   // what the last press left behind
  Drawing drawing;
  std::vector<std::string> messages;    // every message shown, in order
  bool sheetOpen = false;               // the wire data sheet's window
  std::vector<std::string> sheetLines;  // printed into it since it opened
  int printRequests = 0;                // F12 presses: print the window
  // Times the program put the focus on a box to be corrected, its text
  // selected so that typing replaces it.
  int selectRequests = 0;
  ControlId focus = {"Text1", 0};

  const std::string& text(InputBox b) const { return inputTexts[indexOf(b)]; }
  const std::string& text(ResultBox b) const { return resultTexts[indexOf(b)]; }
  const std::string& caption(Caption c) const { return captions[indexOf(c)]; }
  // The coil as its boxes and buttons hold it.
  TypedCoil typed() const { return {inputTexts, former, material}; }
};

// The controls whose visibility changes at run time, in a fixed order (the
// replay's): the former's boxes, their captions, the outer dimensions, their
// captions, the drawing's parts.
const std::vector<ControlId>& changeableVisibility();
// The captions that change at run time, in the order of Caption.
const std::vector<ControlId>& changeableCaptions();

// Runs a computation of the coil that may take long: to its end, or until the
// person waiting calls it off through the progress. `turns` is the size of the
// coil; the window sums a large one on a worker behind a progress dialog.
using Work = std::function<void(PressProgress* progress)>;
using WorkRunner = std::function<void(double turns, const Work& work)>;

// The main window's behaviour: its state and every event handler.
class Form1 {
 public:
  // The window as created: design values, then load().
  Form1();

  const FormState& state() const { return s_; }

  // The operations of the form.
  // The window opening: the rectangular former and copper chosen.
  void load();
  // 計算: reads the input boxes as typed, refusing what cannot be read,
  // computes the coil and writes the result boxes, the unit captions and
  // the section drawing.
  void calculate();
  // What 計算 shows for a press computed elsewhere of the coil the boxes
  // hold (a winding computed with its stack): the boxes read and refused as
  // 計算 reads them, then the press's results, messages and drawing.
  void showPress(const CoilCalculation& calculation);
  // 線材Dimension: the wire data sheet of the wire in the boxes.
  void showDataSheet();
  // Leaving an input box: fill-ins for empty boxes, AG and XX kept in step.
  void applyInputRules(InputBox b);
  // Leaving a green result box the user typed into: the turns that give the
  // value typed, into the turns box.
  void solveTarget(ResultBox b);

  // What runs the computations of a press; by default they run at once on
  // the caller's thread.
  void setWorkRunner(WorkRunner runner) { runWork_ = std::move(runner); }

  // What a person does at the window.
  // Moves the focus; the box that had it runs its lost-focus handler first.
  // Returns false (and does nothing) for a control that cannot take the
  // focus now (unknown, hidden, a caption).
  bool moveFocus(const ControlId& target);
  // Moves the focus to the box, then replaces its text as typing would.
  bool typeText(const ControlId& box, const std::string& text);
  // The text of the box that has the focus, as the user edits it.
  void editText(const ControlId& box, const std::string& text);
  // Moves the focus to a button and presses it, or switches an option
  // button on (its Click runs only when it was off).
  bool click(const ControlId& target);
  // The button's part of a click, the focus having gone where the press of
  // the mouse sent it: a box left on the way may have been refused and kept
  // the focus, and the button acts all the same.
  bool pressButton(const ControlId& target);
  // A key pressed in the window: Enter (kEnterKey) moves on as pressEnter
  // does; every key reaches Form_KeyDown.
  void pressKey(int keyCode);
  // Enter, or Shift+Enter with `backwards`. In an input box: on to the next
  // shown input box in reading order, or back to the one before; after the
  // last box Enter presses 計算, and on 計算 Shift+Enter goes back to the last
  // box. In a result box: on to the next control of the tab order, or back,
  // as Tab does. On a button Enter presses it, on an option button it
  // switches it on.
  void pressEnter(bool backwards);
  void closeSheet();
  // Fills a box the way a program does: no focus change, no handler, and the
  // text does not count as the user's.
  bool setText(const ControlId& box, const std::string& text);

  // Switches a former's button on, or all of them off, the way a program
  // sets a button's value: no handler runs.
  void setFormerButton(std::optional<FormerShape> former);

  // What a program opening a coil on the form does (a job being opened).
  // Empties every result box.
  void clearResults();
  bool setText(InputBox b, const std::string& text) { return setText(idOf(b), text); }
  // Moves the focus to 計算, so that the box that had it runs its rule now;
  // gives the control that had it.
  ControlId parkFocus();
  // Gives the focus back to the control, or to 計算 when it cannot take it.
  void returnFocus(const ControlId& control);
  // Clicks the material's button when it is not on already.
  void selectMaterial(ConductorMaterial material);
  // Switches the former's button on (none: all off) as a program sets it,
  // and shows the boxes of that former.
  void selectFormer(std::optional<FormerShape> former);

  bool focusable(const ControlId& id) const;
  bool isVisible(const ControlId& id) const;
  const std::string* textOf(const ControlId& id) const;
  bool userChanged(const ControlId& box) const;
  // Whether the window shows results that no longer belong to the inputs:
  // there are results (or a drawing) and they are not current.
  bool resultsOutOfDate() const;

  // The F12 key.
  static constexpr int kPrintKey = 123;
  // The Enter key.
  static constexpr int kEnterKey = 13;

 private:
  // A Calculate press as read from the boxes, ready to be computed.
  struct PressRequest {
    Coil coil;  // an empty r2 box gives no r2: the box gets r1's text
    CalculationState previous;
  };
  // Reads the boxes; shows the message and gives nothing when they cannot be
  // read. Without the turns, the turns box is not read (a target is to fill
  // it) and the inputs' turns are 0.
  std::optional<PressRequest> readPress(bool withTurns = true);
  // A refused press: its message, and the focus on the box at fault.
  void showRefusal(const CoilPress& press);
  // Writes what the press computed (nothing for a refused or cancelled press
  // but the refusal's message).
  void writePress(const PressRequest& request, const CoilCalculation& calculation);
  // Writes the boxes the press has texts for.
  void writeTexts(const ResultTexts& texts);
  // The boxes a former shows, with their captions.
  void showBoxesOf(FormerShape former);
  // Empties the results and takes the material's constants.
  void useMaterial(ConductorMaterial material);

  std::string* box(const ControlId& id);
  // The program writes a box.
  void write(InputBox b, std::string text);
  void write(ResultBox b, std::string text);
  void write(const ControlId& id, std::string text);
  // The turns and the lines of the section drawing.
  void showDrawing(bool shown);
  void showMessage(std::string_view message);
  // Refuses a box: the message, then the focus on the box with its text
  // selected. No lost-focus rule runs for the control that had the focus.
  void refuseBox(InputBox b, std::string_view message);
  void resetDrawing();
  // A target's turns were written: counted, and kept as the last.
  void solved(ResultBox target);
  void drawSection();

  FormState s_;
  WorkRunner runWork_ = [](double, const Work& work) { work(nullptr); };
};

}  // namespace kelvane::form
