// The length routines plan their sums layer by layer, in runs, split at the
// progress reports; the totals must still be the plain turn-by-turn walk's to
// the last bit, and a failure the same failure.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "coil_fixtures.h"
#include "core/calculation_state.h"
#include "core/press_progress.h"
#include "core/turn_sums.h"
#include "core/wire_length.h"
#include "fuzz/turn_by_turn_walk.h"

namespace kelvane {
namespace {

void expectSame(const Expected<WindingLengths>& fast, const Expected<WindingLengths>& plain) {
  ASSERT_EQ(fast.ok(), plain.ok()) << (fast ? plain.message() : fast.message());
  if (!fast) {
    EXPECT_EQ(fast.message(), plain.message());
    return;
  }
  EXPECT_EQ(std::bit_cast<std::uint64_t>(fast->maxLength),
            std::bit_cast<std::uint64_t>(plain->maxLength))
      << fast->maxLength << " " << plain->maxLength;
  EXPECT_EQ(std::bit_cast<std::uint64_t>(fast->midLength),
            std::bit_cast<std::uint64_t>(plain->midLength))
      << fast->midLength << " " << plain->midLength;
}

// Runs are a few dozen turns; progress is reported every 2^22 turns; whole
// layers are summed in stretches of kFiniteCheckTurns.
constexpr std::int32_t kFirstReport = 1 << 22;
constexpr std::int64_t kStretch = turn_sums::kFiniteCheckTurns;

struct Row {
  const char* name;
  std::function<void(CalculationState&)> edit;
};

void layers(CalculationState& s, double turns, double odd, double even) {
  s.inputs.turns = turns;
  s.turnsOddLayer = odd;
  s.turnsEvenLayer = even;
}

TEST(TurnSums, GiveTheTurnByTurnTotalsOnEveryFormer) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<Row> rows = {
      {"design coil, layers of 3", [](CalculationState& s) { layers(s, 10000, 3, 3); }},
      {"whole positions, 3 and 2", [](CalculationState& s) { layers(s, 9999.5, 3, 2); }},
      {"wide layers, 100 and 99", [](CalculationState& s) { layers(s, 100000, 100, 99); }},
      {"layers longer than a run", [](CalculationState& s) { layers(s, 2500, 1000, 999); }},
      {"layers ending where stretches end",
       [](CalculationState& s) { layers(s, 3 * kStretch + 2, 4, 4); }},
      {"the last turn where a stretch ends",
       [](CalculationState& s) { layers(s, 2 * kStretch, 7, 6); }},
      {"a layer across two stretches",
       [](CalculationState& s) { layers(s, 3 * kStretch, kStretch + 5, 3); }},
      // Its turns are all summed; the layer after it is never begun.
      {"a last layer before one past 32 bits",
       [](CalculationState& s) { layers(s, 3, 3, 2147483646); }},
      {"a run and one turn", [](CalculationState& s) { layers(s, 33, 5, 4); }},
      {"a run and a layer", [](CalculationState& s) { layers(s, 36, 4, 4); }},
      {"layers of one turn", [](CalculationState& s) { layers(s, 77, 1, 1); }},
      {"one turn", [](CalculationState& s) { layers(s, 1, 3, 3); }},
      {"half counts", [](CalculationState& s) { layers(s, 500, 2.5, 2.5); }},
      {"layers of no turns", [](CalculationState& s) { layers(s, 300, 0, 0); }},
      {"a shifted layer of no turns", [](CalculationState& s) { layers(s, 300, 3, 0); }},
      {"negative counts", [](CalculationState& s) { layers(s, 300, 3, -1); }},
      {"a first layer of no turns", [](CalculationState& s) { layers(s, 300, -2, 5); }},
      {"one layer of two billion", [](CalculationState& s) { layers(s, 1000, 2e9, 2e9); }},
      {"ends leaving 32 bits", [](CalculationState& s) { layers(s, 2e9, 5, -2.1e9); }},
      // Totals past the largest double, sooner or later.
      {"wire of 1e306 mm",
       [](CalculationState& s) {
         layers(s, 5000, 3, 3);
         s.inputs.finishedDiameter = 1e306;
       }},
      {"wire of 1e303 mm",
       [](CalculationState& s) {
         layers(s, 5000, 3, 3);
         s.inputs.finishedDiameter = 1e303;
       }},
      {"straight parts of -1e308 mm",
       [](CalculationState& s) { s.straightA = s.straightB1 = -1e308; }},
      {"allowance infinite", [inf](CalculationState& s) { s.crossAllowance = inf; }},
      {"allowance NaN", [](CalculationState& s) { s.crossAllowance = std::nan(""); }},
      {"a layer across the first report",
       [](CalculationState& s) { layers(s, kFirstReport + 5, 3, 3); }},
      {"the last turn at a report", [](CalculationState& s) { layers(s, kFirstReport, 7, 6); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CalculationState s = test::exampleState();
    row.edit(s);
    for (const bool followed : {false, true}) {
      PressProgress progress;
      PressProgress* const follow = followed ? &progress : nullptr;
      expectSame(roundWindingLength(s, follow), check::roundTurnByTurn(s));
      expectSame(rectangularWindingLength(s, follow), check::rectangularTurnByTurn(s));
      const FanLengths fan = fanWindingLength(s, 60, follow);
      ASSERT_TRUE(fan.contour);
      expectSame(fan.lengths, check::fanTurnByTurn(s, *fan.contour));
    }
  }
}

}  // namespace
}  // namespace kelvane
