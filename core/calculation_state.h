#pragma once

#include <cmath>

#include "core/coil_inputs.h"
#include "core/wire_length.h"

namespace kelvane {

// The values one Calculate press leaves behind for the diagram, the length
// routines and the inverse sizing: the inputs it computed, and what it worked
// out on the way. Before the first press everything reads 0.
struct CalculationState {
  CoilInputs inputs;
  double straightA = 0;     // (A − r1) − r2
  double straightB2 = 0;    // B − 2·r2
  double straightB1 = 0;    // B − 2·r1
  float turnsPerLayer = 0;  // kept in single precision, as the diagram reads it
  double turnsOddLayer = 0;
  double turnsEvenLayer = 0;
  double layerCount = 0;
  double lastLayerTurns = 0;
  double alignedHeight = 0;
  double crossRatio = 0;
  double crossAllowance = 0;
  double fullHeight = 0;
  double crossHeight = 0;
  double conductorArea = 0;
  double insulationArea = 0;
  // The fan outline stored by the last successful outline search.
  FanContour fanContour;

  bool operator==(const CalculationState&) const = default;
};

// Calls f(name, value) for every number the state holds, in the order above:
// the inputs, what the press worked out, and the fan outline. The one list of
// the state's fields: what checks them all (a press leaves none of them
// infinite or NaN) goes through it, so a field added here is checked too.
// `State` is CalculationState or const CalculationState.
template <typename State, typename F>
constexpr void forEachField(State& s, F&& f) {
  auto& in = s.inputs;
  f("bareDiameter", in.bareDiameter);
  f("finishedDiameter", in.finishedDiameter);
  f("turns", in.turns);
  f("leadLength", in.leadLength);
  f("referenceThickness", in.referenceThickness);
  f("innerDiameter", in.innerDiameter);
  f("sideA", in.sideA);
  f("sideB", in.sideB);
  f("cornerR1", in.cornerR1);
  f("cornerR2", in.cornerR2);
  f("fanRadius", in.fanRadius);
  f("fanAngle", in.fanAngle);
  f("resistivity", in.resistivity);
  f("density", in.density);
  f("straightA", s.straightA);
  f("straightB2", s.straightB2);
  f("straightB1", s.straightB1);
  f("turnsPerLayer", s.turnsPerLayer);
  f("turnsOddLayer", s.turnsOddLayer);
  f("turnsEvenLayer", s.turnsEvenLayer);
  f("layerCount", s.layerCount);
  f("lastLayerTurns", s.lastLayerTurns);
  f("alignedHeight", s.alignedHeight);
  f("crossRatio", s.crossRatio);
  f("crossAllowance", s.crossAllowance);
  f("fullHeight", s.fullHeight);
  f("crossHeight", s.crossHeight);
  f("conductorArea", s.conductorArea);
  f("insulationArea", s.insulationArea);
  auto& fan = s.fanContour;
  f("fanContour.arcAngle", fan.arcAngle);
  f("fanContour.outerCornerAngle", fan.outerCornerAngle);
  f("fanContour.innerCornerAngle", fan.innerCornerAngle);
  f("fanContour.sideLength", fan.sideLength);
  f("fanContour.edgeLength", fan.edgeLength);
}

// Whether every number of the state is finite.
inline bool allFieldsFinite(const CalculationState& s) {
  bool finite = true;
  forEachField(s, [&](const char*, auto value) { finite = finite && std::isfinite(value); });
  return finite;
}

}  // namespace kelvane
