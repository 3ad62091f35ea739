#include "core/inverse_solvers.h"

#include <algorithm>
#include <cmath>

#include "core/turn_length.h"
#include "core/weight_resistance.h"
#include "core/wire_length.h"

namespace kelvane {

namespace {

// A long walk looks up this often to report and to see whether it has been
// called off.
constexpr std::int32_t kProgressStride = 1 << 22;

// Winds turn after turn, summing the two lengths in the order the forward
// routines sum them, and computes after each turn the box value a press of
// that many turns shows.
template <typename Turn>
TurnsFound solveTurns(Turn turn, const CalculationState& state, const TurnsTarget& target,
                      std::int32_t turnLimit, PressProgress* progress) {
  const CoilInputs& in = state.inputs;
  const double leads = 2 * in.leadLength;
  auto shown = [&](double maxLength, double midLength) {
    const WeightResistance w =
        ComputeWeightResistance(in.bareDiameter, in.finishedDiameter, leads + maxLength,
                                leads + midLength, in.resistivity, in.density);
    return (target.kind == TargetKind::Weight ? w.totalWeightMax : w.dcrMid) * target.shownFactor;
  };
  auto reached = [&](double value) -> std::optional<bool> {
    if (!std::isfinite(value)) return std::nullopt;
    return value >= target.threshold;
  };

  const auto none = reached(shown(0, 0));
  if (!none) return overflowFailure();
  if (*none) return std::optional<std::int32_t>{0};

  auto walk = LayerWalk::start(state.turnsOddLayer, state.turnsEvenLayer, state.crossAllowance);
  if (!walk) return overflowFailure();
  double maxLength = 0, midLength = 0;
  double maxTerm = turn.maxTerm();
  double midTerm = turn.midTerm(walk->allowance());
  std::int64_t nextReport = kProgressStride;
  for (std::int32_t j = 1; j <= turnLimit;) {
    const auto newLayer = walk->advance(j);
    if (!newLayer) return overflowFailure();
    if (*newLayer) {
      turn.nextLayer();
      maxTerm = turn.maxTerm();
      midTerm = turn.midTerm(walk->allowance());
    }
    // Turn j and the rest of its layer: every turn of a layer is as long as
    // the first, so a layer that ends below the target is summed in one run.
    const std::int32_t last = std::min(std::max(walk->layerEnd(), j), turnLimit);
    double maxEnd = maxLength, midEnd = midLength;
    for (std::int32_t k = j;; ++k) {
      maxEnd = maxEnd + maxTerm;
      midEnd = midEnd + midTerm;
      if (k == last) break;
    }
    const auto atEnd = reached(shown(maxEnd, midEnd));
    if (!atEnd) return overflowFailure();
    if (*atEnd) {
      // The target falls within this layer: find its turn.
      for (std::int32_t k = j;; ++k) {
        maxLength = maxLength + maxTerm;
        midLength = midLength + midTerm;
        const auto now = reached(shown(maxLength, midLength));
        if (!now) return overflowFailure();
        if (*now) return std::optional<std::int32_t>{k - 1};
        if (k == last) break;
      }
    }
    maxLength = maxEnd;
    midLength = midEnd;
    if (last == turnLimit) break;
    j = last + 1;
    if (progress && j >= nextReport) {
      progress->report(static_cast<double>(j) / turnLimit);
      if (progress->cancelled()) return Failure{};
      nextReport = std::int64_t{j} + kProgressStride;
    }
  }
  return std::optional<std::int32_t>{};
}

}  // namespace

TurnsFound rectangularTurnsForTarget(const CalculationState& state, const TurnsTarget& target,
                                     std::int32_t turnLimit, PressProgress* progress) {
  return solveTurns(RectangularTurn::firstLayer(state), state, target, turnLimit, progress);
}

TurnsFound roundTurnsForTarget(const CalculationState& state, const TurnsTarget& target,
                               std::int32_t turnLimit, PressProgress* progress) {
  return solveTurns(RoundTurn::firstLayer(state), state, target, turnLimit, progress);
}

TurnsFound fanTurnsForTarget(const CalculationState& state, const TurnsTarget& target,
                             std::int32_t turnLimit, PressProgress* progress) {
  // The outline is the one the last fan press found.
  return solveTurns(FanTurn::firstLayer(state, state.fanContour), state, target, turnLimit,
                    progress);
}

double shownThreshold(double typed) {
  // The box shows values rounded half away from zero to three decimals: it
  // reads `typed` or more from the first thousandth at or above it, less half
  // a thousandth.
  const double thousandths = std::ceil(typed * 1000 - 1e-6);
  return (thousandths - 0.5) / 1000;
}

}  // namespace kelvane
