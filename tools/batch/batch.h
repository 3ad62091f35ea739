#pragma once

#include <cstdint>
#include <span>
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
  // A row computed as a winding above the first of a stack: its item is the
  // one kept with the stack's first row.
  bool upperWinding = false;
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

// Computes rows that follow one another in the file, `first` being the
// number of the first. Without a 巻線 column each row is computeRow's.
// With one, consecutive rows of the same 品番 whose 巻線 rise by one from a
// row of 巻線 1 (or empty) are the windings of one item, one over the other
// on the first row's former (job::stackOf, computeStack): each row's results
// are its winding's on the former it inherits, so the sizes of a former on
// the rows above the first are not read, and a former shape there must be
// the first row's or empty. 層間絶縁 is one layer of tape of that thickness
// under the row's winding, none when empty; on a first winding it must be
// empty or 0. A 巻線 that cannot be read, lies outside 1 … kMostWindings or
// does not follow the row before it fails its row alone, named by its place.
// Any other failure of a winding fails every row of its stack, with the
// reason after the winding's name (巻線2: …); the row that holds it keeps
// the message naming its place. Priced, a stack is priced once
// (job::priceItemStack) and its cost cells are on its first row: each row's
// 線材単価 and 巻線速度 are its winding's own, the other 見積条件 the first
// row's (a row above that gives another is refused). A row that cannot be
// read as CSV, or has the wrong number of cells, is never part of a stack.
std::vector<RowResult> computeRows(const ColumnLayout& layout, std::span<const CsvRecord> records,
                                   std::uint64_t first, TextEncoding encoding,
                                   bool keepItem = false);

// Whether a record may be a winding above the first of the rows before it:
// the input may be cut into parts computed apart only before a record that
// cannot.
bool mayContinueStack(const ColumnLayout& layout, const CsvRecord& record);

// The output line of a row: its own cells (as many as the header has, made
// well-formed UTF-8), then the results, ended by CR LF. Every cell is
// guarded against being taken for a formula (job::inertCell).
void appendOutputRow(std::string& out, const ColumnLayout& layout, const CsvRecord& record,
                     const RowResult& result);

// The output's header line: the input's own names, then the result columns.
std::string outputHeader(const ColumnLayout& layout);

}  // namespace kelvane::batch
