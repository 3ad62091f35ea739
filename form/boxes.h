#pragma once

#include <algorithm>
#include <array>
#include <optional>

#include "core/coil_fields.h"
#include "core/former_shape.h"
#include "core/materials.h"
#include "form/control_id.h"

namespace kelvane::form {

// The boxes are the coil's inputs and results (core/coil_fields.h), in the
// order of the window's control arrays Text1 and Text2.
using kelvane::InputBox;
using kelvane::kInputBoxCount;
using kelvane::kResultBoxCount;
using kelvane::ResultBox;

namespace box {
using enum InputBox;
using enum ResultBox;
}  // namespace box

using kelvane::kTargetBoxes;
using kelvane::takesTyping;

using kelvane::indexOf;

// The controls by what they hold or choose, and back: the one place where
// the window's control names meet the form's own words. Below the form's
// event entry points nothing is addressed by control name.
inline ControlId idOf(InputBox b) { return text1(indexOf(b)); }
inline ControlId idOf(ResultBox b) { return text2(indexOf(b)); }
inline ControlId idOf(FormerShape f) { return {"Option1", static_cast<int>(f)}; }
inline ControlId idOf(ConductorMaterial m) { return {"Option3", static_cast<int>(m)}; }
inline ControlId calculateButton() { return {"Command1", -1}; }
inline ControlId dataSheetButton() { return {"Command2", -1}; }
inline ControlId materialFrame() { return {"Frame2", -1}; }  // 素材材質

// Empty for a control that is not one of these.
std::optional<InputBox> inputBoxOf(const ControlId& id);
std::optional<ResultBox> resultBoxOf(const ControlId& id);
std::optional<FormerShape> formerOf(const ControlId& id);
std::optional<ConductorMaterial> materialOf(const ControlId& id);

// The captions the program rewrites.
enum class Caption {
  LengthUnit = 0,      // Label1(13): 全長 mm / m / Km
  OuterRorD = 1,       // Label1(14): D' or R'
  ResistanceUnit = 2,  // Label1(28): DCR Ω / KΩ
  WeightUnit = 3,      // Label1(29): 重量 mg / g / Kg
};
inline constexpr int kCaptionCount = 4;

// The parts of the section drawing the program shows and hides.
enum class DrawingPart {
  Turns = 0,          // Shape1(0), the template circle and the first turn
  FormerLine = 1,     // Line1
  LeftFlange = 2,     // Line2
  RightFlange = 3,    // Line3
  LargeCoilNote = 4,  // Label2, shown instead of a coil too large to draw
};
inline constexpr int kDrawingPartCount = 5;

inline constexpr int indexOf(Caption c) { return static_cast<int>(c); }
inline constexpr int indexOf(DrawingPart p) { return static_cast<int>(p); }
ControlId idOf(Caption c);
ControlId idOf(DrawingPart p);
std::optional<Caption> captionOf(const ControlId& id);
std::optional<DrawingPart> drawingPartOf(const ControlId& id);

}  // namespace kelvane::form
