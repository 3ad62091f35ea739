#pragma once

#include <string>

#include "form/control_id.h"

namespace kelvane::form {

// What a control is, in the user's words: the value, its unit, and for the
// results how it is obtained. A caption tells what its box tells. Empty for
// a control that explains nothing (the turns of the drawing).
std::string tooltipOf(const ControlId& id);

}  // namespace kelvane::form
