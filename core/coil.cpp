#include "core/coil.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/number_text.h"
#include "core/typed_number.h"

namespace kelvane {

CoilInputs inputsOf(const Coil& coil) {
  CoilInputs in;
  in.bareDiameter = coil.bareDiameter;
  in.finishedDiameter = coil.finishedDiameter;
  in.turns = coil.turns;
  in.leadLength = coil.leadLength;
  in.referenceThickness = coil.referenceThickness;
  in.innerDiameter = coil.innerDiameter;
  in.sideA = coil.sideA;
  in.sideB = coil.sideB;
  in.cornerR1 = coil.cornerR1;
  in.cornerR2 = coil.cornerR2.value_or(coil.cornerR1);
  in.fanRadius = coil.fanRadius;
  in.fanAngle = coil.fanAngle;
  in.shape = coil.former;
  const MaterialValues m = MaterialConstants(coil.material);
  in.resistivity = m.resistivity;
  in.density = m.density;
  return in;
}

CoilCalculation calculate(const CoilInputs& inputs, const CalculationState& previous,
                          PressProgress* progress) {
  CoilCalculation c;
  c.press = CalculateCoil(inputs, previous, progress);
  const PressOutcome outcome = c.press.outcome;
  if (outcome == PressOutcome::Refused || outcome == PressOutcome::Cancelled) return c;

  const CoilResults& r = c.press.results;
  const CalculationState& s = c.press.state;
  auto write = [&c](ResultBox b, std::string text) { c.texts[indexOf(b)] = std::move(text); };
  using enum ResultBox;
  write(Thickness, plainDecimal(r.arrangement.thickness));
  write(Arrangement, r.arrangement.arrangementText);
  if (outcome == PressOutcome::NoShape) return c;

  // Lengths, weights and resistance in the units chosen for them.
  const WeightResistance& w = r.weights;
  const double mass = factorOf(w.massUnit);
  const double length = factorOf(w.lengthUnit);
  const double resistance = shownResistanceFactor(w.resistanceUnit, r.thinWireFactor);
  auto shown = [&](ResultBox b, double value, double factor) {
    write(b, formatFixed3(value * factor));
  };
  shown(PredictedConductorWeight, w.predictedConductorWeight, mass);
  shown(AlignedConductorWeight, w.alignedConductorWeight, mass);
  shown(PredictedInsulationWeight, w.predictedInsulationWeight, mass);
  shown(AlignedInsulationWeight, w.alignedInsulationWeight, mass);
  shown(PredictedWeight, w.predictedWeight, mass);
  shown(AlignedWeight, w.alignedWeight, mass);
  shown(AlignedLength, r.alignedLength, length);
  shown(PredictedLength, r.predictedLength, length);
  c.shownAlignedDcr = w.alignedDcr * resistance;
  c.shownPredictedDcr = w.predictedDcr * resistance;
  write(AlignedDcr, formatFixed3(c.shownAlignedDcr));
  write(PredictedDcr, formatFixed3(c.shownPredictedDcr));

  // Heights and outer dimensions.
  write(LayerCount, plainDecimal(s.layerCount));
  write(LastLayerTurns, plainDecimal(s.lastLayerTurns));
  write(AlignedHeight, formatFixed3(r.alignedHeight));
  write(CrossHeight, formatFixed3(r.crossHeight));
  write(FullHeight, formatFixed3(r.fullHeight));
  write(OuterA, formatFixed3(r.outerA));
  write(OuterB, formatFixed3(r.outerB));
  write(OuterRorD, formatFixed3(r.outerRorD));
  return c;
}

CoilCalculation calculate(const Coil& coil) { return calculate(inputsOf(coil)); }

ShownUnits CoilCalculation::units() const {
  const WeightResistance& w = press.results.weights;
  return {w.lengthUnit, w.massUnit, w.resistanceUnit};
}

PressedResistance CoilCalculation::resistance(ConductorMaterial material) const {
  return {shownAlignedDcr, shownPredictedDcr, material, press.state.inputs.bareDiameter};
}

namespace {

TurnsFound solverWalk(const CalculationState& state, const TurnsTarget& target,
                      std::int32_t turnLimit, PressProgress* progress, SumsNearAnswer* near) {
  if (!state.inputs.shape) return invalidArgumentFailure();
  switch (*state.inputs.shape) {
    case FormerShape::Round:
      return roundTurnsForTarget(state, target, turnLimit, progress, near);
    case FormerShape::Rectangular:
      return rectangularTurnsForTarget(state, target, turnLimit, progress, near);
    case FormerShape::Fan:
      return fanTurnsForTarget(state, target, turnLimit, progress, near);
  }
  return invalidArgumentFailure();
}

// The browser build's library has no std::bit_cast yet.
std::uint64_t bitsOf(double x) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}
bool sameBits(double a, double b) { return bitsOf(a) == bitsOf(b); }

// Whether a press laid out as `laid` winds its turns as the search walked
// `searched`: the same former, wire, corners, layer counts, crossing
// allowance and fan outline, to the bit.
bool windsAlike(const CalculationState& laid, const CalculationState& searched) {
  const CoilInputs& a = laid.inputs;
  const CoilInputs& b = searched.inputs;
  const FanContour& f = laid.fanContour;
  const FanContour& g = searched.fanContour;
  return a.shape == b.shape && sameBits(a.finishedDiameter, b.finishedDiameter) &&
         sameBits(a.cornerR1, b.cornerR1) && sameBits(a.cornerR2, b.cornerR2) &&
         sameBits(a.innerDiameter, b.innerDiameter) && sameBits(a.fanRadius, b.fanRadius) &&
         sameBits(laid.straightA, searched.straightA) &&
         sameBits(laid.straightB2, searched.straightB2) &&
         sameBits(laid.straightB1, searched.straightB1) &&
         sameBits(laid.turnsOddLayer, searched.turnsOddLayer) &&
         sameBits(laid.turnsEvenLayer, searched.turnsEvenLayer) &&
         sameBits(laid.crossAllowance, searched.crossAllowance) &&
         sameBits(f.arcAngle, g.arcAngle) && sameBits(f.outerCornerAngle, g.outerCornerAngle) &&
         sameBits(f.innerCornerAngle, g.innerCornerAngle) && sameBits(f.sideLength, g.sideLength) &&
         sameBits(f.edgeLength, g.edgeLength);
}

// A press of `in` after `state`. When the search has summed its turns
// already (`summed`) and the press lays its winding out as the search walked
// it, the press would add the very same lengths in the same order: it is
// finished with those totals instead of summing them again.
CoilPress pressOf(const CoilInputs& in, const CalculationState& state,
                  const WindingLengths* summed) {
  if (!summed) return CalculateCoil(in, state);
  CoilPress press = LayOutCoil(in, state);
  if (press.outcome != PressOutcome::Complete || !windsAlike(press.state, state))
    return CalculateCoil(in, state);
  return FinishPress(std::move(press), *summed, state);
}

}  // namespace

TurnsFound turnsForTarget(const CalculationState& state, const ShownTarget& target,
                          std::int32_t turnLimit, PressProgress* progress) {
  const double factor =
      target.kind == TargetKind::Weight
          ? factorOf(target.massUnit)
          : shownResistanceFactor(target.resistanceUnit, ThinWireFactor(state.inputs.bareDiameter));
  SumsNearAnswer near;
  TurnsFound found =
      solverWalk(state, TurnsTarget{target.kind, shownThreshold(target.typed), factor}, turnLimit,
                 progress, &near);
  if (!found || !found->has_value()) return found;

  // The search sums exactly as a press does, but compares unrounded values;
  // the box shows three decimals. Whether a press of n turns shows the box
  // below the typed value, read back from its text:
  auto below = [&](std::int32_t n) {
    CoilInputs in = state.inputs;
    in.turns = n;
    const CoilPress press = pressOf(in, state, near.of(n));
    if (press.outcome != PressOutcome::Complete) return false;
    const WeightResistance& w = press.results.weights;
    const double value = target.kind == TargetKind::Weight ? w.alignedWeight : w.predictedDcr;
    return readTypedNumber(formatFixed3(value * factor)).value < target.typed;
  };
  std::int32_t n = **found;
  for (int step = 0; step < 3 && n > 0 && !below(n); ++step) --n;
  for (int step = 0; step < 3 && n < turnLimit && below(n + 1); ++step) ++n;
  return std::optional<std::int32_t>{n};
}

}  // namespace kelvane
