#pragma once

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "core/former_shape.h"
#include "core/weight_resistance.h"

namespace kelvane {

// The fourteen inputs of a coil as the engineer types them, in the order a
// job, the form and the batch list them.
enum class InputBox {
  BareDiameter = 0,        // d, 素線径(d)
  FinishedDiameter = 1,    // dw, 線仕上外径
  Turns = 2,               // n, 巻き数(n)
  LeadLength = 3,          // L, each of the two leads
  ReferenceThickness = 4,  // T, the width one layer lies across
  InnerDiameter = 5,       // D, round former
  SideA = 6,
  SideB = 7,
  CornerR1 = 8,
  CornerR2 = 9,
  FanRadius = 10,     // R
  FanAngle = 11,      // AG, degrees
  FanWideWidth = 12,  // XX, kept consistent with AG
  Tension = 13,       // shown and kept, read by no computation
};

// The twenty-two results a press shows. From the length down they come in
// pairs: the aligned winding alone, and the prediction with the crossing
// zone's extra height and length. The window's Max column shows the aligned
// ones, its 予測 Mid column the predicted ones, but for the resistance row,
// whose boxes are the other way round; the numbering is the window's.
enum class ResultBox {
  Arrangement = 0,  // 巻き方(列)
  LayerCount = 1,
  Thickness = 2,
  LastLayerTurns = 3,
  OuterA = 4,     // A'
  OuterB = 5,     // B'
  OuterRorD = 6,  // D' (round) or R' (fan)
  AlignedHeight = 7,
  AlignedLength = 8,
  PredictedLength = 9,
  AlignedWeight = 10,
  PredictedWeight = 11,
  PredictedDcr = 12,
  AlignedDcr = 13,
  CrossHeight = 14,
  FullHeight = 15,
  XxxMax = 16,  // the window's XXX row: no value, only ever emptied
  XxxMid = 17,
  AlignedInsulationWeight = 18,
  PredictedInsulationWeight = 19,
  AlignedConductorWeight = 20,
  PredictedConductorWeight = 21,
};

inline constexpr int kInputBoxCount = 14;
inline constexpr int kResultBoxCount = 22;

inline constexpr int indexOf(InputBox b) { return static_cast<int>(b); }
inline constexpr int indexOf(ResultBox b) { return static_cast<int>(b); }

// The green result boxes: a value typed into one of them is a target that the
// turns are worked back from when it is left.
inline constexpr std::array<ResultBox, 4> kTargetBoxes = {
    ResultBox::AlignedHeight, ResultBox::AlignedWeight, ResultBox::PredictedDcr,
    ResultBox::CrossHeight};

// Whether the result box takes typing: only the green target boxes do; the
// others show what the press worked out and can be selected and copied.
inline constexpr bool takesTyping(ResultBox b) {
  return std::find(kTargetBoxes.begin(), kTargetBoxes.end(), b) != kTargetBoxes.end();
}

// An input as the engineer knows it, once for every reader: the window's
// caption and messages, a job file, the batch's columns, the results table.
struct InputField {
  std::string_view name;  // the caption beside its box: "素線径(d)"
  std::string_view unit;  // the unit of its number: "mm", "°", none for a count
  // What may follow the number as typed: "mm" for every length (Tension's
  // too, though it is shown without a unit), "°" or "度" for the fan angle.
  std::span<const std::string_view> typedUnits;
  std::string_view key;          // in a job file: "bareDiameter"
  std::string_view openingText;  // what the box holds when the window opens
};
const InputField& inputField(InputBox b);

// The names of the two choices beside the inputs.
inline constexpr std::string_view kFormerName = "巻枠";
inline constexpr std::string_view kMaterialName = "素材材質";

// How a result is measured, and so written for each reader.
enum class Measure {
  Text,         // the arrangement
  Count,        // layers, turns of the last layer
  Thickness,    // mm, written without a fixed format
  Millimetres,  // mm, three decimals
  Length,       // the press chooses mm, m or km
  Mass,         // the press chooses mg, g or kg
  Resistance,   // the press chooses Ω or kΩ
};

// A line of results: a single value, or the aligned winding beside the
// prediction with the crossing zone.
struct ResultField {
  std::string_view name;  // "全長"
  ResultBox aligned;
  std::optional<ResultBox> predicted;
  Measure measure;
};
// In the window's order, from the arrangement down; the XXX row, which never
// has a value, is left out. The line of the outer D' or R' is named by the
// former (outerRorDName).
std::span<const ResultField> resultFields();
// The line a result box belongs to.
const ResultField& resultField(ResultBox b);

// Which inputs and results a former shows: the round former is measured by
// its inner diameter D and gets an outer diameter D'; the rectangular by its
// sides and corner radii and gets A' and B'; the fan by those and R, AG and
// XX, and gets A', B' and its outer radius R'. The wire, the turns, the
// leads, the layer width and Tension show for every former.
bool formerShows(FormerShape former, InputBox b);
bool formerShows(FormerShape former, ResultBox b);
// "D'" for the round former, "R'" for the fan; none for the rectangular.
std::optional<std::string_view> outerRorDName(FormerShape former);

// A unit as the window writes it beside a row's name ("Km", "Kg", "KΩ") and
// as everything else writes it, in SI ("km", "kg", "kΩ").
std::string_view windowSymbol(LengthUnit unit);
std::string_view windowSymbol(MassUnit unit);
std::string_view windowSymbol(ResistanceUnit unit);
std::string_view siSymbol(LengthUnit unit);
std::string_view siSymbol(MassUnit unit);
std::string_view siSymbol(ResistanceUnit unit);
// A result line's unit in SI: mm for the sizes, the unit chosen for a
// length, weight or resistance, none for a text or a count.
std::string_view siSymbol(Measure measure, const ShownUnits& units);

}  // namespace kelvane
