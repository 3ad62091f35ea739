#pragma once

#include <string>

#include "core/calculation_state.h"
#include "core/former_shape.h"
#include "core/input_checks.h"
#include "core/press_progress.h"
#include "core/weight_resistance.h"
#include "core/winding_arrangement.h"
#include "core/wire_length.h"

namespace kelvane {

// Coils of this many turns and more are not drawn: a note stands in for the
// section drawing, so it never holds more than 999 turns.
inline constexpr double kMostTurnsDrawn = 1000;

// The result half of the window, as numbers.
struct CoilResults {
  WindingArrangement arrangement;
  double outerA = 0;     // A'
  double outerB = 0;     // B'
  double outerRorD = 0;  // D' for the round former, R' otherwise
  double alignedHeight = 0;
  double crossHeight = 0;
  double fullHeight = 0;
  double alignedLength = 0;    // 2·L + maxLength; 0 when the length routine failed
  double predictedLength = 0;  // 2·L + midLength
  double thinWireFactor = 1;   // k
  WeightResistance weights;
  bool showDiagram = false;  // n < kMostTurnsDrawn
};

enum class PressOutcome {
  Complete,      // every result written
  LengthFailed,  // the length routine failed: lengths, weights, resistance 0
  NoShape,       // stopped after the arrangement: only it and the thickness
  Refused,       // nothing done at all, state untouched
  Cancelled,     // called off while the lengths were summed: nothing done
};

// The side B and corner r2 a round coil's crossing share is reckoned on:
// those of the window's opening former, whatever the hidden boxes hold.
inline constexpr double kRoundCrossingSideB = 2;
inline constexpr double kRoundCrossingCornerR2 = 0.3;

// The messages of a press that the window shows.
inline constexpr std::string_view kNoShapeMessage = "形状選択が適切でありません";

struct CoilPress {
  PressOutcome outcome = PressOutcome::Refused;
  std::string message;                   // to show once; empty for a complete press
  CalculationState state;                // after the press; the previous one when refused
  CoilResults results;                   // meaningful as the outcome says
  std::optional<InputBox> refusedInput;  // the input a refused press could not use
};

// A press up to its lengths: the refusals of the inputs (a fan outline that
// cannot close among them), the arrangement, the heights and the fan outline,
// in the state. Refused, NoShape, LengthFailed when the fan outline search
// failed (its message; the state keeps the outline found before), or Complete;
// no length, weight or resistance is in the results. What a target is solved
// with when the results no longer belong to the inputs.
CoilPress LayOutCoil(const CoilInputs& inputs, const CalculationState& previous);

// One Calculate press, from the inputs and the state the previous press left.
// A progress lets another thread follow a long press and call it off.
CoilPress CalculateCoil(const CoilInputs& inputs, const CalculationState& previous,
                        PressProgress* progress = nullptr);

// The rest of a press that LayOutCoil laid out (Complete or LengthFailed),
// given the lengths its turns sum to or why they could not be summed: the
// totals with the leads, weights, resistance, heights and outer dimensions,
// refused as overflowing when a figure is not finite. A target's search
// that has summed the turns already finishes its presses with it.
CoilPress FinishPress(CoilPress laidOut, const Expected<WindingLengths>& lengths,
                      const CalculationState& previous);

}  // namespace kelvane
