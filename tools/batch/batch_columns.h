#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/expected.h"
#include "job/price_list.h"

namespace kelvane::batch {

// What the output gives for a row's results.
enum class ResultStyle {
  // One column for each quantity, headed by its name, the result column and
  // the unit, every row in that unit: what a person reads in a spreadsheet.
  Readable,
  // The texts of the result boxes and the unit captions, as the window shows
  // them: for comparing with the window.
  BoxTexts,
};

// The input columns by the window's own captions, in the order --header
// writes them: the fourteen input boxes (素線径(d) … Tension), then 巻枠 and
// 素材材質.
const std::vector<std::string>& inputColumns();
// The same columns by their names in a job file: bareDiameter … tension,
// former, material.
const std::vector<std::string>& jobFileColumns();

// The columns that stack rows into one item of several windings: 巻線, the
// winding's number in its stack (1 to kMostWindings; empty is 1), and
// 層間絶縁, the thickness in mm of the tape under it; by a job file's names,
// winding and insulation. --header writes them after the input columns.
inline constexpr int kStackColumnCount = 2;
inline constexpr int kWindingColumn = 0;
inline constexpr int kInsulationColumn = 1;
const std::vector<std::string>& stackColumns();
const std::vector<std::string>& stackFileColumns();

// The job's own fields a row may carry, and the names of the item the row
// makes in a job (品番, 品名).
enum class JobField {
  Customer,
  PartNumber,
  QuotationNumber,
  PersonInCharge,
  WorkingTemperature,
  ItemName
};
inline constexpr int kJobFieldCount = 6;
// Their names as the job window shows them (顧客名 … 使用温度, 品名), and as
// a job file names them (customer … workingTemperature, name).
const std::vector<std::string>& jobFieldColumns();
const std::vector<std::string>& jobFieldFileColumns();

// The 見積条件 a row may give for itself, over the price list's: the eight
// figures of the 見積 pane in its order (線材単価 … 利益率, as
// job::TermFigure), then 数量, the lot sizes in one cell.
inline constexpr int kTermColumnCount = 9;
inline constexpr int kQuantitiesTerm = 8;
// Their names as the pane shows them, and as a job file names them
// (wireYenPerKg … profitPercent, quantities).
const std::vector<std::string>& termColumns();
const std::vector<std::string>& termFileColumns();

// The window's captions of the length, weight and resistance rows, Label1(13),
// Label1(29) and Label1(28), whose texts the box texts give after the result
// boxes'.
inline constexpr std::array<int, 3> kUnitCaptionLabels = {13, 29, 28};

// The columns every output row adds after the input's own, エラー last. The
// box texts are those of the result boxes Text2(0) … Text2(21), then the
// captions of the length, weight and resistance rows with the units the
// press chose (Label1(13), Label1(29), Label1(28)); the readable columns are
// readableColumns(workingTemperature).
std::vector<std::string> resultColumns(ResultStyle style, bool workingTemperature = false);

// The column a header name is close to without being it: the same but for
// case, blanks and full-width forms, or one or two letters apart (one for a
// name of four to seven characters, none for a shorter one). None for a name
// that is a column, or close to none.
std::optional<std::string> resembledColumn(std::string_view name);

// What each column of an input file holds, as its header line names it: an
// input box, the former, the material, a field of the job, or something of
// the user's own that is carried through.
class ColumnLayout {
 public:
  // Fails, in a line for the command line, when the header names none of
  // the input columns, one of the columns twice, or a column it does not
  // know by a name close to one it does.
  static Expected<ColumnLayout> fromHeader(const std::vector<std::string>& header,
                                           ResultStyle style = ResultStyle::Readable);

  enum class Holds { InputBox, Former, Material, JobField, Term, Stack, Own };
  struct Column {
    std::string name;  // as the header writes it
    Holds holds = Holds::Own;
    int box = -1;    // the input box, Text1(box)
    int field = -1;  // the job field, as JobField
    int term = -1;   // the term, by its place in termColumns()
    int stack = -1;  // kWindingColumn or kInsulationColumn
  };
  const std::vector<Column>& columns() const { return columns_; }
  std::size_t width() const { return columns_.size(); }
  ResultStyle style() const { return style_; }
  // The column of the working temperature, when the results give the
  // resistance at it.
  std::optional<std::size_t> workingTemperatureColumn() const { return workingTemperature_; }
  // The columns every output row adds after the input's own.
  const std::vector<std::string>& resultColumns() const { return resultColumns_; }
  // A line that names the input columns the header lacks and the texts of
  // the window as it opens that they are computed with; none when it has
  // them all.
  std::optional<std::string> missingInputs() const;

  // The columns of 巻線 and 層間絶縁, and of 品番, whose rows stack.
  std::optional<std::size_t> windingColumn() const { return stack_[kWindingColumn]; }
  std::optional<std::size_t> insulationColumn() const { return stack_[kInsulationColumn]; }
  std::optional<std::size_t> partNumberColumn() const { return partNumber_; }

  // Whether the header has a column of the 見積条件, and one of 数量.
  bool hasTerms() const { return hasTerms_; }
  bool hasQuantities() const { return hasQuantities_; }

  // Adds the cost columns of the price list (costColumns in
  // tools/batch_costs.h) before エラー: each row is priced with the list and
  // the terms of its own cells.
  void priceWith(job::PriceList prices);
  const std::optional<job::PriceList>& prices() const { return prices_; }

 private:
  std::vector<Column> columns_;
  ResultStyle style_ = ResultStyle::Readable;
  std::optional<std::size_t> workingTemperature_;
  std::array<std::optional<std::size_t>, kStackColumnCount> stack_;
  std::optional<std::size_t> partNumber_;
  std::vector<std::string> resultColumns_;
  std::vector<bool> seen_;  // by input column
  bool byCaption_ = false;  // the header names its inputs by the window's captions
  bool hasTerms_ = false;
  bool hasQuantities_ = false;
  std::optional<job::PriceList> prices_;
};

}  // namespace kelvane::batch
