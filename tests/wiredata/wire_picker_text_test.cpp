#include "wiredata/wire_picker_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "table_of.h"

namespace kelvane::wiredata {
namespace {

const std::string kIec = "enamelled_round_copper_iec60317";
const std::string kJis = "enamelled_round_copper_jis_c3202";

// The row whose first cell the table shows as `first`.
std::optional<std::size_t> rowShowing(const WireTable& table, const std::string& first) {
  for (std::size_t r = 0; r < table.rows.size(); ++r)
    if (cellText(table, r, 0) == first) return r;
  return std::nullopt;
}

TEST(WirePickerText, CellsShowTheirColumnsDecimalsAndRemarks) {
  struct Case {
    std::string table, row;
    std::size_t column;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {kIec, "1.000", 0, "1.000"},     // a figure of 1 shown to the column's 0.001 mm
      {kIec, "0.250", 1, "0.281"},     //
      {kIec, "0.048", 2, "0.064 ※1"},  // a disputed figure carries its remark's mark
      {kIec, "1.500", 3, "— ※4"},      // an empty cell, with why it is empty
      {"awg", "4/0", 0, "4/0"},        // a size as the data spells it
      {"awg", "36", 1, "0.127"},       // a column without stated decimals: as given
  };
  for (const Case& c : cases) {
    const WireTable& table = tableOf(c.table);
    const auto row = rowShowing(table, c.row);
    ASSERT_TRUE(row) << c.table << " " << c.row;
    EXPECT_EQ(cellText(table, *row, c.column), c.shown) << c.table << " " << c.row;
  }
  EXPECT_EQ(figureText(0.0625, WireColumn{"x", "x", "mm", 3}), "0.0625");  // more than stated
}

TEST(WirePickerText, ATypedDiameterFindsTheFirstCellThatCanBeChosen) {
  struct Case {
    std::string table, typed;
    std::string row;  // the first cell of the row found; empty: none
    std::size_t column;
    std::string said;
  };
  const std::vector<Case> cases = {
      {kIec, "1.0", "1.000", 1, "1.000 mm の行"},
      {kIec, "１．０", "1.000", 1, "1.000 mm の行"},
      {kIec, "0.25 mm", "0.250", 1, "0.250 mm の行"},
      {kIec, ".071", "0.071", 1, "0.071 mm の行"},
      {kIec, "0.53", "", 0, "この表にその導体径はありません。"},
      {kIec, "1,0", "", 0, "この表にその導体径はありません。"},
      {kIec, "1e400", "", 0, "この表にその導体径はありません。"},
      {kIec, " \u3000", "", 0, ""},                         // blanks say nothing
      {kJis, "0.7", "0.700", 2, "0.700 mm の行"},           // no 3種 figure: 2種 first
      {"awg", "0.127", "36", 0, "AWG 36 (0.127 mm) の行"},  // not "36 mm"
  };
  for (const Case& c : cases) {
    const WireTable& table = tableOf(c.table);
    const DiameterSearch found = findTypedDiameter(table, c.typed);
    EXPECT_EQ(found.text, c.said) << c.typed;
    if (c.row.empty()) {
      EXPECT_FALSE(found.cell) << c.typed;
      continue;
    }
    ASSERT_TRUE(found.cell) << c.typed;
    EXPECT_EQ(cellText(table, found.cell->row, 0), c.row) << c.typed;
    EXPECT_EQ(found.cell->column, c.column) << c.typed;
    EXPECT_TRUE(wireChoice(table, found.cell->row, found.cell->column)) << c.typed;
  }
}

}  // namespace
}  // namespace kelvane::wiredata
