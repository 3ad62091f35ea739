#pragma once

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

}  // namespace kelvane
