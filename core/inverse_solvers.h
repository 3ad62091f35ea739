#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/calculation_state.h"
#include "core/expected.h"
#include "core/press_progress.h"
#include "core/wire_length.h"

namespace kelvane {

// Which result box of the Max column a target is typed into.
enum class TargetKind {
  Weight,      // the total weight of the Max length
  Resistance,  // the corrected resistance of the Mid length, shown in the Max column
};

// A target as its box shows values: a press whose value, multiplied by
// shownFactor (the box's unit, and k for the resistance), comes to threshold
// or more shows the target or more in the box.
struct TurnsTarget {
  TargetKind kind = TargetKind::Weight;
  double threshold = 0;
  double shownFactor = 1;
};

// The two totals of the turn lengths, leads not included, that presses of a
// few counts around the answer add up, as the search summed them on its way:
// counts first, first + 1, … How a count near the answer is settled without
// summing its turns once more.
struct SumsNearAnswer {
  std::int32_t first = 0;
  std::vector<WindingLengths> sums;
  // Those of n turns; null when the search did not sum them.
  const WindingLengths* of(std::int32_t n) const {
    const std::int64_t i = std::int64_t{n} - first;
    return i >= 0 && i < static_cast<std::int64_t>(sums.size()) ? &sums[i] : nullptr;
  }
};

// The inverse of the length routines (rectangularTurnsForTarget rectangular, roundTurnsForTarget
// round, fanTurnsForTarget fan). Finds, exactly as a press of the state's inputs sums its turns
// (its lead length as given there), the most whole turns whose press stays below the target: 0
// when the leads alone reach it, nothing when even turnLimit turns stay below. On every real
// winding this costs about one press of the answer, and a target beyond turnLimit turns is told
// from a bound without summing; the count is the one a walk turn after turn finds. With a
// progress, a long search reports how far it has come and stops, with a cancellation,
// when called off. With `near`, the totals of the counts around the answer that it summed.
using TurnsFound = Expected<std::optional<std::int32_t>>;
TurnsFound rectangularTurnsForTarget(const CalculationState& state, const TurnsTarget& target,
                                     std::int32_t turnLimit, PressProgress* progress = nullptr,
                                     SumsNearAnswer* near = nullptr);
TurnsFound roundTurnsForTarget(const CalculationState& state, const TurnsTarget& target,
                               std::int32_t turnLimit, PressProgress* progress = nullptr,
                               SumsNearAnswer* near = nullptr);
TurnsFound fanTurnsForTarget(const CalculationState& state, const TurnsTarget& target,
                             std::int32_t turnLimit, PressProgress* progress = nullptr,
                             SumsNearAnswer* near = nullptr);

// The threshold of a target typed as `typed`: the least value whose box
// text, rounded to three decimals, reads `typed` or more.
double shownThreshold(double typed);

}  // namespace kelvane
