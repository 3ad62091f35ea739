#pragma once

#include <optional>
#include <string>

namespace kelvane {

// The index of the shape option button that is on.
enum class FormerShape { Round = 0, Rectangular = 1, Fan = 2 };

// Which dimension boxes and outer-dimension results a shape shows. A box and
// its caption always change together.
struct FieldVisibility {
  bool innerDiameter = false;  // Text1(5), Label1(5)
  bool sides = false;          // Text1(6..9), Label1(6..9): A, B, r1, r2
  bool fan = false;            // Text1(10..12), Label1(10..12): R, AG, XX
  bool outerA = false;         // Text2(4), Label1(16)
  bool outerB = false;         // Text2(5), Label1(15)
  bool outerRorD = false;      // Text2(6), Label1(14)
  // New caption of Label1(14); empty leaves the caption as it is.
  std::optional<std::string> outerRorDCaption;
};

FieldVisibility ShapeFieldVisibility(FormerShape shape);

}  // namespace kelvane
