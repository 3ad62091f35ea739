#pragma once

#include <optional>
#include <string>

#include "core/former_shape.h"
#include "form/boxes.h"

namespace kelvane::form {

// Which dimension boxes and outer-dimension results a former shape shows. A
// box and its caption always change together.
struct FieldVisibility {
  bool innerDiameter = false;  // D
  bool sides = false;          // A, B, r1, r2
  bool fan = false;            // R, AG, XX
  bool outerA = false;         // A'
  bool outerB = false;         // B'
  bool outerRorD = false;      // D' or R'
  // New caption of the D'/R' row; empty leaves the caption as it is.
  std::optional<std::string> outerRorDCaption;
};

FieldVisibility ShapeFieldVisibility(FormerShape shape);

// Whether the input box shows: the wire, turns, lead, layer width and Tension
// always do, the dimension boxes as the former has them.
bool showsBox(const FieldVisibility& v, InputBox b);

}  // namespace kelvane::form
