#pragma once

#include <optional>
#include <string>
#include <vector>

#include "job/shown_coil.h"

namespace kelvane::batch {

// The result columns of the output a person reads, after the input's own
// and before エラー: one for each quantity of the results table, in its
// order, headed by the quantity's name, the result column (整列 or 予測,
// for a line that has both) and its unit in brackets: "全長 整列 [m]",
// "重量 予測 [g]", "DCR 整列 [Ω]", "A' [mm]", "層数". The line of D' and R'
// is two columns, D' for the round former and R' for the fan. With
// `workingTemperature`, both resistances at the row's working temperature
// follow those at 20 °C: "DCR 整列 (使用温度) [Ω]". After the DCR columns
// come the figures of the standard's band at 20 °C, each over the wire
// length of its column: "規格DCR最小 整列 [Ω]", "規格DCR最小 予測 [Ω]", then
// 公称 and 最大 (job/resistance_band.h).
std::vector<std::string> readableColumns(bool workingTemperature);

// The cells of those columns for a coil after a complete press: lengths in
// m, weights in g, resistances in Ω and sizes in mm in every row, whatever
// unit the window chose; counts as the window writes them, the arrangement
// as its text. A result the window hides for the former is empty, and so
// are the resistances at the working temperature when there is none or it
// is 20 °C, a band's limit the standard does not give for the size, and the
// whole band for a conductor it gives no resistivity for.
std::vector<std::string> readableCells(const job::ShownCoil& coil,
                                       std::optional<double> workingCelsius);

// A number as a cell: a plain decimal (no digit groups, no exponent) with
// at least `decimals` decimals and at least six significant digits,
// correctly rounded. Empty for a value that is not finite.
std::string numberCell(double value, int decimals);

}  // namespace kelvane::batch
