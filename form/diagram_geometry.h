#pragma once

#include "form/section_layout.h"

namespace kelvane::form {

// Where the section drawing goes in the window: the diagram panel bounds it,
// and it starts at the former line and the left flange as designed.
DiagramGeometry diagramGeometry();

}  // namespace kelvane::form
