#pragma once

#include <cstdint>

#include "core/calculation_state.h"
#include "core/expected.h"
#include "core/materials.h"

namespace kelvane {

// What the target of an inverse solver is.
enum class TargetKind {
  Weight,      // conductor weight in milligrams
  Resistance,  // DC resistance in ohms, without the thin-wire correction
};

// The most turns searched.
inline constexpr std::int32_t kSolverTurnLimit = 10000;

// The inverse of the length routines (GetL2 rectangular, EnL2 round, OogiL2
// fan): the number of turns (0 … 10,000) whose winding with its two leads of
// leadLength stays strictly below the target WT, walking the turns as the
// forward routine does for maxLength. Everything but the target, the lead
// length and the material comes from the state of the last press.
Expected<std::int32_t> GetL2(const CalculationState& state, double WT, TargetKind kind,
                             double leadLength, MaterialValues material);
Expected<std::int32_t> EnL2(const CalculationState& state, double WT, TargetKind kind,
                            double leadLength, MaterialValues material);
Expected<std::int32_t> OogiL2(const CalculationState& state, double WT, TargetKind kind,
                              double leadLength, MaterialValues material);

}  // namespace kelvane
