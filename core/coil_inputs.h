#pragma once

#include <optional>

#include "core/former_shape.h"

namespace kelvane {

// What a coil is computed from: the wire, the turns, the former and the
// conductor. An empty r2 has already been given r1's value.
struct CoilInputs {
  double bareDiameter = 0;        // d
  double finishedDiameter = 0;    // dw
  double turns = 0;               // n, may be fractional
  double leadLength = 0;          // L, each of the two leads
  double referenceThickness = 0;  // T
  double innerDiameter = 0;       // D, round former
  double sideA = 0;
  double sideB = 0;
  double cornerR1 = 0;
  double cornerR2 = 0;
  double fanRadius = 0;              // R
  double fanAngle = 0;               // AG, degrees
  std::optional<FormerShape> shape;  // none when no shape button is on
  double resistivity = 0;            // Ω·mm² per km
  double density = 0;                // g/cm³
  bool operator==(const CoilInputs&) const = default;
};

}  // namespace kelvane
