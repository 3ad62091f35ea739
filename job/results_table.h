#pragma once

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "job/job.h"
#include "job/shown_coil.h"

namespace kelvane::job {

// One row of the table a quotation shows: a name, one or two values and the
// unit. An input, a single-value result or a field of the job has its value
// in the first column and nothing in the second.
struct TableRow {
  std::string item;
  std::string aligned;    // the aligned winding alone; a single value
  std::string predicted;  // the prediction with the crossing zone
  std::string unit;
  bool operator==(const TableRow&) const = default;
};

// A resistance figure as the resistance rows write one: at least four
// significant digits, never fewer decimals than `minPlaces`; empty for a
// value that is not finite.
std::string resistanceFigure(double value, int minPlaces = 0);

// The column headings as the window captions them: 項目, Max, 予測 Mid, 単位
// (the window's Max column holds the aligned values).
const TableRow& tableHeading();

// The column headings of the outputs, by what the values mean: 項目,
// 整列巻き計算, クロス込み予測, 単位.
const TableRow& outputHeading();

// One line under the table saying which result column is the larger and why.
std::string_view columnNote();

// The line under a round coil's table saying how its crossing share is taken.
std::string roundCrossingNote();

// What the coil shows, as rows: the inputs (the former and the material in
// words, then every input box the former shows, its text as typed, then the
// working temperature) and the results (every result row the former shows,
// in the window's order). Texts are copied as the boxes hold them; units are
// written with SI symbols (km, kg, kΩ), whatever the window's captions say.
//
// The resistance rows are written from the press's resistances, not the
// boxes' texts: at least four significant digits, in mΩ when the larger is
// below 1 Ω (otherwise in the window's unit, with at least its three
// decimals). The DCR row is labelled as at 20 °C; at any other working
// temperature a row of both resistances at that temperature follows it, in
// the same unit. After them come the rows of the standard's band at 20 °C
// (規格DCR最小, 公称, 最大; job/resistance_band.h), in the same unit, for a
// conductor the standard gives a resistivity for; a limit the standard
// does not give for the size is an empty cell. A resistance box that does
// not hold what the press wrote (typed over as a target, or emptied) has an
// empty cell, and so has the band beside it.
struct ResultsTable {
  std::vector<TableRow> inputs;
  std::vector<TableRow> results;
  // The job's fields above the table (顧客名 … 作成日時); none in a table made
  // without them.
  std::vector<TableRow> fields = {};
  // The quotation below the results (quotationRows in job/quotation_rows.h);
  // none for a job not priced.
  std::vector<TableRow> quotation = {};
  // What a reader of the results needs to know beyond columnNote(): for a
  // round coil, roundCrossingNote().
  std::vector<std::string> notes = {};
};
ResultsTable resultsTable(const ShownCoil& coil, double workingCelsius);

// The same table with the job's and the item's fields above it: 顧客名,
// 見積番号, 品番, 品名, 担当者, 使用温度 (no longer among the inputs then) and
// 作成日時, the time the table is made ("2026-12-08 16:30").
ResultsTable resultsTable(const ShownCoil& coil, const JobFields& fields, const Item& item,
                          std::string_view createdAt);

// The local time to the minute, as 作成日時 gives it: "2026-12-08 16:30".
std::string localMinute(std::chrono::system_clock::time_point time);

// The conductor whose resistances the table also gives at the working
// temperature; none at 20 °C or before a press has shown resistances.
std::optional<ConductorMaterial> workingResistanceConductor(const ShownCoil& coil,
                                                            double workingCelsius);

// The writers give the job's fields (when the table has them) and an empty
// line, then the output heading, the inputs and the results, one row a
// line, then (when the table has it) an empty line and the quotation. A cell a spreadsheet would
// take for a formula gets a leading apostrophe (inertCell in job/csv_cell.h), so a job from
// elsewhere cannot run one.

// For the clipboard: cells separated by tabs, lines ended by "\n". A cell holding a
// tab, a line break or a double quote is quoted as spreadsheets read it.
//
// The tables of several items follow one another, an empty line between.
std::string toTabSeparated(std::span<const ResultsTable> tables);

// For the clipboard beside the tabs: an HTML table of the same cells, every
// text escaped. A cell that is a number as the program writes it ("0.2",
// "1,010.000", "-2") is marked as that number with its decimals, every
// other cell as text, so a spreadsheet neither reads a number as text nor a
// part number such as "1-2" as a date.
std::string toHtml(std::span<const ResultsTable> tables);

// As a CSV file: UTF-8 with a byte order mark, fields quoted
// only where RFC 4180 needs it, lines ended by CR LF.
std::string toCsv(std::span<const ResultsTable> tables);
inline std::string toTabSeparated(const ResultsTable& table) { return toTabSeparated({&table, 1}); }
inline std::string toHtml(const ResultsTable& table) { return toHtml({&table, 1}); }
inline std::string toCsv(const ResultsTable& table) { return toCsv({&table, 1}); }

}  // namespace kelvane::job
