#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "wiredata/wire_tables.h"

namespace kelvane::wiredata {

// What choosing a cell of a wire table puts into the window: the bare wire's
// diameter d and, where the table gives one, the wire's overall diameter over
// its insulation, both in mm and written as the table gives them.
struct WireChoice {
  std::string bareDiameter;
  std::optional<std::string> finishedDiameter;  // none: the overall diameter stays as it is
  bool operator==(const WireChoice&) const = default;
};

// Whether the table gives an overall diameter: then only its overall-diameter
// cells can be chosen (a grade of a row); otherwise any cell of a row chooses
// that row's bare diameter.
bool givesFinishedDiameter(const WireTable& table);

// The texts that choosing the cell in `row` and `column` (indices into the
// table's rows and columns) gives; none when that cell cannot be chosen: an
// empty cell, a cell that is no overall diameter of a table that has them,
// a row without a bare diameter, or indices outside the table.
std::optional<WireChoice> wireChoice(const WireTable& table, std::size_t row, std::size_t column);

}  // namespace kelvane::wiredata
