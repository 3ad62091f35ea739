// Timing of one Calculate press per former, from a handful of turns to a
// million: the turn loop is one dependent addition per total and turn.
#include <benchmark/benchmark.h>

#include "core/calculate_coil.h"
#include "core/materials.h"

namespace {

using kelvane::CalculateCoil;
using kelvane::CoilInputs;
using kelvane::FormerShape;

// The boxes as the window opens them, with the given former and turns.
CoilInputs designInputs(FormerShape shape, double turns) {
  CoilInputs in;
  in.bareDiameter = 0.2;
  in.finishedDiameter = 0.21;
  in.turns = turns;
  in.leadLength = 10;
  in.referenceThickness = 0.8;
  in.innerDiameter = 10;
  in.sideA = 2;
  in.sideB = 2;
  in.cornerR1 = 0.3;
  in.cornerR2 = 0.3;
  in.fanRadius = 50;
  in.fanAngle = 60;
  in.shape = shape;
  const auto copper = kelvane::MaterialConstants(kelvane::ConductorMaterial::Copper);
  in.resistivity = copper.resistivity;
  in.density = copper.density;
  return in;
}

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

// Shapes: 0 round, 1 rectangular, 2 fan.
BENCHMARK(calculatePress)
    ->ArgNames({"shape", "turns"})
    ->ArgsProduct({{0, 1, 2}, {10, 10000, 1000000}})
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
