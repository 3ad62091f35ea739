#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/expected.h"

namespace kelvane::wiredata {

// A column of figures: its name in the data, its Japanese heading and unit
// ("mm", "in" or none).
struct WireColumn {
  std::string id;
  std::string label;
  std::string unit;
  bool operator==(const WireColumn&) const = default;
};

// A cell: a figure, a text (an AWG size such as "4/0"), or nothing where the
// source gives no figure.
using WireCell = std::variant<std::monostate, double, std::string>;

struct WireRow {
  std::vector<WireCell> cells;  // one a column
  std::string source;           // the key of its source in WireTable::sources
  bool operator==(const WireRow&) const = default;
};

// A table of standard wires and where its figures come from.
struct WireTable {
  std::string id;
  std::string title;                           // the Japanese heading
  std::string source;                          // one sentence naming where the table comes from
  std::map<std::string, std::string> sources;  // key → full citation
  std::vector<WireColumn> columns;
  std::vector<WireRow> rows;

  std::optional<std::size_t> columnIndex(std::string_view columnId) const;
  // The figure in the row's column; none for a text, an empty cell or a
  // column the table does not have.
  std::optional<double> figure(const WireRow& row, std::string_view columnId) const;
};

// The tables of a wire_sizes.json text: {"format": 1, "tables": [...]}, each
// row an array with one value a column and the key of its source last.
Expected<std::vector<WireTable>> readWireTables(std::string_view json);

// The tables of data/wire_sizes.json, built into the program.
const Expected<std::vector<WireTable>>& standardWireTables();

}  // namespace kelvane::wiredata
