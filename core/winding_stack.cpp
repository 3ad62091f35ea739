#include "core/winding_stack.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/calculate_coil.h"
#include "core/coil_math.h"
#include "core/input_checks.h"

namespace kelvane {

bool isFormerSize(InputBox box) {
  switch (box) {
    case InputBox::InnerDiameter:
    case InputBox::SideA:
    case InputBox::SideB:
    case InputBox::CornerR1:
    case InputBox::CornerR2:
    case InputBox::FanRadius:
    case InputBox::FanAngle:
      return true;
    default:
      return false;
  }
}

namespace {

Failure windingFailure(std::size_t index, const Winding& winding, std::string message) {
  return Failure{windingLabel(index, winding.name) + ": " + std::move(message)};
}

// Why a stack cannot be wound at all, before any winding is pressed.
std::optional<Failure> stackProblem(const WindingStack& stack) {
  if (stack.windings.empty()) return Failure{"巻線がありません。巻線を1つ以上入れてください。"};
  if (stack.windings.size() > kMostWindings)
    return Failure{"巻線が多すぎます（1つの巻枠に8巻線まで）。"};
  for (std::size_t i = 1; i < stack.windings.size(); ++i) {
    const Winding& w = stack.windings[i];
    const Insulation& tape = w.under;
    if (!(tape.thicknessPerLayer >= 0 && tape.thicknessPerLayer <= kLargestSize))
      return windingFailure(i, w, "層間絶縁の厚みは0～1,000,000 mmの範囲で入力してください");
    if (tape.layers < 0 || tape.layers > kMostInsulationLayers)
      return windingFailure(i, w, "層間絶縁の層数は0～1,000の範囲で入力してください");
  }
  return std::nullopt;
}

// The press of one winding on the former it sits on, as 計算 presses a coil
// typed with those sizes: from a window as it opens, no press before it.
Expected<WindingResult> pressWinding(std::size_t index, const Winding& winding,
                                     const Former& former, PressProgress* progress,
                                     const WindingPressed& pressed) {
  WindingResult w;
  w.former = former;
  w.calculation = calculate(inputsOf(onFormer(winding.coil, former)), {}, progress);
  if (pressed) pressed(index, former, w.calculation);
  const CoilPress& press = w.calculation.press;
  switch (press.outcome) {
    case PressOutcome::Complete:
      break;
    case PressOutcome::Cancelled:
      return cancellation();
    case PressOutcome::Refused: {
      std::string message = press.message;
      // The user typed the first winding's former; the others' are worked
      // out, and a size refused there comes from the windings below.
      if (index > 0 && press.refusedInput && isFormerSize(*press.refusedInput))
        message += "（内側の寸法は、下の巻線と層間絶縁の外側として求めたものです）";
      return windingFailure(index, winding, std::move(message));
    }
    case PressOutcome::LengthFailed:
    case PressOutcome::NoShape:
      return windingFailure(index, winding, press.message);
  }
  const CoilResults& r = press.results;
  // The crossing zone builds a full wire where the rest nests: the next
  // winding lies on the higher of the two, normally the crossing height.
  w.buildFrom = r.crossHeight >= r.alignedHeight ? BuildHeight::Predicted : BuildHeight::Aligned;
  w.build = std::max(r.crossHeight, r.alignedHeight);
  w.outside = grownBy(former, w.build);
  const double k = r.thinWireFactor;
  w.alignedDcrOhm = r.weights.alignedDcr * k;
  w.predictedDcrOhm = r.weights.predictedDcr * k;
  return w;
}

// The first `count` windings of the stack, computed in order.
Expected<StackResult> computeWindings(const WindingStack& stack, std::size_t count,
                                      PressProgress* progress, const WindingPressed& pressed = {}) {
  if (std::optional<Failure> problem = stackProblem(stack)) return *std::move(problem);
  StackResult result;
  Former former = stack.former;
  for (std::size_t i = 0; i < count && i < stack.windings.size(); ++i) {
    const Winding& winding = stack.windings[i];
    if (i > 0) former = grownBy(result.windings.back().outside, winding.under.thickness());
    if (progress && progress->cancelled()) return cancellation();
    Expected<WindingResult> done = pressWinding(i, winding, former, progress, pressed);
    if (!done) return done.failure();
    const WeightResistance& weights = done->results().weights;
    const auto material = static_cast<std::size_t>(winding.coil.material);
    result.alignedConductorGrams[material] += weights.alignedConductorWeight;
    result.predictedConductorGrams[material] += weights.predictedConductorWeight;
    result.outside = done->outside;
    result.windings.push_back(std::move(done.value()));
  }
  for (const double grams : result.predictedConductorGrams) {
    if (!std::isfinite(grams)) return overflowFailure();
  }
  return result;
}

}  // namespace

std::optional<Former> formerOf(const Coil& coil) {
  if (!coil.former) return std::nullopt;
  return Former{*coil.former,   coil.innerDiameter, coil.sideA,
                coil.sideB,     coil.cornerR1,      coil.cornerR2.value_or(coil.cornerR1),
                coil.fanRadius, coil.fanAngle};
}

Coil onFormer(Coil coil, const Former& former) {
  coil.former = former.shape;
  coil.innerDiameter = former.innerDiameter;
  coil.sideA = former.sideA;
  coil.sideB = former.sideB;
  coil.cornerR1 = former.cornerR1;
  coil.cornerR2 = former.cornerR2;
  coil.fanRadius = former.fanRadius;
  coil.fanAngle = former.fanAngle;
  return coil;
}

Former grownBy(const Former& former, double build) {
  Former f = former;
  switch (former.shape) {
    case FormerShape::Round:
      f.innerDiameter = former.innerDiameter + 2 * build;
      break;
    case FormerShape::Rectangular:
      f.sideA = former.sideA + 2 * build;
      f.sideB = former.sideB + 2 * build;
      f.cornerR1 = former.cornerR1 + build;
      f.cornerR2 = former.cornerR2 + build;
      break;
    case FormerShape::Fan: {
      // The outline's straight edge of width B meets sides that spread at
      // AG/2 from the axis; its r2 corners are centred r2 above the edge and
      // B / 2 − r2·tan(AG/2) from the axis, its r1 corners on the circle of
      // R − r1 round the arc's centre. Grown by the build, every corner keeps
      // its centre: the edge moves down and the arc up by the build.
      const double slant = std::tan((former.fanAngle * 0.5) * (kPi / 180));
      f.sideA = former.sideA + 2 * build;
      f.sideB = former.sideB + 2 * build * slant;
      f.cornerR1 = former.cornerR1 + build;
      f.cornerR2 = former.cornerR2 + build;
      f.fanRadius = former.fanRadius + build;
      break;
    }
  }
  return f;
}

std::string windingLabel(std::size_t index, std::string_view name) {
  std::string label = "巻線" + std::to_string(index + 1);
  if (!name.empty()) label += "「" + std::string(name) + "」";
  return label;
}

Expected<StackResult> computeStack(const WindingStack& stack, PressProgress* progress,
                                   const WindingPressed& pressed) {
  return computeWindings(stack, stack.windings.size(), progress, pressed);
}

Expected<SolvedStack> solveStackTarget(const WindingStack& stack, std::size_t index,
                                       const ShownTarget& target, PressProgress* progress) {
  if (index >= stack.windings.size()) {
    if (std::optional<Failure> problem = stackProblem(stack)) return *std::move(problem);
    return Failure{"目標値を入れた巻線がありません。"};
  }
  // The winding as it stands on the former it inherits: its press leaves
  // the state the walk sums its turns from.
  const Expected<StackResult> below = computeWindings(stack, index + 1, progress);
  if (!below) return below.failure();
  const Winding& winding = stack.windings[index];
  const CalculationState& state = below->windings[index].calculation.press.state;
  const TurnsFound found =
      turnsForTarget(state, target, static_cast<std::int32_t>(kMostTurns), progress);
  if (found.cancelled() || (progress && progress->cancelled())) return cancellation();
  if (!found) return windingFailure(index, winding, found.message());
  if (!found->has_value())
    return windingFailure(index, winding, std::string(kTargetUnreachableMessage));

  SolvedStack solved;
  solved.stack = stack;
  solved.turns = **found;
  solved.stack.windings[index].coil.turns = solved.turns;
  Expected<StackResult> result = computeStack(solved.stack, progress);
  if (!result) return result.failure();
  solved.result = std::move(result.value());
  return solved;
}

}  // namespace kelvane
