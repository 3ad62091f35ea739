#pragma once

#include <optional>
#include <string>
#include <vector>

#include "form/form1.h"

namespace kelvane::job {

// One row of the table a quotation shows: a name, one or two values and the
// unit. An input or a single-value result has its value under Max and
// nothing under 予測 Mid.
struct TableRow {
  std::string item;
  std::string max;
  std::string mid;
  std::string unit;
  bool operator==(const TableRow&) const = default;
};

// The column headings: 項目, Max, 予測 Mid, 単位.
const TableRow& tableHeading();

// What the form shows, as rows: the inputs (the former and the material in
// words, then every input box the former shows, its text as typed, then the
// working temperature) and the results (every result row the former shows,
// in the window's order, with the units the last press chose). Texts are
// copied as the boxes hold them. The DCR row is labelled as at 20 °C; at any
// other working temperature a row of both resistances at that temperature
// follows it, in the same unit and format.
struct ResultsTable {
  std::vector<TableRow> inputs;
  std::vector<TableRow> results;
};
ResultsTable resultsTable(const form::Form1& form, double workingCelsius);

// The conductor whose resistances the table also gives at the working
// temperature; none at 20 °C or before a press has shown resistances.
std::optional<ConductorMaterial> workingResistanceConductor(const form::Form1& form,
                                                            double workingCelsius);

// Both writers give the heading, the inputs and the results, one row a line.
// A cell a spreadsheet would take for a formula gets a leading apostrophe
// (inertCell in job/csv_cell.h), so a job from elsewhere cannot run one.

// For the clipboard: cells separated by tabs, lines ended by "\n". A cell holding a
// tab, a line break or a double quote is quoted as spreadsheets read it.
std::string toTabSeparated(const ResultsTable& table);

// As a CSV file: UTF-8 with a byte order mark, fields quoted
// only where RFC 4180 needs it, lines ended by CR LF.
std::string toCsv(const ResultsTable& table);

}  // namespace kelvane::job
