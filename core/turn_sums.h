#pragma once

// The sum of the turn lengths of a winding, shared by the press and the
// search for a target's turns: both must add the same lengths in the same
// order, so that a count the search settles on gives, when pressed, the very
// totals the search compared.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

#include "core/turn_length.h"
#include "core/wire_length.h"

namespace kelvane {

// The walk of every real winding: both layer counts whole, of one turn or more.
// Its layers begin where LayerWalk's do, with the same allowance; but with a
// turn in every layer the layer number cannot run out and no end falls behind
// its turn, so beginning a layer costs two additions. On narrow layers that
// step is a good part of the work of a turn.
class WholeLayerWalk {
 public:
  // Empty unless both counts are whole numbers from 1 to 2^31 − 1.
  static std::optional<WholeLayerWalk> start(double turnsOddLayer, double turnsEvenLayer,
                                             double crossAllowance) {
    const auto whole = [](double turns) {
      return std::floor(turns) == turns && turns >= 1 &&
             turns <= std::numeric_limits<std::int32_t>::max();
    };
    if (!whole(turnsOddLayer) || !whole(turnsEvenLayer)) return std::nullopt;
    return WholeLayerWalk(static_cast<std::int64_t>(turnsOddLayer),
                          static_cast<std::int64_t>(turnsEvenLayer), crossAllowance);
  }
  // The layer after this one begins; false when its end no longer fits 32 bits.
  bool beginNextLayer() {
    end_ = end_ + next_;
    std::swap(next_, afterNext_);
    allowance_ = allowance_ + c_;
    return end_ <= std::numeric_limits<std::int32_t>::max();
  }
  std::int64_t layerEnd() const { return end_; }
  double allowance() const { return allowance_; }

 private:
  WholeLayerWalk(std::int64_t odd, std::int64_t even, double c)
      : end_(odd), next_(even), afterNext_(odd), c_(c) {}
  std::int64_t end_;
  std::int64_t next_;       // turns of the next layer
  std::int64_t afterNext_;  // and of the one after it
  double c_;
  double allowance_ = 0;
};

// Either walk begins the layer of turn j, which lies past the current one.
inline bool beginLayerOf(LayerWalk& walk, std::int64_t j) {
  return walk.advance(static_cast<std::int32_t>(j)).has_value();
}
inline bool beginLayerOf(WholeLayerWalk& walk, std::int64_t) { return walk.beginNextLayer(); }
// The last turn of the layer of turn j: behind it the layer holds turn j alone.
inline std::int64_t lastTurnOfLayer(const LayerWalk& walk, std::int64_t j) {
  return std::max(std::int64_t{walk.layerEnd()}, j);
}
inline std::int64_t lastTurnOfLayer(const WholeLayerWalk& walk, std::int64_t) {
  return walk.layerEnd();
}

namespace turn_sums {

// The turns are summed in runs of at most this many. A run is planned first,
// layer by layer, into a buffer of the lengths of its turns; then the buffer
// is summed. Planning the next run does not wait for that sum, so the
// processor takes it up while the additions go on: the chain of additions is
// the only part that goes turn by turn. A run this short keeps both in reach
// of the processor at once.
inline constexpr std::int32_t kRunTurns = 32;
// A layer of up to this many turns is written into the buffer with this many
// stores whatever its width (the next layer overwrites the excess), so that
// narrow layers cost no branch of their own. Wider layers skip the buffer.
inline constexpr std::int32_t kNarrowLayer = 4;

}  // namespace turn_sums

// Adds the lengths of turns first … last (1 ≤ first ≤ last) to the two totals
// side by side: the additions of a walk turn after turn, in their order
// (fuzz/turn_by_turn_walk.h is that walk), the length of a turn taken once per
// layer. `turn` and `walk` stand at the layer of turn first − 1 (the first
// layer before any turn) and are left at the layer of turn last. False when a
// layer end runs past 32 bits or a total is no longer finite: neither ever
// comes back, and what is left in the three is then of no use. This one takes
// any layer counts (half, none, negative); whole counts have their own below.
template <typename Turn, typename Walk>
bool addTurns(Turn& turnAt, Walk& walkAt, LengthPair& totals, std::int64_t first,
              std::int64_t last) {
  using turn_sums::kNarrowLayer;
  using turn_sums::kRunTurns;
  // Worked on in locals: the buffer's stores could otherwise alias them.
  Turn turn = turnAt;
  Walk walk = walkAt;
  LengthPair sum = totals;
  LengthPair term = turn.lengths(walk.allowance());
  LengthPair run[kRunTurns + kNarrowLayer];
  const auto beginLayer = [&](std::int64_t j) {
    if (!beginLayerOf(walk, j)) return false;
    turn.nextLayer();
    term = turn.lengths(walk.allowance());
    return true;
  };
  bool ok = true;
  for (std::int64_t j = first;;) {
    // This run: turns j … stop.
    const std::int64_t stop = std::min(last, j + kRunTurns - 1);
    // Turn j, and the rest of the run a layer after another; every layer but
    // the first of the run begins with a turn.
    LengthPair* planned = run;
    if (j > walk.layerEnd() && !beginLayer(j)) {
      ok = false;
      break;
    }
    for (;;) {
      const std::int64_t end = std::min(lastTurnOfLayer(walk, j), stop);
      const std::int64_t turns = end - j + 1;
      if (turns <= kNarrowLayer) {
        for (std::int32_t k = 0; k < kNarrowLayer; ++k) planned[k] = term;
        planned += turns;
      } else {
        // A wide layer has nothing to plan: the turns planned before it are
        // added, then its own.
        for (const LengthPair* t = run; t != planned; ++t) sum = sum + *t;
        planned = run;
        for (std::int64_t k = 0; k < turns; ++k) sum = sum + term;
      }
      if (end == stop) break;
      j = end + 1;
      if (!beginLayer(j)) {
        ok = false;
        break;
      }
    }
    if (!ok) break;
#pragma GCC unroll 8
    for (const LengthPair* t = run; t != planned; ++t) sum = sum + *t;
    // A turn length that is not finite leaves a sum that is not finite, and
    // so does a sum grown past the largest double; neither ever comes back,
    // so the sum stops here instead of walking on.
    if (!std::isfinite(sum[0]) || !std::isfinite(sum[1])) {
      ok = false;
      break;
    }
    if (stop == last) break;
    j = stop + 1;
  }
  turnAt = turn;
  walkAt = walk;
  totals = sum;
  return ok;
}

// The same sum on whole layer counts, the walk of every real winding: the
// turns of a layer are added straight onto the totals, with no plan in
// between. The time goes into the chain of additions, one per turn; all else
// a layer needs (its end, its allowance, its turn length) depends only on the
// layers before it, never on the totals, so the processor works it out layers
// ahead while the additions go on, as long as it takes only a few
// instructions per layer. The additions are those of the walk above, in the
// same order; the totals are only looked at once every kFiniteCheckTurns turns
// instead of every run, which changes nothing but how far a lost sum goes on.
namespace turn_sums {

inline constexpr std::int64_t kFiniteCheckTurns = 4096;

// The totals with `term` added n times (n ≥ 1), one turn after another. A
// narrow layer goes without a loop of its own.
inline LengthPair addTimes(LengthPair sum, LengthPair term, std::int64_t n) {
  // Unrolled on purpose: each case adds one turn and falls through.
  // NOLINTBEGIN(bugprone-branch-clone)
  switch (n) {
    case 4:
      sum = sum + term;
      [[fallthrough]];
    case 3:
      sum = sum + term;
      [[fallthrough]];
    case 2:
      sum = sum + term;
      [[fallthrough]];
    case 1:
      return sum + term;
    default:
      for (std::int64_t k = 0; k < n; ++k) sum = sum + term;
      return sum;
  }
  // NOLINTEND(bugprone-branch-clone)
}

}  // namespace turn_sums

template <typename Turn>
bool addTurns(Turn& turnAt, WholeLayerWalk& walkAt, LengthPair& totals, std::int64_t first,
              std::int64_t last) {
  using turn_sums::addTimes;
  using turn_sums::kFiniteCheckTurns;
  // Worked on in locals, as above.
  Turn turn = turnAt;
  WholeLayerWalk walk = walkAt;
  LengthPair sum = totals;
  LengthPair term = turn.lengths(walk.allowance());
  // Every layer holds a turn: the turn after a layer's last begins exactly
  // the next layer.
  const auto beginLayer = [&] {
    if (!walk.beginNextLayer()) return false;
    turn.nextLayer();
    term = turn.lengths(walk.allowance());
    return true;
  };
  bool ok = first <= walk.layerEnd() || beginLayer();
  for (std::int64_t j = first; ok;) {
    // This stretch: turns j … stop, in the layer of turn j and after it.
    const std::int64_t stop = std::min(last, j + kFiniteCheckTurns - 1);
    // The layers that end inside the stretch, whole from turn j on.
    while (walk.layerEnd() < stop) {
      sum = addTimes(sum, term, walk.layerEnd() - j + 1);
      j = walk.layerEnd() + 1;
      if (!beginLayer()) {
        ok = false;
        break;
      }
    }
    if (!ok) break;
    // The layer of turn stop, up to it.
    sum = addTimes(sum, term, stop - j + 1);
    if (!std::isfinite(sum[0]) || !std::isfinite(sum[1])) {
      ok = false;
      break;
    }
    if (stop == last) break;
    j = stop + 1;
    if (j > walk.layerEnd()) ok = beginLayer();
  }
  turnAt = turn;
  walkAt = walk;
  totals = sum;
  return ok;
}

}  // namespace kelvane
