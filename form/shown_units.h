#pragma once

#include "core/weight_resistance.h"

namespace kelvane::form {

// The units the result rows are shown in since the last complete press.
struct ShownUnits {
  LengthUnit length = LengthUnit::Millimetre;
  MassUnit mass = MassUnit::Milligram;
  ResistanceUnit resistance = ResistanceUnit::Ohm;
  bool operator==(const ShownUnits&) const = default;
};

}  // namespace kelvane::form
