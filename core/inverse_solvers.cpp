#include "core/inverse_solvers.h"

#include <cmath>

#include "core/coil_math.h"
#include "core/turn_length.h"
#include "core/wire_length.h"

namespace kelvane {

namespace {

// Winds turn after turn as the forward routine does for its max total, adds
// the two leads, and stops at the first turn whose conductor weight (mg) or
// resistance (Ω) reaches the target: the turns before it are the answer.
template <typename Turn>
Expected<std::int32_t> solveTurns(Turn turn, const CalculationState& state, double target,
                                  TargetKind kind, double leadLength,
                                  MaterialValues material) {
  const double leads = 2 * leadLength;
  const double area = state.mConductorArea;
  if (kind == TargetKind::Resistance && area == 0) return divisionByZeroFailure();
  // The allowance plays no part in the max total.
  auto walk = LayerWalk::start(state.mTurnsOddLayer, state.mTurnsEvenLayer, 0);
  if (!walk) return overflowFailure();

  double wound = 0;
  double turnLength = turn.maxTerm();
  for (std::int32_t j = 1; j <= kSolverTurnLimit; ++j) {
    const auto newLayer = walk->advance(j);
    if (!newLayer) return overflowFailure();
    if (*newLayer) {
      turn.nextLayer();
      turnLength = turn.maxTerm();
    }
    wound = wound + turnLength;
    const double reached = kind == TargetKind::Weight
                               ? ((wound + leads) * area) * material.density
                               : ((material.resistivity / area) / kMmPerKm) * (wound + leads);
    if (!std::isfinite(reached)) return overflowFailure();
    if (target <= reached) return j - 1;
  }
  return kSolverTurnLimit;
}

}  // namespace

Expected<std::int32_t> GetL2(const CalculationState& state, double WT, TargetKind kind,
                             double leadLength, MaterialValues material) {
  return solveTurns(RectangularTurn::firstLayer(state), state, WT, kind, leadLength, material);
}

Expected<std::int32_t> EnL2(const CalculationState& state, double WT, TargetKind kind,
                            double leadLength, MaterialValues material) {
  return solveTurns(RoundTurn::firstLayer(state), state, WT, kind, leadLength, material);
}

Expected<std::int32_t> OogiL2(const CalculationState& state, double WT, TargetKind kind,
                              double leadLength, MaterialValues material) {
  // The outline is the one the last fan press found; before any, all zero.
  return solveTurns(FanTurn::firstLayer(state, state.mFanContour), state, WT, kind,
                    leadLength, material);
}

}  // namespace kelvane
