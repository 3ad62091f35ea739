#pragma once

// The winding summed the plain way: one turn after another, each turn's
// length taken afresh from the layer it lies in. The length routines plan
// their sums layer by layer and run by run; whatever the state, they must
// give what this walk gives, bit for bit, or fail with the same message.

#include <cmath>
#include <cstdint>

#include "core/calculation_state.h"
#include "core/coil_math.h"
#include "core/expected.h"
#include "core/turn_length.h"
#include "core/wire_length.h"

namespace kelvane::check {

template <typename Turn>
Expected<WindingLengths> sumTurnByTurn(Turn turn, const CalculationState& state) {
  auto walk = LayerWalk::start(state.turnsOddLayer, state.turnsEvenLayer, state.crossAllowance);
  const auto count = floorToInt32(state.inputs.turns);
  if (!walk || !count) return overflowFailure();
  WindingLengths sum;
  for (std::int64_t j = 1; j <= *count; ++j) {
    const auto newLayer = walk->advance(static_cast<std::int32_t>(j));
    if (!newLayer) return overflowFailure();
    // A layer whose turns no longer have a finite length stops the walk;
    // the first layer's turns are left to the totals.
    if (*newLayer) {
      turn.nextLayer();
      if (!std::isfinite(turn.maxTerm()) || !std::isfinite(turn.midTerm(walk->allowance()))) {
        return overflowFailure();
      }
    }
    sum.maxLength = sum.maxLength + turn.maxTerm();
    sum.midLength = sum.midLength + turn.midTerm(walk->allowance());
  }
  if (!std::isfinite(sum.maxLength) || !std::isfinite(sum.midLength)) {
    return overflowFailure();
  }
  return sum;
}

// rectangularWindingLength, roundWindingLength and the walk of fanWindingLength (with the outline
// it found), turn by turn.
inline Expected<WindingLengths> rectangularTurnByTurn(const CalculationState& state) {
  return sumTurnByTurn(RectangularTurn::firstLayer(state), state);
}
inline Expected<WindingLengths> roundTurnByTurn(const CalculationState& state) {
  return sumTurnByTurn(RoundTurn::firstLayer(state), state);
}
inline Expected<WindingLengths> fanTurnByTurn(const CalculationState& state,
                                              const FanContour& outline) {
  return sumTurnByTurn(FanTurn::firstLayer(state, outline), state);
}

}  // namespace kelvane::check
