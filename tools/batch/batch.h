#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/expected.h"
#include "job/job.h"
#include "tools/batch/batch_columns.h"
#include "tools/batch/batch_csv.h"
#include "tools/batch/batch_encoding.h"

namespace kelvane::batch {

// What a row gives: the cells of the layout's result columns in their order,
// and whether the row failed (refused by the press or not readable).
struct RowResult {
  std::vector<std::string> cells;
  bool failed = false;
  // Kept when asked for: the row as an item of a job when it was computed
  // (its 品番, 品名, coil as typed and, priced, its terms), and the job's
  // fields its cells give when it could be read.
  std::optional<job::Item> item;
  std::optional<job::JobFields> fields;
};

// Computes a row as 計算 in a window as it opens would, by construction: the
// same reading of the inputs and the same press (job::pressOnOpening). An
// input the file has no column for keeps the text the window opens with; an
// empty former or material cell means the window's (rectangular, copper). A
// row the press refuses gets the press's message; a row that cannot be read
// (short or long, a bad former or material, bytes of no character) is not
// computed and gets a message naming its row and column, `number` being its
// place in the file with the header as 1; so does a working temperature
// that is no number or out of its span, for the readable results. A failed
// row's readable results are empty, its message in エラー. A row of nothing
// but empty cells is a spacer: it is passed through, neither computed nor
// failed. A term cell that cannot be read (readTermCell) fails its row
// likewise; a priced row is priced with the list's terms for its material
// and its own over them (rowTerms). `keepItem` keeps the row's item and
// fields in the result.
RowResult computeRow(const ColumnLayout& layout, const CsvRecord& record, std::uint64_t number,
                     TextEncoding encoding, bool keepItem = false);

// The output line of a row: its own cells (as many as the header has, made
// well-formed UTF-8), then the results, ended by CR LF. Every cell is
// guarded against being taken for a formula (job::inertCell).
void appendOutputRow(std::string& out, const ColumnLayout& layout, const CsvRecord& record,
                     const RowResult& result);

// The output's header line: the input's own names, then the result columns.
std::string outputHeader(const ColumnLayout& layout);

}  // namespace kelvane::batch
