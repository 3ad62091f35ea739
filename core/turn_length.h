#pragma once

// The length of one turn on each former, shared by the forward length
// routines and their inverse solvers so that both walk the same winding.
//
// Each former keeps the radii of the current layer; nextLayer() grows them
// when the layer walk begins a new layer. maxTerm() is the turn length
// without the crossing allowance, midTerm(w) the turn length with the
// allowance w accumulated so far. Both are written in the exact order of the
// operations the results have always been computed in; they depend only on
// the layer, so the walks evaluate them once per layer. lengths(w) gives the
// two side by side for the sums, which add a turn to both totals at once.
//
// growsOutward() says whether no turn is shorter than one of a layer below
// it: every radius grows by a step of zero or more, and the turn length rises
// with every radius. outgrown(m) is then a turn at least as long as any of the
// layers up to the one after m layer changes, in both totals, and the bound
// the search for a target's turns reckons with.

#include <cmath>

#include "core/calculation_state.h"
#include "core/coil_math.h"
#include "core/wire_length.h"

namespace kelvane {

// Two lengths in the lanes of one vector: element-wise operations on it round
// each lane exactly as the same scalar operation would.
using LengthPair = double __attribute__((vector_size(2 * sizeof(double))));

// A radius after `layers` steps of `step` (zero or more), at least as large as
// the sum a walk adds up step by step: that sum's rounding stays below
// 2.4e-7 of the magnitudes added for up to 2^31 steps, and 1e-6 of them covers
// it and the rounding of this bound itself.
inline double grownAtMost(double radius, double step, double layers) {
  constexpr double kSlack = 1e-6;
  return (radius + layers * step) + kSlack * (std::fabs(radius) + layers * step);
}

// Rectangular former: two corners of radius r1, two of radius r2, and the
// straight parts of the sides between them.
struct RectangularTurn {
  double x;  // centre-line radius in the r1 corners
  double y;  // centre-line radius in the r2 corners
  double straightA, straightB2, straightB1;
  double pitch;

  static RectangularTurn firstLayer(const CalculationState& s) {
    const double halfWire = s.inputs.finishedDiameter / 2;
    return {s.inputs.cornerR1 + halfWire,
            s.inputs.cornerR2 + halfWire,
            s.straightA,
            s.straightB2,
            s.straightB1,
            nestedPitch(s.inputs.finishedDiameter)};
  }
  // Both corners grow by the nested pitch.
  void nextLayer() {
    x = x + pitch;
    y = y + pitch;
  }
  // (x + y) · π is the four quarter arcs: two of radius x, two of radius y.
  double maxTerm() const { return (x + y) * kPi + 2 * straightA + straightB2 + straightB1; }
  // The allowance enters as 2 · w per turn, one w on each B side.
  double midTerm(double w) const {
    return ((x + y) * kPi + 2 * straightA) + 2 * w + straightB2 + straightB1;
  }
  LengthPair lengths(double w) const { return LengthPair{maxTerm(), midTerm(w)}; }

  bool growsOutward() const { return pitch >= 0; }
  RectangularTurn outgrown(double layers) const {
    RectangularTurn t = *this;
    t.x = grownAtMost(x, pitch, layers);
    t.y = grownAtMost(y, pitch, layers);
    return t;
  }
};

// Round former: the turn follows a circle whose radius is the mean of a
// nested radius x (grows by the nested pitch) and a stacked radius y (grows
// by a full wire diameter).
struct RoundTurn {
  double x, y;
  double pitch;
  double wire;

  static RoundTurn firstLayer(const CalculationState& s) {
    const double r = s.inputs.finishedDiameter / 2 + s.inputs.innerDiameter / 2;
    return {r, r, nestedPitch(s.inputs.finishedDiameter), s.inputs.finishedDiameter};
  }
  void nextLayer() {
    x = x + pitch;
    y = y + wire;
  }
  double maxTerm() const { return (x + y) * kPi; }
  double midTerm(double w) const { return (x + y) * kPi + 2 * w; }
  LengthPair lengths(double w) const { return LengthPair{maxTerm(), midTerm(w)}; }

  bool growsOutward() const { return pitch >= 0 && wire >= 0; }
  RoundTurn outgrown(double layers) const {
    RoundTurn t = *this;
    t.x = grownAtMost(x, pitch, layers);
    t.y = grownAtMost(y, wire, layers);
    return t;
  }
};

// Fan former: an outer arc, two r1 corners against it, two r2 corners at the
// straight edge, the straight edge and two slanted sides (the outline).
struct FanTurn {
  // The outer arc radius in two lanes: r_N when the layers nest, r_S when they
  // stack a full wire high.
  LengthPair arc;
  LengthPair corners;  // centre-line radii in the r1 and r2 corners
  // Shares of a full circle swept by the outer arc, by both r1 corners and by
  // both r2 corners; the straight edge and both slanted sides.
  double arcShare;
  LengthPair cornerShares;
  double edge, sides;
  double pitch;
  double wire;

  static FanTurn firstLayer(const CalculationState& s, const FanContour& outline) {
    const double halfWire = s.inputs.finishedDiameter / 2;
    const double arc = s.inputs.fanRadius + halfWire;
    return {LengthPair{arc, arc},
            LengthPair{s.inputs.cornerR1 + halfWire, s.inputs.cornerR2 + halfWire},
            outline.arcAngle / 360,
            LengthPair{(outline.outerCornerAngle * 2) / 360, (outline.innerCornerAngle * 2) / 360},
            outline.edgeLength,
            outline.sideLength * 2,
            nestedPitch(s.inputs.finishedDiameter),
            s.inputs.finishedDiameter};
  }
  // The corners grow by the nested pitch in both totals; only the outer arc
  // of the mid total stacks a full wire per layer.
  void nextLayer() {
    arc = arc + LengthPair{pitch, wire};
    corners = corners + pitch;
  }
  double maxTerm() const {
    return (((((2 * arc[0]) * kPi) * arcShare + corners1()) + corners2()) + edge) + sides;
  }
  double midTerm(double w) const {
    return (((((arc[1] * 2) * kPi) * arcShare + corners1()) + corners2()) + edge + sides) + w * 2;
  }
  // Each lane takes the operations of maxTerm() or midTerm(w) in their order
  // (x · 2 is 2 · x to the bit); the max lane adds −0, which leaves every
  // number as it is.
  LengthPair lengths(double w) const {
    const LengthPair bothCorners = ((corners * 2) * kPi) * cornerShares;
    return ((((((arc * 2) * kPi) * arcShare + bothCorners[0]) + bothCorners[1]) + edge) + sides) +
           LengthPair{-0.0, w * 2};
  }

  // The arc and the corners add their shares of a circle: none may be
  // negative for a longer radius to give a longer turn.
  bool growsOutward() const {
    return pitch >= 0 && wire >= 0 && arcShare >= 0 && cornerShares[0] >= 0 && cornerShares[1] >= 0;
  }
  FanTurn outgrown(double layers) const {
    FanTurn t = *this;
    t.arc = LengthPair{grownAtMost(arc[0], pitch, layers), grownAtMost(arc[1], wire, layers)};
    t.corners =
        LengthPair{grownAtMost(corners[0], pitch, layers), grownAtMost(corners[1], pitch, layers)};
    return t;
  }

 private:
  double corners1() const { return ((2 * corners[0]) * kPi) * cornerShares[0]; }
  double corners2() const { return ((2 * corners[1]) * kPi) * cornerShares[1]; }
};

}  // namespace kelvane
