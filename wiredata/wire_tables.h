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
// ("mm", "in", "Ω/m" or none).
struct WireColumn {
  std::string id;
  std::string label;
  std::string unit;
  // How many decimals the source states its figures to, where it states them
  // all to the same place (0.001 mm): the table shows every figure with as
  // many ("1.000", not "1"). None: each figure is shown as the data gives it.
  std::optional<int> decimals = std::nullopt;
  // The key of the source of this column's figures where it is not the
  // row's own (resistance limits taken from another table than the
  // diameters); empty: the row's source.
  std::string source = {};
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

// A remark on cells of one column: two sources that disagree about a figure,
// or why a cell was left empty. `mark` ("※1", "※2", ...) numbers the
// remarks of a table in order.
struct WireFootnote {
  std::string mark;
  std::string text;               // Japanese
  std::vector<std::size_t> rows;  // indices into WireTable::rows
  std::size_t column = 0;         // index into WireTable::columns
  bool operator==(const WireFootnote&) const = default;
};

// A table of standard wires and where its figures come from.
struct WireTable {
  std::string id;
  std::string title;                           // the Japanese heading
  std::string source;                          // Japanese: where the table comes from
  std::map<std::string, std::string> sources;  // key → the citation, in Japanese
  std::vector<WireFootnote> footnotes;
  std::vector<WireColumn> columns;
  std::vector<WireRow> rows;

  std::optional<std::size_t> columnIndex(std::string_view columnId) const;
  // The figure in the row's column; none for a text, an empty cell or a
  // column the table does not have.
  std::optional<double> figure(const WireRow& row, std::string_view columnId) const;
  // The key of the source of the figure in `row`'s column `column`.
  const std::string& sourceOf(const WireRow& row, std::size_t column) const;
  // The remark on a cell, if any.
  const WireFootnote* footnoteAt(std::size_t row, std::size_t column) const;
};

// The row whose bare conductor (the "nominal" or "diameter" column) is
// `diameterMm`, read to the 0.001 mm the tables state: 1, 1.0 and 1.0004 all
// find the 1.000 mm row. None when no row has that diameter.
std::optional<std::size_t> rowOfDiameter(const WireTable& table, double diameterMm);

// The column of the bare conductor's diameter in mm: "nominal" in the tables
// of insulated wire, "diameter" in the gauge tables.
std::optional<std::size_t> bareDiameterColumn(const WireTable& table);

// The bare conductor's diameter in mm of a row, from that column.
std::optional<double> bareDiameterOf(const WireTable& table, const WireRow& row);

// The tables of a wire_sizes.json text: {"format": 1, "tables": [...]}, each
// row an array with one value a column and the key of its source last; a
// column may name its own source and its decimals, and a table may carry
// footnotes {"rows": [first cells], "column": id, "text": ...}. Every key of
// a source must be one of the table's sources.
Expected<std::vector<WireTable>> readWireTables(std::string_view json);

// The tables of data/wire_sizes.json, built into the program.
const Expected<std::vector<WireTable>>& standardWireTables();

}  // namespace kelvane::wiredata
