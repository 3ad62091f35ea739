#pragma once

#include <cstdint>
#include <optional>

#include "core/expected.h"
#include "core/press_progress.h"

namespace kelvane {

struct CalculationState;

// The two totals of the turn lengths of a winding, leads not included.
struct WindingLengths {
  double maxLength = 0;  // turn lengths summed without the crossing allowance
  double midLength = 0;  // with it
  bool operator==(const WindingLengths&) const = default;
};

// The outline of one turn on the fan former (angles in degrees, lengths mm).
struct FanContour {
  double arcAngle = 0;          // swept by the outer arc
  double outerCornerAngle = 0;  // swept by each r1 corner
  double innerCornerAngle = 0;  // swept by each r2 corner
  double sideLength = 0;        // each slanted side
  double edgeLength = 0;        // the straight edge between the r2 corners
  bool operator==(const FanContour&) const = default;
};

// The turn-by-turn rule shared by every length routine: when the winding
// moves on to the next layer, and the crossing allowance accumulated so far.
class LayerWalk {
 public:
  // Empty when the odd-layer count does not round into 32 bits.
  static std::optional<LayerWalk> start(double turnsOddLayer, double turnsEvenLayer,
                                        double crossAllowance);

  // Called once for turn j (1, 2, …) before its length is computed. Returns
  // whether a new layer began with this turn; empty when the layer end no
  // longer fits 32 bits (the routine then fails with an overflow).
  std::optional<bool> advance(std::int32_t j) {
    if (j <= end_) return false;  // the turn still fits the current layer
    return beginNextLayer();
  }

  std::int32_t layer() const { return layer_; }
  // The last turn of the current layer (behind the turn after a layer of no
  // turns).
  std::int32_t layerEnd() const { return end_; }
  double allowance() const { return allowance_; }

 private:
  LayerWalk(std::int32_t end, double odd, double even, double c, bool wholeCounts)
      : end_(end), odd_(odd), even_(even), c_(c), wholeCounts_(wholeCounts) {}
  std::optional<bool> beginNextLayer();
  std::int32_t layer_ = 1;
  std::int32_t end_;
  double odd_;
  double even_;
  double c_;
  bool wholeCounts_;  // both counts whole and within ±2^31: no rounding needed
  double allowance_ = 0;
};

// rectangularWindingLength: the wire length of a winding on the rectangular former, from the state
// of the press (r1, r2, the straight parts, dw, n, the layer counts and the allowance). With a
// progress, the sum reports how far it has come and stops, with a failure, when called off.
Expected<WindingLengths> rectangularWindingLength(const CalculationState& state,
                                                  PressProgress* progress = nullptr);

// roundWindingLength ("circle"): the wire length on the round former with the inner diameter
// inputs.innerDiameter.
Expected<WindingLengths> roundWindingLength(const CalculationState& state,
                                            PressProgress* progress = nullptr);

// fanOutline ("fan parameters"): the outline of one turn on the fan former for
// width W0 (B), radius R0 (R), height H0 (A), opening angle Sita0 (AG) and
// corners R1, R2 (r1, r2).
Expected<FanContour> fanOutline(double W0, double R0, double H0, double Sita0, double R1,
                                double R2);

// What fanWindingLength gives back: the outline it found (empty when the search failed,
// so the stored outline keeps its previous contents) and the lengths.
struct FanLengths {
  std::optional<FanContour> contour;
  Expected<WindingLengths> lengths;
};

// fanWindingLength ("fan length"): the wire length on the fan former: finds the outline from the
// state's A, B, R, r1, r2 and the angle AG, then walks the turns.
FanLengths fanWindingLength(const CalculationState& state, double fanAngle,
                            PressProgress* progress = nullptr);

// The turns of fanWindingLength walked round an outline already found.
Expected<WindingLengths> FanWindingLengths(const CalculationState& state, const FanContour& outline,
                                           PressProgress* progress = nullptr);

}  // namespace kelvane
