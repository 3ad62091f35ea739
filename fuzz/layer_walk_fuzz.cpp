// The length routines against the plain turn-by-turn walk, on arbitrary
// windings: layer counts whole, half, zero, negative or absurd, any crossing
// allowance, dimensions from the ordinary to the largest doubles. Both must
// give the same totals to the last bit, or the same failure.
#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/calculation_state.h"
#include "core/press_progress.h"
#include "core/wire_length.h"
#include "fuzz_checks.h"
#include "turn_by_turn_walk.h"

using namespace kelvane;

namespace {

// The plain walk goes turn by turn; more turns only make each run slower.
constexpr int kMostTurns = 40000;

// A dimension in mm: mostly hundredths within ±200 mm, sometimes any double,
// an infinity or NaN.
double dimension(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 9)) {
    case 0:
      return in.ConsumeFloatingPoint<double>();
    case 1:
      return in.ConsumeBool() ? std::numeric_limits<double>::infinity()
                              : -std::numeric_limits<double>::infinity();
    case 2:
      return std::nan("");
    default:
      return in.ConsumeIntegralInRange(-20000, 20000) / 100.0;
  }
}

// Turns in a layer: mostly whole and small, or halves, or counts near the
// ends of the 32-bit range, or any double at all.
double layerTurns(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 7)) {
    case 0:
      return in.ConsumeFloatingPoint<double>();
    case 1:
      return static_cast<double>(
          in.ConsumeIntegralInRange<std::int64_t>(-(std::int64_t{1} << 32), std::int64_t{1} << 32));
    case 2:
      return in.ConsumeIntegralInRange(-20, 400) / 2.0;
    default:
      return in.ConsumeIntegralInRange(-3, 300);
  }
}

void checkSame(const Expected<WindingLengths>& fast, const Expected<WindingLengths>& plain) {
  FUZZ_CHECK(fast.ok() == plain.ok());
  if (fast) {
    FUZZ_CHECK(std::bit_cast<std::uint64_t>(fast->maxLength) ==
               std::bit_cast<std::uint64_t>(plain->maxLength));
    FUZZ_CHECK(std::bit_cast<std::uint64_t>(fast->midLength) ==
               std::bit_cast<std::uint64_t>(plain->midLength));
  } else {
    FUZZ_CHECK(fast.message() == plain.message());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const int shape = in.ConsumeIntegralInRange(0, 2);
  const bool followed = in.ConsumeBool();

  CalculationState s;
  switch (in.ConsumeIntegralInRange(0, 7)) {
    case 0:  // counts a whole turn cannot stand for
      s.inputs.turns = in.PickValueInArray({std::nan(""), 3e9, -3e9, 2147483648.0});
      break;
    default:
      s.inputs.turns =
          in.ConsumeIntegralInRange(-3, kMostTurns) + in.PickValueInArray({0.0, 0.25, 0.5, 0.999});
  }
  s.turnsOddLayer = layerTurns(in);
  s.turnsEvenLayer = layerTurns(in);
  s.crossAllowance = dimension(in);
  s.inputs.finishedDiameter = dimension(in);
  s.inputs.innerDiameter = dimension(in);
  s.inputs.cornerR1 = dimension(in);
  s.inputs.cornerR2 = dimension(in);
  s.straightA = dimension(in);
  s.straightB2 = dimension(in);
  s.straightB1 = dimension(in);
  s.inputs.sideA = dimension(in);
  s.inputs.sideB = dimension(in);
  s.inputs.fanRadius = dimension(in);
  const double fanAngle = in.ConsumeIntegralInRange(0, 1800) / 10.0;

  // Fewer turns than the first progress report: following the press must
  // change nothing, and nothing is reported.
  PressProgress progress;
  PressProgress* const follow = followed ? &progress : nullptr;
  if (shape == 0) {
    checkSame(roundWindingLength(s, follow), check::roundTurnByTurn(s));
  } else if (shape == 1) {
    checkSame(rectangularWindingLength(s, follow), check::rectangularTurnByTurn(s));
  } else {
    const FanLengths fan = fanWindingLength(s, fanAngle, follow);
    if (fan.contour) checkSame(fan.lengths, check::fanTurnByTurn(s, *fan.contour));
  }
  FUZZ_CHECK(progress.fraction() == 0);
  return 0;
}
