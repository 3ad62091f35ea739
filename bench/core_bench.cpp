// Timing of one Calculate press per former, from a handful of turns to a
// hundred million: the turn loop is one dependent addition per total and turn.
#include <benchmark/benchmark.h>

#include "core/calculate_coil.h"
#include "core/coil.h"
#include "core/inverse_solvers.h"
#include "core/materials.h"
#include "core/number_text.h"
#include "core/typed_number.h"
#include "core/wire_data_sheet.h"
#include "core/wire_length.h"
#include "tests/core/coil_fixtures.h"

namespace {

using kelvane::CalculateCoil;
using kelvane::CoilInputs;
using kelvane::FormerShape;
using kelvane::test::designInputs;

void calculatePress(benchmark::State& state) {
  const auto shape = static_cast<FormerShape>(state.range(0));
  const auto turns = state.range(1);
  const CoilInputs in = designInputs(shape, static_cast<double>(turns));
  const kelvane::CalculationState previous;
  for (auto _ : state) {
    benchmark::DoNotOptimize(CalculateCoil(in, previous));
  }
  state.SetItemsProcessed(state.iterations() * turns);  // turns per second
}

// Shapes: 0 round, 1 rectangular, 2 fan. The design coil has layers of three
// turns; a press of ten million should take less than a frame (16 ms).
BENCHMARK(calculatePress)
    ->ArgNames({"shape", "turns"})
    ->ArgsProduct({{0, 1, 2}, {10, 10000, 1000000, 10000000, 100000000}})
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

// The same presses in layers of 100 turns (T = 21.1 mm): the work of
// starting a layer spread over many turns instead of three.
void calculatePressWideLayers(benchmark::State& state) {
  const auto turns = state.range(1);
  CoilInputs in =
      designInputs(static_cast<FormerShape>(state.range(0)), static_cast<double>(turns));
  in.referenceThickness = 21.1;
  for (auto _ : state) benchmark::DoNotOptimize(CalculateCoil(in, {}));
  state.SetItemsProcessed(state.iterations() * turns);
}
BENCHMARK(calculatePressWideLayers)
    ->ArgNames({"shape", "turns"})
    ->ArgsProduct({{0, 1, 2}, {1000000, 10000000}})
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

// Ten million turns followed as the window follows a long press: the sum
// stops every 2^22 turns to report and to look for a call-off.
void calculatePressFollowed(benchmark::State& state) {
  const CoilInputs in = designInputs(static_cast<FormerShape>(state.range(0)), 10000000);
  for (auto _ : state) {
    kelvane::PressProgress progress;
    benchmark::DoNotOptimize(CalculateCoil(in, {}, &progress));
  }
  state.SetItemsProcessed(state.iterations() * 10000000);
}
BENCHMARK(calculatePressFollowed)
    ->ArgName("shape")
    ->DenseRange(0, 2)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

// The floor under the turn loop: two dependent chains of additions and
// nothing else, the same work per turn as the two length totals.
void bareSums(benchmark::State& state) {
  const auto turns = state.range(0);
  double maxTerm = 9.5, midTerm = 9.6;
  benchmark::DoNotOptimize(maxTerm);
  benchmark::DoNotOptimize(midTerm);
  for (auto _ : state) {
    double maxLength = 0, midLength = 0;
    for (std::int64_t j = 0; j < turns; ++j) {
      maxLength = maxLength + maxTerm;
      midLength = midLength + midTerm;
    }
    benchmark::DoNotOptimize(maxLength);
    benchmark::DoNotOptimize(midLength);
  }
  state.SetItemsProcessed(state.iterations() * turns);
}
BENCHMARK(bareSums)->Arg(1000000)->Arg(10000000)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(
    benchmark::kMicrosecond);

// The state a design-time press of the shape leaves behind.
kelvane::CalculationState pressedState(FormerShape shape) {
  return CalculateCoil(designInputs(shape, 10), {}).state;
}

// The box value a press of n turns shows in the Max column's weight box, in
// grams, as a target typed into it would read.
double shownWeight(const kelvane::CalculationState& s, double n) {
  CoilInputs in = s.inputs;
  in.turns = n;
  return kelvane::readTypedNumber(
             kelvane::formatFixed3(CalculateCoil(in, s).results.weights.alignedWeight))
      .value;
}

// A weight typed as the box shows a press of a million or a hundred million
// turns: the search for its turns against the press of the count it finds
// (pressOfTargetTurns). The search should cost at most 2.5 such presses.
void targetTurns(benchmark::State& state) {
  const auto shape = static_cast<FormerShape>(state.range(0));
  const kelvane::CalculationState s = pressedState(shape);
  const kelvane::ShownTarget target{kelvane::TargetKind::Weight,
                                    shownWeight(s, static_cast<double>(state.range(1))),
                                    kelvane::MassUnit::Gram};
  for (auto _ : state) benchmark::DoNotOptimize(kelvane::turnsForTarget(s, target, 2'000'000'000));
}
void pressOfTargetTurns(benchmark::State& state) {
  const auto shape = static_cast<FormerShape>(state.range(0));
  const kelvane::CalculationState s = pressedState(shape);
  const kelvane::ShownTarget target{kelvane::TargetKind::Weight,
                                    shownWeight(s, static_cast<double>(state.range(1))),
                                    kelvane::MassUnit::Gram};
  CoilInputs in = s.inputs;
  in.turns = **kelvane::turnsForTarget(s, target, 2'000'000'000);
  for (auto _ : state) benchmark::DoNotOptimize(CalculateCoil(in, s));
}
BENCHMARK(targetTurns)
    ->ArgNames({"shape", "turns"})
    ->ArgsProduct({{0, 1, 2}, {1000000, 100000000}})
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(pressOfTargetTurns)
    ->ArgNames({"shape", "turns"})
    ->ArgsProduct({{0, 1, 2}, {1000000, 100000000}})
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

// A weight and a resistance no coil of two billion turns reaches: told from a
// bound, without summing a turn (should take well under a millisecond).
void unreachableTarget(benchmark::State& state) {
  const auto shape = static_cast<FormerShape>(state.range(0));
  const kelvane::CalculationState s = pressedState(shape);
  const kelvane::ShownTarget target{
      state.range(1) == 0 ? kelvane::TargetKind::Weight : kelvane::TargetKind::Resistance, 1e308};
  for (auto _ : state) benchmark::DoNotOptimize(kelvane::turnsForTarget(s, target, 2'000'000'000));
}
BENCHMARK(unreachableTarget)
    ->ArgNames({"shape", "resistance"})
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

// The outline search of the fan for a few outlines: (B, R, A, AG, r1, r2).
void fanOutlineSearch(benchmark::State& state) {
  struct Outline {
    double b, r, a, ag, r1, r2;
  };
  const Outline outlines[] = {
      {2, 50, 2, 60, 0.3, 0.3}, {10, 30, 12, 40, 1, 0.5}, {5, 200, 40, 20, 2, 1}};
  const Outline& o = outlines[state.range(0)];
  for (auto _ : state)
    benchmark::DoNotOptimize(kelvane::fanOutline(o.b, o.r, o.a, o.ag, o.r1, o.r2));
}
BENCHMARK(fanOutlineSearch)
    ->ArgName("outline")
    ->DenseRange(0, 2)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void wireDataSheet(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(
        kelvane::BuildWireDataSheet(0.2, "0.2", 0.21, kelvane::ConductorMaterial::Copper));
}
BENCHMARK(wireDataSheet)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
