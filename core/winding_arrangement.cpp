#include "core/winding_arrangement.h"

#include <cmath>

#include "core/coil_math.h"
#include "core/number_text.h"

namespace kelvane {

namespace {

// The arrangement is only meaningful with at least one whole turn per layer,
// which the press demands. Below that a division by a layer of no turns, or
// by a wire of no width, counts as 0 so that a direct call still comes back.
double modOrZero(double a, double b) { return remainderOfRounded(a, b).value_or(0); }
double quotientOrZero(double a, double b) { return b == 0 ? 0 : a / b; }

}  // namespace

double turnPositionsAcross(double T, double dw) {
  // The 0.0001 mm added to the wire keeps a thickness of exactly N wire
  // diameters from counting as N positions.
  return floorToWhole(quotientOrZero(T, dw + 0.0001) * 2) / 2;
}

WindingArrangement windingArrangement(double T, double dw, double turns) {
  WindingArrangement w;
  const double q = turnPositionsAcross(T, dw);
  w.turnPositions = q;
  w.thickness = q * dw;
  const double n = floorToWhole(q);
  if (modOrZero(q * 10, 10) > 0) {
    // N and a half positions: the shifted layers hold N turns as well.
    w.turnsOddLayer = n;
    w.turnsEvenLayer = n;
    w.arrangementText = "同数列巻き--" + plainDecimal(n) + " X " + plainDecimal(n);
    w.layerCount = std::abs(floorToWhole(quotientOrZero(turns * -1, n)));
    w.lastLayerTurns = modOrZero(turns, n);
  } else {
    // N whole positions: every shifted layer has room for one turn less, so
    // two layers hold 2N − 1 turns and the count goes by N − 0.5 per layer.
    w.turnsOddLayer = n;
    w.turnsEvenLayer = n - 1;
    w.arrangementText = "異数列巻き--" + plainDecimal(n) + " X " + plainDecimal(n - 1);
    w.layerCount = floorToWhole((turns / (n - 0.5)) * -1) * -1;
    w.lastLayerTurns = floorToWhole(modOrZero(turns * 10, (n - 0.5) * 10) / 10);
  }
  // The first layer stands one wire high; each further layer nests into the
  // grooves below and adds the nested pitch.
  w.alignedHeight = ((w.layerCount - 1) * nestedPitch(dw)) + dw;
  return w;
}

}  // namespace kelvane
