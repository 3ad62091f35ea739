#include "core/calculate_coil.h"

#include <cmath>
#include <initializer_list>
#include <limits>

#include "core/coil_math.h"
#include "core/cross_height.h"
#include "core/input_checks.h"
#include "core/wire_length.h"

namespace kelvane {

namespace {

// The crossing zone is taken as this many wire diameters along side B.
constexpr double kCrossingZoneDiameters = 15;

bool allFinite(std::initializer_list<double> values) {
  for (const double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

bool isFinite(const WindingArrangement& a) {
  return allFinite({a.turnPositions, a.thickness, a.turnsOddLayer, a.turnsEvenLayer, a.layerCount,
                    a.lastLayerTurns, a.alignedHeight});
}

bool isFinite(const CoilResults& r) {
  const WeightResistance& w = r.weights;
  return isFinite(r.arrangement) &&
         allFinite({r.outerA, r.outerB, r.outerRorD, r.alignedHeight, r.crossHeight, r.fullHeight,
                    r.alignedLength, r.predictedLength, r.thinWireFactor, w.conductorArea,
                    w.insulationArea, w.alignedDcr, w.predictedDcr, w.alignedConductorWeight,
                    w.predictedConductorWeight, w.alignedInsulationWeight,
                    w.predictedInsulationWeight, w.alignedWeight, w.predictedWeight});
}

CoilPress refused(std::string_view message, const CalculationState& previous) {
  CoilPress press;
  press.outcome = PressOutcome::Refused;
  press.message = std::string(message);
  press.state = previous;
  return press;
}

// Steps up to the winding heights: the inputs, the straight parts of the
// former, the arrangement, the crossing share and the heights.
void layOutWinding(const CoilInputs& in, CalculationState& s, WindingArrangement& arrangement) {
  s.inputs = in;

  s.straightA = (in.sideA - in.cornerR1) - in.cornerR2;
  s.straightB2 = in.sideB - 2 * in.cornerR2;
  s.straightB1 = in.sideB - 2 * in.cornerR1;

  arrangement = windingArrangement(in.referenceThickness, in.finishedDiameter, in.turns);
  s.turnsPerLayer = static_cast<float>(arrangement.turnPositions);
  s.turnsOddLayer = arrangement.turnsOddLayer;
  s.turnsEvenLayer = arrangement.turnsEvenLayer;
  s.layerCount = arrangement.layerCount;
  s.lastLayerTurns = arrangement.lastLayerTurns;
  s.alignedHeight = arrangement.alignedHeight;

  // The crossing zone is reckoned on the straight part between the r2
  // corners. A round former has no corners and no B: its share is that of the
  // window's opening former (B 2, r2 0.3), so a round coil never depends on
  // what the hidden side boxes hold.
  const double crossingStraight = in.shape == FormerShape::Round
                                      ? kRoundCrossingSideB - 2 * kRoundCrossingCornerR2
                                      : s.straightB2;
  s.crossRatio = crossZoneShare(in.finishedDiameter, crossingStraight, kCrossingZoneDiameters);
  // Where the wire crosses it builds a full diameter instead of the nested
  // pitch: (2 − √3) / 2 of a diameter more per layer, over the crossing share.
  s.crossAllowance = s.crossRatio * (in.finishedDiameter * ((2 - sqrt3()) / 2));
  s.fullHeight = in.finishedDiameter * s.layerCount;
  // Average build over the straight side: the crossing share at full height,
  // the rest nested.
  s.crossHeight = ((s.fullHeight - s.alignedHeight) * s.crossRatio) + s.alignedHeight;
}

// The length routine of the shape; a fan press walks round the outline it
// found, or fails as its search did.
Expected<WindingLengths> windingLengths(const CoilPress& laidOut, PressProgress* progress) {
  const CalculationState& s = laidOut.state;
  if (laidOut.outcome == PressOutcome::LengthFailed) return Failure{laidOut.message};
  if (*s.inputs.shape == FormerShape::Round) return roundWindingLength(s, progress);
  if (*s.inputs.shape == FormerShape::Rectangular) return rectangularWindingLength(s, progress);
  return FanWindingLengths(s, s.fanContour, progress);
}

}  // namespace

CoilPress LayOutCoil(const CoilInputs& in, const CalculationState& previous) {
  if (const std::optional<InputProblem> problem = CheckCoilInputs(in)) {
    CoilPress press = refused(problem->message, previous);
    press.refusedInput = problem->field;
    return press;
  }
  // The fan outline is found first: one that cannot close refuses the press.
  std::optional<Expected<FanContour>> outline;
  if (in.shape == FormerShape::Fan) {
    outline = fanOutline(in.sideB, in.fanRadius, in.sideA, in.fanAngle, in.cornerR1, in.cornerR2);
    if (*outline) {
      if (const std::optional<InputProblem> problem = CheckFanOutline(**outline)) {
        CoilPress press = refused(problem->message, previous);
        press.refusedInput = problem->field;
        return press;
      }
    }
  }

  CoilPress press;
  press.state = previous;
  CalculationState& s = press.state;
  press.results.thinWireFactor = ThinWireFactor(in.bareDiameter);
  layOutWinding(in, s, press.results.arrangement);

  if (!in.shape) {
    if (!allFieldsFinite(s) || !isFinite(press.results.arrangement))
      return refused(kOverflowMessage, previous);
    press.outcome = PressOutcome::NoShape;
    press.message = std::string(kNoShapeMessage);
    return press;
  }
  press.outcome = PressOutcome::Complete;
  if (outline) {
    // A search that failed leaves the outline of the last one that did not.
    if (*outline) {
      s.fanContour = **outline;
    } else {
      press.outcome = PressOutcome::LengthFailed;
      press.message = outline->message();
    }
  }
  return press;
}

CoilPress CalculateCoil(const CoilInputs& in, const CalculationState& previous,
                        PressProgress* progress) {
  CoilPress press = LayOutCoil(in, previous);
  if (press.outcome == PressOutcome::Refused || press.outcome == PressOutcome::NoShape)
    return press;
  const Expected<WindingLengths> lengths = windingLengths(press, progress);
  if (!lengths && progress && progress->cancelled()) {
    CoilPress cancelled;
    cancelled.outcome = PressOutcome::Cancelled;
    cancelled.state = previous;
    return cancelled;
  }
  return FinishPress(std::move(press), lengths, previous);
}

CoilPress FinishPress(CoilPress press, const Expected<WindingLengths>& lengths,
                      const CalculationState& previous) {
  const CoilInputs& in = press.state.inputs;
  CalculationState& s = press.state;
  CoilResults& r = press.results;
  press.outcome = PressOutcome::Complete;
  if (lengths) {
    r.alignedLength = (2 * in.leadLength) + lengths->maxLength;
    r.predictedLength = (2 * in.leadLength) + lengths->midLength;
  } else {
    press.outcome = PressOutcome::LengthFailed;
    press.message = lengths.message();
  }

  r.weights = ComputeWeightResistance(in.bareDiameter, in.finishedDiameter, r.alignedLength,
                                      r.predictedLength, in.resistivity, in.density);
  s.conductorArea = r.weights.conductorArea;
  s.insulationArea = r.weights.insulationArea;

  r.alignedHeight = s.alignedHeight;
  r.crossHeight = s.crossHeight;
  r.fullHeight = s.fullHeight;
  r.outerA = (in.sideA + s.alignedHeight) + s.fullHeight;
  r.outerB = in.sideB + 2 * s.alignedHeight;
  r.outerRorD = *in.shape == FormerShape::Round
                    ? (in.innerDiameter + s.fullHeight) + s.alignedHeight
                    : in.fanRadius + s.fullHeight;
  r.showDiagram = in.turns < kMostTurnsDrawn;

  if (!allFieldsFinite(s) || !isFinite(r)) return refused(kOverflowMessage, previous);
  return press;
}

}  // namespace kelvane
