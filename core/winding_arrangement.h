#pragma once

#include <string>

namespace kelvane {

// How n turns of a wire lie across the reference thickness, in the fixed
// element order the driver stores them.
struct WindingArrangement {
  double turnPositions = 0;   // q: positions per layer, a multiple of 0.5
  double thickness = 0;       // q × dw
  double turnsOddLayer = 0;   // layers 1, 3, 5, …
  double turnsEvenLayer = 0;  // layers 2, 4, 6, …
  std::string arrangementText;
  double layerCount = 0;
  double lastLayerTurns = 0;  // 0 when the last layer comes out full
  double alignedHeight = 0;   // H_al, height of the nested winding
};

// windingArrangement ("winding method"): how `turns` turns of a wire of finished
// diameter dw lie across the reference thickness T — turns per layer, layer
// count, last layer and the nested height. The caller guarantees at least 1.5
// positions per layer (turnPositionsAcross(T, dw) >= 1.5), below which the
// arrangement is meaningless.
WindingArrangement windingArrangement(double T, double dw, double turns);

// Element 0 of windingArrangement alone: the turn positions that fit across T.
double turnPositionsAcross(double T, double dw);

}  // namespace kelvane
