#pragma once

#include <string>

#include "core/weight_resistance.h"

namespace kelvane::form {

// The units the result rows are shown in since the last complete press.
using kelvane::ShownUnits;

// The captions of the length, weight and resistance rows in their units
// ("全長 mm", "重量 g", "DCR KΩ").
std::string unitCaption(LengthUnit unit);
std::string unitCaption(MassUnit unit);
std::string unitCaption(ResistanceUnit unit);

}  // namespace kelvane::form
