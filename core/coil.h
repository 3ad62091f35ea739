#pragma once

// The coil API: a coil as the engineer describes it goes in; its numbers in
// base units and the texts the window shows for them come out. The window's
// form, the jobs and the batch compute through these calls.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/calculate_coil.h"
#include "core/calculation_state.h"
#include "core/coil_fields.h"
#include "core/coil_inputs.h"
#include "core/former_shape.h"
#include "core/inverse_solvers.h"
#include "core/materials.h"
#include "core/press_progress.h"
#include "core/weight_resistance.h"
#include "core/wire_data_sheet.h"

namespace kelvane {

// A coil as the engineer gives it: lengths in mm, the fan angle in degrees.
struct Coil {
  double bareDiameter = 0;        // d
  double finishedDiameter = 0;    // dw
  double turns = 0;               // n, may be fractional
  double leadLength = 0;          // L, each of the two leads
  double referenceThickness = 0;  // T, the width one layer lies across
  double innerDiameter = 0;       // D, round former
  double sideA = 0;
  double sideB = 0;
  double cornerR1 = 0;
  std::optional<double> cornerR2;                                // none: all four corners have r1
  double fanRadius = 0;                                          // R
  double fanAngle = 0;                                           // AG
  std::optional<FormerShape> former = FormerShape::Rectangular;  // none: no shape chosen
  ConductorMaterial material = ConductorMaterial::Copper;
  bool operator==(const Coil&) const = default;
};

// The numbers the coil is computed from: r2 filled in, the material's
// resistivity and density.
CoilInputs inputsOf(const Coil& coil);

// The texts a press writes, by result box, each as the window shows it, in
// the units the press chose for the lengths, weights and resistances; none
// for a box the press leaves as it is (the XXX row's always).
using ResultTexts = std::array<std::optional<std::string>, kResultBoxCount>;

// The resistances of a press before rounding, in the unit the resistance
// caption names, and the wire they were worked out for.
struct PressedResistance {
  double aligned = 0;    // the aligned winding alone
  double predicted = 0;  // with the crossing zone
  ConductorMaterial material = ConductorMaterial::Copper;
  double bareDiameter = 0;  // d, mm
};

// One press of 計算 worked out: the press (outcome, message, the state it
// leaves, the results in mm, g and Ω, the input it refused) and its texts.
// A refused or cancelled press has no texts; one without a shape has only
// the arrangement and the thickness.
struct CoilCalculation {
  CoilPress press;
  ResultTexts texts;
  // The resistances as shown, before rounding: in the resistance caption's
  // unit with the thin-wire correction k.
  double shownAlignedDcr = 0;
  double shownPredictedDcr = 0;
  // The text written to the box; empty for one the press leaves.
  std::string text(ResultBox b) const { return texts[indexOf(b)].value_or(""); }
  // The units the press chose for the rows, and the resistances as shown
  // with the wire they belong to (a press that reached the lengths).
  ShownUnits units() const;
  PressedResistance resistance(ConductorMaterial material) const;
};

// A press of the inputs after the press that left `previous`. A progress
// lets another thread follow a long press and call it off.
CoilCalculation calculate(const CoilInputs& inputs, const CalculationState& previous = {},
                          PressProgress* progress = nullptr);
CoilCalculation calculate(const Coil& coil);

// A value typed into the weight or resistance box of the Max column, read in
// the unit that box shows since the last press.
struct ShownTarget {
  TargetKind kind = TargetKind::Weight;
  double typed = 0;
  MassUnit massUnit = MassUnit::Milligram;
  ResistanceUnit resistanceUnit = ResistanceUnit::Ohm;
};

// The most whole turns whose press of the state's inputs shows the target's
// box below the typed value, as the box rounds it: 0 when the leads alone
// reach it, nothing when even turnLimit turns stay below. The walk of the
// former's solver counts in unrounded values; a press on either side of its
// count (at most three turns each way) settles a count on the box's rounding
// edge. A called-off walk gives a cancellation.
TurnsFound turnsForTarget(const CalculationState& state, const ShownTarget& target,
                          std::int32_t turnLimit, PressProgress* progress = nullptr);

// The sentence of a target no count of turns up to the window's limit
// reaches, as the window shows it.
inline constexpr std::string_view kTargetUnreachableMessage =
    "目標値に届きません。巻き数を2,000,000,000ターンまで増やしても、この値には達しません";

}  // namespace kelvane
