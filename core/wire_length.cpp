#include "core/wire_length.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/calculation_state.h"
#include "core/coil_math.h"
#include "core/number_text.h"
#include "core/turn_length.h"
#include "core/turn_sums.h"

namespace kelvane {

namespace {

// A layer count that moves the layer end by whole turns, small enough that
// the end plus it is exact in both double and 64-bit arithmetic.
bool isWholeCount(double turns) {
  return std::floor(turns) == turns && std::fabs(turns) <= 2147483648.0;
}

}  // namespace

std::optional<LayerWalk> LayerWalk::start(double turnsOddLayer, double turnsEvenLayer,
                                          double crossAllowance) {
  const auto end = toInt32HalfEven(turnsOddLayer);
  if (!end) return std::nullopt;
  return LayerWalk(*end, turnsOddLayer, turnsEvenLayer, crossAllowance,
                   isWholeCount(turnsOddLayer) && isWholeCount(turnsEvenLayer));
}

std::optional<bool> LayerWalk::beginNextLayer() {
  if (layer_ == std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  allowance_ = allowance_ + c_;
  layer_ = layer_ + 1;
  // The end moves on by the turns of the new layer, rounded half to even. A
  // layer of 0 turns (or fewer) leaves the end behind the turn, so the walk
  // goes on advancing one layer per turn until the end catches up.
  const double turns = layer_ % 2 == 0 ? even_ : odd_;
  if (wholeCounts_) {
    // Whole counts need no rounding; this is the walk of every real winding
    // and spares the conversion on each of its layers.
    const std::int64_t end = std::int64_t{end_} + static_cast<std::int64_t>(turns);
    if (end < std::numeric_limits<std::int32_t>::min() ||
        end > std::numeric_limits<std::int32_t>::max()) {
      return std::nullopt;
    }
    end_ = static_cast<std::int32_t>(end);
    return true;
  }
  const auto end = toInt32HalfEven(end_ + turns);
  if (!end) return std::nullopt;
  end_ = *end;
  return true;
}

namespace {

// A long sum looks up from its additions this often (about every 7 ms) to
// report how far it has come and whether it has been called off.
constexpr std::int32_t kProgressStride = 1 << 22;

// Sums the turn lengths of the winding of the press, count turns, looking up
// every kProgressStride turns to report and to see whether it has been called
// off.
template <typename Turn, typename Walk>
Expected<WindingLengths> sumTurns(Turn turn, Walk walk, std::int32_t count,
                                  PressProgress* progress) {
  constexpr std::int64_t kNoCheck = std::numeric_limits<std::int64_t>::max();
  LengthPair sum = {0, 0};  // the two totals side by side
  std::int64_t nextCheck = progress ? kProgressStride : kNoCheck;
  for (std::int64_t done = 0; done < count;) {
    const std::int64_t stop = std::min(std::int64_t{count}, nextCheck);
    if (!addTurns(turn, walk, sum, done + 1, stop)) return overflowFailure();
    done = stop;
    if (progress && stop == nextCheck) {
      progress->report(static_cast<double>(stop) / count);
      // Called off: no lengths, and the caller knows why.
      if (progress->cancelled()) return cancellation();
      nextCheck = stop + kProgressStride;
    }
  }
  return WindingLengths{sum[0], sum[1]};
}

template <typename Turn>
Expected<WindingLengths> sumTurns(Turn turn, const CalculationState& state,
                                  PressProgress* progress) {
  const auto walk =
      LayerWalk::start(state.turnsOddLayer, state.turnsEvenLayer, state.crossAllowance);
  // The whole turns wound: floor(n) of the turns as typed.
  const auto count = floorToInt32(state.inputs.turns);
  if (!walk || !count) return overflowFailure();
  if (*count < 1) return WindingLengths{};
  if (const auto whole =
          WholeLayerWalk::start(state.turnsOddLayer, state.turnsEvenLayer, state.crossAllowance)) {
    return sumTurns(turn, *whole, *count, progress);
  }
  return sumTurns(turn, *walk, *count, progress);
}

// Refinement passes of the outline search: steps of 0.1, 0.01, … 1e-10 mm,
// alternately upwards and downwards.
constexpr int kSearchPasses = 10;
// A pass that has lost the crossing marches on to ±100 mm; with steps of
// 1e-7 mm and finer that would take minutes. Past this many evaluations the
// outline is given up as unsettled.
constexpr long kSearchEvaluationBudget = 10'000'000;

}  // namespace

Expected<WindingLengths> rectangularWindingLength(const CalculationState& state,
                                                  PressProgress* progress) {
  return sumTurns(RectangularTurn::firstLayer(state), state, progress);
}

Expected<WindingLengths> roundWindingLength(const CalculationState& state,
                                            PressProgress* progress) {
  return sumTurns(RoundTurn::firstLayer(state), state, progress);
}

Expected<FanContour> fanOutline(double W0, double R0, double H0, double Sita0, double R1,
                                double R2) {
  // Half the opening angle: each slanted side leans this far from the axis.
  const double t = (Sita0 / 2) * (kPi / 180);
  const double cosT = std::cos(t);
  const double tanT = std::tan(t);
  if (cosT == 0) return divisionByZeroFailure();
  // The centre of a corner of radius r lies r inside the slanted side at its
  // own height y: B/2 + y·tan t − r/cos t from the axis. For the r1 corner
  // the height is counted from r2 above the edge (y = r2 + H − u below), so
  // this is its distance from the axis at the height of the r2 centres.
  const double k = W0 / 2 - R1 / cosT + R2 * tanT;
  // The r1 corner centres lie on the circle of radius R − r1.
  const double rho = R0 - R1;
  // Height left for the slanted sides between the corners.
  const double h = H0 - (R1 + R2);

  // Depth u below the top of that circle: how far out the slanted side puts
  // the corner centre, less the half-width of the circle at that depth. The
  // corner sits where the two meet.
  const auto f = [&](double u) -> Expected<double> {
    const double radicand = (2 * rho) * u - u * u;
    if (std::isnan(radicand)) return overflowFailure();
    if (radicand < 0) return invalidArgumentFailure();
    const double value = (k + (h - u) * tanT) - std::sqrt(radicand);
    if (!std::isfinite(value)) return overflowFailure();
    return value;
  };

  double u = 0.1;
  double direction = 1;
  double scale = 1;
  long evaluations = 0;
  for (int pass = 1; pass <= kSearchPasses; ++pass) {
    scale = scale * 10;
    const double step = direction / scale;
    for (;;) {
      if (++evaluations > kSearchEvaluationBudget) return invalidArgumentFailure();
      const auto value = f(u);
      if (!value) return value.failure();
      if (direction > 0 ? *value <= 0 : *value >= 0) break;
      u = u + step;
      if (direction > 0 ? !(u <= 100) : !(u >= -100)) break;
    }
    direction = -direction;
  }

  // Distance of the r1 corner centre from the axis at the depth found.
  const double x = k + (h - u) * tanT;
  if (x == 0) return divisionByZeroFailure();
  // Half the angle, seen from the arc's centre, between the axis and the r1
  // corner centre.
  const double a = std::atan(u / x) * (180 / kPi);

  // Walking round the outline the wire turns through 360° in all: the outer
  // arc sweeps 4a; each r1 corner turns from the arc onto its slanted side;
  // each r2 corner turns from the slanted side onto the straight edge, which
  // meet at 90° + AG/2, so it sweeps 90° − AG/2 and its tangent points lie
  // r2 · tan(45° − AG/4) from that meeting point, cut off twice from B.
  const double edgeTurn = (45 - Sita0 / 4) * (kPi / 180);
  FanContour contour;
  contour.arcAngle = 4 * a;
  contour.outerCornerAngle = (90 - 2 * a) + Sita0 / 2;
  contour.innerCornerAngle = 90 - Sita0 / 2;
  // The side runs between the tangent points of the two corners, each
  // opposite its centre: the centres lie (H − u)/cos t apart along the side,
  // and the tangent points r·tan t further down it for a corner of radius r.
  contour.sideLength = (h - u) / cosT - (R1 - R2) * tanT;
  contour.edgeLength = W0 - (R2 * std::tan(edgeTurn)) * 2;
  for (const double v : {contour.arcAngle, contour.outerCornerAngle, contour.innerCornerAngle,
                         contour.sideLength, contour.edgeLength}) {
    if (!std::isfinite(v)) return overflowFailure();
  }
  return contour;
}

FanLengths fanWindingLength(const CalculationState& state, double fanAngle,
                            PressProgress* progress) {
  const auto contour = fanOutline(state.inputs.sideB, state.inputs.fanRadius, state.inputs.sideA,
                                  fanAngle, state.inputs.cornerR1, state.inputs.cornerR2);
  if (!contour) return {std::nullopt, contour.failure()};
  return {*contour, FanWindingLengths(state, *contour, progress)};
}

Expected<WindingLengths> FanWindingLengths(const CalculationState& state, const FanContour& outline,
                                           PressProgress* progress) {
  return sumTurns(FanTurn::firstLayer(state, outline), state, progress);
}

}  // namespace kelvane
