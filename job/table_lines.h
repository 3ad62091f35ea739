#pragma once

#include <string_view>

namespace kelvane::job {

// The words every output Kelvane adds (the sheet, the clipboard, the CSV
// export and kelvane-batch) shares beside the coil's own names
// (core/coil_fields.h), so that a quantity is named the same everywhere.

// The words for the two result columns in those outputs: the aligned-winding
// calculation (the window's "Max") and the prediction with the crossing zone
// ("予測 Mid").
inline constexpr std::string_view kAlignedWord = "整列";
inline constexpr std::string_view kPredictedWord = "予測";

// The working temperature's line.
inline constexpr std::string_view kWorkingTemperatureItem = "使用温度";

}  // namespace kelvane::job
