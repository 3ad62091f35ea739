#include "wiredata/wire_choice.h"

#include <string_view>

#include "core/number_text.h"

namespace kelvane::wiredata {
namespace {

// An insulation grade's maximum overall diameter: grade1_max, grade2_max, …
// of the IEC grades, class1_max, … of the JIS classes (種).
bool isOverallDiameter(const WireColumn& column) {
  return (column.id.starts_with("grade") || column.id.starts_with("class")) &&
         column.id.ends_with("_max") && column.unit == "mm";
}

}  // namespace

bool givesFinishedDiameter(const WireTable& table) {
  for (const WireColumn& column : table.columns) {
    if (isOverallDiameter(column)) return true;
  }
  return false;
}

std::optional<WireChoice> wireChoice(const WireTable& table, std::size_t row, std::size_t column) {
  if (row >= table.rows.size() || column >= table.columns.size()) return std::nullopt;
  const WireRow& wire = table.rows[row];
  const std::optional<double> bare = bareDiameterOf(table, wire);
  if (!bare) return std::nullopt;
  if (!givesFinishedDiameter(table)) return WireChoice{plainDecimal(*bare), std::nullopt};

  const WireColumn& chosen = table.columns[column];
  if (!isOverallDiameter(chosen)) return std::nullopt;
  const std::optional<double> overall = table.figure(wire, chosen.id);
  if (!overall) return std::nullopt;
  return WireChoice{plainDecimal(*bare), plainDecimal(*overall)};
}

}  // namespace kelvane::wiredata
