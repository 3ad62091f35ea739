#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "core/coil_fields.h"

namespace kelvane::job {

// The lines of the results table, shared by every output Kelvane adds (the
// sheet, the clipboard, the CSV export and kelvane-batch), so that a quantity
// is named the same everywhere.

// The words for the two result columns in those outputs: the aligned-winding
// calculation (the window's "Max") and the prediction with the crossing zone
// ("予測 Mid").
inline constexpr std::string_view kAlignedWord = "整列";
inline constexpr std::string_view kPredictedWord = "予測";

// The former's line of the inputs; the window has no caption for it.
inline constexpr std::string_view kFormerItem = "巻枠";
// The working temperature's line.
inline constexpr std::string_view kWorkingTemperatureItem = "使用温度";

inline constexpr std::string_view kMillimetres = "mm";

// An input box's line: the caption beside the box (Label1(label)) and the
// unit of its number.
struct InputLine {
  int label;
  std::string_view unit;
};
// By input box.
const std::array<InputLine, kInputBoxCount>& inputLines();

// A result line: its caption (Label1(label)), the result of each column (a
// single-value line has no predicted one), and its unit: a fixed one, or the
// caption that carries the unit the press chose.
struct ResultLine {
  int label;
  ResultBox aligned;
  std::optional<ResultBox> predicted;
  std::string_view unit;
  std::optional<int> unitLabel;
};
// In the window's order. XXX is left out: it never has a value.
std::span<const ResultLine> resultLines();

// "全長 mm" → "全長" and "mm"; a caption without a unit has an empty one.
std::pair<std::string, std::string> nameAndUnit(const std::string& caption);

}  // namespace kelvane::job
