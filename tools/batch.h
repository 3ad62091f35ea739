#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/expected.h"
#include "form/form1.h"
#include "tools/batch_csv.h"
#include "tools/batch_encoding.h"

namespace kelvane::batch {

// The columns of an input file, in the order --header writes them: the
// fourteen input boxes by their names in a job file, then "former" and
// "material".
const std::vector<std::string>& inputColumns();

// The columns every output row adds after the input's own: the result boxes
// Text2(0) … Text2(21), the unit captions of the length, weight and
// resistance rows (Label1(13), Label1(29), Label1(28)), then エラー.
const std::vector<std::string>& resultColumns();

// What each column of an input file holds, as its header line names it: an
// input box, the former, the material, or something of the user's own that
// is carried through.
class ColumnLayout {
 public:
  // Fails, in a line for the command line, when the header names none of
  // the input columns or one of them twice.
  static Expected<ColumnLayout> fromHeader(const std::vector<std::string>& header);

  enum class Holds { InputBox, Former, Material, Own };
  struct Column {
    std::string name;  // as the header writes it
    Holds holds = Holds::Own;
    int box = -1;  // the input box, Text1(box)
  };
  const std::vector<Column>& columns() const { return columns_; }
  std::size_t width() const { return columns_.size(); }

 private:
  std::vector<Column> columns_;
};

// What a row gives: the cells of resultColumns() in their order, and whether
// the row failed (refused by the press or not readable).
struct RowResult {
  std::vector<std::string> cells;
  bool failed = false;
};

// Computes a row as 計算 in the window would, by construction: the row is
// made a job and opened on a copy of `fresh`, a form as the window opens. A
// box the file has no column for keeps the text it has there; an empty
// former or material cell means the window's (rectangular, copper). A row
// the press refuses gets the form's messages; a row that cannot be read
// (short or long, a bad former or material, bytes of no character) is not
// computed and gets a message naming its row and column, `number` being its
// place in the file with the header as 1. A row of nothing but empty cells
// is a spacer: it is passed through, neither computed nor failed.
RowResult computeRow(const ColumnLayout& layout, const CsvRecord& record, std::uint64_t number,
                     const form::Form1& fresh, TextEncoding encoding);

// The output line of a row: its own cells (as many as the header has, made
// well-formed UTF-8), then the results, ended by CR LF. Every cell is
// guarded against being taken for a formula (job::inertCell).
void appendOutputRow(std::string& out, const ColumnLayout& layout, const CsvRecord& record,
                     const RowResult& result);

// The output's header line: the input's own names, then resultColumns().
std::string outputHeader(const ColumnLayout& layout);

}  // namespace kelvane::batch
