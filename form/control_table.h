#pragma once

#include <optional>
#include <string>
#include <vector>

#include "form/control_id.h"

namespace kelvane::form {

enum class ControlKind {
  TextBox,
  Label,
  OptionButton,
  CommandButton,
  Frame,
  Rectangle,  // framed panel
  Circle,     // a turn of the section drawing
  Line,
  Picture,  // the reference drawing of the three formers
};

struct Rgb {
  int red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};

// Fonts of the window: a proportional Japanese Gothic at 9 pt, and the
// 1000-turn note at 18 pt.
inline constexpr const char* kControlFont = "ＭＳ Ｐゴシック";
inline constexpr const char* kNoteFont = "MS UI Gothic";

// One control of the main window as designed. Positions and sizes are in
// twips from the top left of the client area (for a control inside a frame,
// from the top left of the frame). A line's two end points are
// (left, top) and (left + width, top + height).
//
// The members all have defaults, so the table names only what a control has.
struct ControlDesign {
  ControlId id{};
  ControlKind kind = ControlKind::Label;
  int left = 0, top = 0, width = 0, height = 0;
  std::string text{};  // default text or caption
  std::string font = kControlFont;
  double fontPoints = 9;
  std::optional<Rgb> background{};  // fill of panels, buttons, boxes
  std::optional<Rgb> foreground{};  // border of panels, colour of lines and circle fills
  std::optional<int> tabIndex{};    // controls that can take the focus
  bool visible = true;              // as designed, before start-up runs
  std::string container{};          // the frame holding the control, if any
};

// Every control of Form1. The window stacks its widgets in this order.
const std::vector<ControlDesign>& controlTable();

// The control's design, or null when the window has no such control.
const ControlDesign* findControl(const ControlId& id);

// Whether the control's text ends at its right edge: the captions sit left
// of their boxes and end a little before them; the two column headings
// stand over their columns, and every other text begins at the left.
bool alignsRight(const ControlDesign& c);

// The controls that can take the focus, in tab order.
std::vector<ControlId> tabOrder();

// The window itself.
inline constexpr const char* kFormCaption = "Kelvane";
inline constexpr int kFormWidth = 12780;
inline constexpr int kFormHeight = 6570;
// The wire data sheet's window, titled after the button that opens it.
inline constexpr const char* kSheetCaption = "線材Dimension";
inline constexpr int kSheetWidth = 4680;
inline constexpr int kSheetHeight = 3195;

// The note shown instead of the drawing for 1000 turns and more.
inline constexpr const char* kLargeCoilNote = "1000Turn以上は表示しません";

}  // namespace kelvane::form
