#pragma once

#include <cstdint>
#include <optional>

#include "core/calculation_state.h"
#include "core/expected.h"
#include "core/press_progress.h"

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

// The inverse of the length routines (rectangularTurnsForTarget rectangular, roundTurnsForTarget
// round, fanTurnsForTarget fan). Winds turn after turn exactly as a press of the state's inputs
// would (its lead length as given there) and gives the most whole turns whose press stays below the
// target: 0 when the leads alone reach it, nothing when even turnLimit turns stay below. With a
// progress, a long walk reports how far it has come and stops, with a failure without message, when
// called off.
using TurnsFound = Expected<std::optional<std::int32_t>>;
TurnsFound rectangularTurnsForTarget(const CalculationState& state, const TurnsTarget& target,
                                     std::int32_t turnLimit, PressProgress* progress = nullptr);
TurnsFound roundTurnsForTarget(const CalculationState& state, const TurnsTarget& target,
                               std::int32_t turnLimit, PressProgress* progress = nullptr);
TurnsFound fanTurnsForTarget(const CalculationState& state, const TurnsTarget& target,
                             std::int32_t turnLimit, PressProgress* progress = nullptr);

// The threshold of a target typed as `typed`: the least value whose box
// text, rounded to three decimals, reads `typed` or more.
double shownThreshold(double typed);

}  // namespace kelvane
