#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/coil_fields.h"
#include "core/coil_inputs.h"
#include "core/wire_length.h"

namespace kelvane {

// An input a coil cannot be computed from, and why, in the user's words.
struct InputProblem {
  InputBox field;
  std::string message;
};

// Sizes (and the fan angle) beyond this are no coil: their results would not
// be ordinary numbers.
inline constexpr double kLargestSize = 1'000'000;  // mm, degrees for AG
// The most turns a press counts, with room in 32 bits for the layer that
// holds the last of them.
inline constexpr double kMostTurns = 2'000'000'000;
// The most turn positions across one layer.
inline constexpr double kMostTurnPositions = 100'000'000;
// The thin-wire correction of the resistance stays above 0 up to this bare
// diameter (it reaches 0 at about 26.8004 mm).
inline constexpr double kLargestBareDiameter = 26.8;

inline constexpr std::string_view kNoBareDiameterMessage = "素線径(d)を入力してください";
inline constexpr std::string_view kThicknessTooSmallMessage =
    "基準厚み(T)は線仕上外径の1.5倍以上にしてください";

// The first input, in the order of the boxes, that no coil can be computed
// from: a missing, negative or too large bare diameter, a finished diameter
// of 0 or less or below the bare one, turns below 0 or beyond the count, a
// size of the former in use beyond kLargestSize, or a layer narrower than
// one and a half wires or wider than kMostTurnPositions. Nothing when the
// inputs make a coil.
std::optional<InputProblem> CheckCoilInputs(const CoilInputs& in);

inline constexpr std::string_view kOpenFanOutlineMessage =
    "扇形の寸法（A、B、R、AG、r1、r2）では外周が閉じません。r1の角が円弧と斜辺に、r2の角が斜辺と"
    "底辺に収まるよう、R、AG、A、Bや角の半径を見直してください";

// A fan outline its search found, but which no former has: a part of it of
// negative length or angle, so that the r1 corners would meet the arc below
// the r2 corners, or the r2 corners overlap. The press names the fan boxes
// and sends the user to R.
std::optional<InputProblem> CheckFanOutline(const FanContour& outline);

}  // namespace kelvane
