#include "core/inverse_solvers.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/coil_math.h"
#include "core/turn_length.h"
#include "core/turn_sums.h"
#include "core/weight_resistance.h"
#include "core/wire_length.h"

namespace kelvane {

namespace {

// A long search looks up this often to report and to see whether it has been
// called off.
constexpr std::int32_t kProgressStride = 1 << 22;
// The quick search sums this many turns at a time, as a press does, before it
// looks at the box; the stretch in which the target falls is then walked
// layer by layer. Long enough that looking costs nothing beside the sum, short
// enough that the walk costs little beside a press.
constexpr std::int32_t kStretchTurns = 2048;
// Counts either side of the answer whose totals are kept for settling it.
constexpr std::int32_t kCountsKeptBelow = 3;
constexpr std::int32_t kCountsKeptAbove = 4;

// The box the target is typed into, as it shows a press whose two totals of
// turn lengths (leads not included) are given.
class TargetBox {
 public:
  TargetBox(const CoilInputs& in, const TurnsTarget& target) : in_(in), target_(target) {}

  double shown(LengthPair totals) const {
    const double leads = 2 * in_.leadLength;
    const WeightResistance w =
        ComputeWeightResistance(in_.bareDiameter, in_.finishedDiameter, leads + totals[0],
                                leads + totals[1], in_.resistivity, in_.density);
    return (target_.kind == TargetKind::Weight ? w.alignedWeight : w.predictedDcr) *
           target_.shownFactor;
  }
  // Empty when the value is not finite.
  std::optional<bool> reached(double value) const {
    if (!std::isfinite(value)) return std::nullopt;
    return value >= target_.threshold;
  }
  double threshold() const { return target_.threshold; }
  // The total the box is worked out from: the weight from the total without
  // the crossing allowance, the resistance from the one with it.
  int lane() const { return target_.kind == TargetKind::Weight ? 0 : 1; }

  // Whether a longer total never shows less: every factor from the length to
  // the box is zero or more. Then so are the weights of conductor and
  // insulation and the resistance per millimetre, and each rounded step keeps
  // the order of the lengths.
  bool risesWithLength() const {
    const double s = circleArea(in_.bareDiameter);
    if (!(s >= 0 && target_.shownFactor >= 0)) return false;
    if (target_.kind == TargetKind::Weight)
      return in_.density >= 0 && circleArea(in_.finishedDiameter) - s >= 0;
    return s == 0 || (in_.resistivity / s) / kMmPerKm >= 0;
  }

 private:
  const CoilInputs& in_;
  const TurnsTarget& target_;
};

// Where a search stands: the turn shape and the layer walk at the layer of the
// last turn summed, the two totals, and how many turns they hold.
template <typename Turn, typename Walk>
struct Winding {
  Turn turn;
  Walk walk;
  LengthPair totals = {0, 0};
  std::int64_t turns = 0;
};

// Walks on from where the winding stands, turn after turn as a press would
// sum them, and computes the box value a press shows at the end of each layer
// (and, in the layer that reaches the target, after each of its turns).
template <typename Turn, typename Walk>
TurnsFound walkToTarget(Winding<Turn, Walk> at, const TargetBox& box, std::int32_t turnLimit,
                        PressProgress* progress) {
  Turn& turn = at.turn;
  Walk& walk = at.walk;
  LengthPair sum = at.totals;
  LengthPair term = turn.lengths(walk.allowance());
  std::int64_t nextReport = at.turns + kProgressStride;
  for (std::int64_t j = at.turns + 1; j <= turnLimit;) {
    if (j > walk.layerEnd()) {
      if (!beginLayerOf(walk, j)) return overflowFailure();
      turn.nextLayer();
      term = turn.lengths(walk.allowance());
    }
    // Turn j and the rest of its layer: every turn of a layer is as long as
    // the first, so a layer that ends below the target is summed in one run.
    const std::int64_t last = std::min(lastTurnOfLayer(walk, j), std::int64_t{turnLimit});
    LengthPair end = sum;
    for (std::int64_t k = j;; ++k) {
      end = end + term;
      if (k == last) break;
    }
    const auto atEnd = box.reached(box.shown(end));
    if (!atEnd) return overflowFailure();
    if (*atEnd) {
      // The target falls within this layer: find its turn.
      for (std::int64_t k = j;; ++k) {
        sum = sum + term;
        const auto now = box.reached(box.shown(sum));
        if (!now) return overflowFailure();
        if (*now) return std::optional<std::int32_t>{static_cast<std::int32_t>(k - 1)};
        if (k == last) break;
      }
    }
    sum = end;
    if (last == turnLimit) break;
    j = last + 1;
    if (progress && j >= nextReport) {
      progress->report(static_cast<double>(j) / turnLimit);
      if (progress->cancelled()) return cancellation();
      nextReport = j + kProgressStride;
    }
  }
  return std::optional<std::int32_t>{};
}

// Whether no count up to turnLimit shows the box at the target, told without
// summing: every turn lies between the first layer's and the outgrown turn of
// the last layer, the sum of turnLimit of them strays from the exact one by
// less than 2.4e-7 of their magnitudes, and the box rises with the total. False
// also when a walk there would fail (a layer end past 32 bits, or a box value
// that is not finite).
template <typename Turn>
bool beyondReach(const Turn& turn, const CalculationState& state, const TargetBox& box,
                 std::int32_t turnLimit) {
  // The layer of the last turn, and its end; the layer counts are whole and
  // of one turn or more.
  const auto odd = static_cast<std::int64_t>(state.turnsOddLayer);
  const auto pair = odd + static_cast<std::int64_t>(state.turnsEvenLayer);
  const std::int64_t pairs = (std::int64_t{turnLimit} - 1) / pair;
  const bool inOddLayer = turnLimit - pairs * pair <= odd;
  if (pairs * pair + (inOddLayer ? odd : pair) > std::numeric_limits<std::int32_t>::max())
    return false;
  const auto layerChanges = static_cast<double>(2 * pairs + (inOddLayer ? 0 : 1));

  const int lane = box.lane();
  const double first = turn.lengths(0)[lane];
  const double last =
      turn.outgrown(layerChanges).lengths(grownAtMost(0, state.crossAllowance, layerChanges))[lane];
  const double n = turnLimit;
  const double spread = 1e-6 * n * std::max(std::fabs(first), std::fabs(last));
  const double most = n * std::max(last, 0.0) + spread;
  const double least = n * std::min(first, 0.0) - spread;
  const double high = box.shown(LengthPair{most, most});
  const double low = box.shown(LengthPair{least, least});
  return std::isfinite(high) && std::isfinite(low) && !(high >= box.threshold());
}

// The totals of the counts around `answer` that lie at or after where the
// winding stands, summed on from there.
template <typename Turn, typename Walk>
void keepSumsNear(Winding<Turn, Walk> at, std::int32_t answer, std::int32_t turnLimit,
                  SumsNearAnswer& near) {
  const std::int64_t from = std::max(at.turns, std::int64_t{answer} - kCountsKeptBelow);
  const std::int64_t to =
      std::min(std::int64_t{answer} + kCountsKeptAbove, std::int64_t{turnLimit});
  if (from > at.turns && !addTurns(at.turn, at.walk, at.totals, at.turns + 1, from)) return;
  near.first = static_cast<std::int32_t>(from);
  near.sums.push_back({at.totals[0], at.totals[1]});
  for (std::int64_t k = from + 1; k <= to; ++k) {
    if (!addTurns(at.turn, at.walk, at.totals, k, k)) return;
    near.sums.push_back({at.totals[0], at.totals[1]});
  }
}

template <typename Turn>
TurnsFound solveTurns(Turn turn, const CalculationState& state, const TurnsTarget& target,
                      std::int32_t turnLimit, PressProgress* progress, SumsNearAnswer* near) {
  const TargetBox box(state.inputs, target);
  const auto none = box.reached(box.shown(LengthPair{0, 0}));
  if (!none) return overflowFailure();
  if (*none) return std::optional<std::int32_t>{0};

  const auto walk =
      LayerWalk::start(state.turnsOddLayer, state.turnsEvenLayer, state.crossAllowance);
  if (!walk) return overflowFailure();
  // The quick search needs a box that rises turn after turn: whole layers,
  // turns no shorter than those below them, and a box that rises with the
  // total. Anything else is walked turn after turn to the limit.
  const auto whole =
      WholeLayerWalk::start(state.turnsOddLayer, state.turnsEvenLayer, state.crossAllowance);
  if (!whole || turnLimit < 1 || !turn.growsOutward() || !(state.crossAllowance >= 0) ||
      !box.risesWithLength()) {
    return walkToTarget(Winding<Turn, LayerWalk>{turn, *walk}, box, turnLimit, progress);
  }
  if (beyondReach(turn, state, box, turnLimit)) return std::optional<std::int32_t>{};
  // Turns of negative length (a former smaller than its corners) make the
  // total fall before it rises.
  if (!(turn.lengths(0)[box.lane()] >= 0))
    return walkToTarget(Winding<Turn, LayerWalk>{turn, *walk}, box, turnLimit, progress);

  // The box rises with every turn: summed a stretch at a time, the first
  // stretch whose end shows the target (or fails) holds the answer, and
  // nothing before it can.
  Winding<Turn, WholeLayerWalk> at{turn, *whole};
  std::int64_t nextReport = kProgressStride;
  while (at.turns < turnLimit) {
    Winding<Turn, WholeLayerWalk> next = at;
    next.turns = std::min(at.turns + kStretchTurns, std::int64_t{turnLimit});
    if (!addTurns(next.turn, next.walk, next.totals, at.turns + 1, next.turns)) break;
    const auto reached = box.reached(box.shown(next.totals));
    if (!reached || *reached) break;
    at = next;
    if (progress && at.turns >= nextReport) {
      progress->report(static_cast<double>(at.turns) / turnLimit);
      if (progress->cancelled()) return cancellation();
      nextReport = at.turns + kProgressStride;
    }
  }
  if (at.turns == turnLimit) return std::optional<std::int32_t>{};
  TurnsFound found = walkToTarget(at, box, turnLimit, progress);
  if (near && found && found->has_value()) keepSumsNear(at, **found, turnLimit, *near);
  return found;
}

}  // namespace

TurnsFound rectangularTurnsForTarget(const CalculationState& state, const TurnsTarget& target,
                                     std::int32_t turnLimit, PressProgress* progress,
                                     SumsNearAnswer* near) {
  return solveTurns(RectangularTurn::firstLayer(state), state, target, turnLimit, progress, near);
}

TurnsFound roundTurnsForTarget(const CalculationState& state, const TurnsTarget& target,
                               std::int32_t turnLimit, PressProgress* progress,
                               SumsNearAnswer* near) {
  return solveTurns(RoundTurn::firstLayer(state), state, target, turnLimit, progress, near);
}

TurnsFound fanTurnsForTarget(const CalculationState& state, const TurnsTarget& target,
                             std::int32_t turnLimit, PressProgress* progress,
                             SumsNearAnswer* near) {
  // The outline is the one the last fan press found.
  return solveTurns(FanTurn::firstLayer(state, state.fanContour), state, target, turnLimit,
                    progress, near);
}

double shownThreshold(double typed) {
  // The box shows values rounded half away from zero to three decimals: it
  // reads `typed` or more from the first thousandth at or above it, less half
  // a thousandth.
  const double thousandths = std::ceil(typed * 1000 - 1e-6);
  return (thousandths - 0.5) / 1000;
}

}  // namespace kelvane
