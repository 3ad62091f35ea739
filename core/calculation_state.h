#pragma once

#include "core/coil_inputs.h"
#include "core/wire_length.h"

namespace kelvane {

// The values one Calculate press leaves behind for the diagram, the length
// routines and the inverse sizing: the inputs it computed, and what it worked
// out on the way. Before the first press everything reads 0.
struct CalculationState {
  CoilInputs inputs;
  double mStraightA = 0;     // (A − r1) − r2
  double mStraightB2 = 0;    // B − 2·r2
  double mStraightB1 = 0;    // B − 2·r1
  float mTurnsPerLayer = 0;  // kept in single precision, as the diagram reads it
  double mTurnsOddLayer = 0;
  double mTurnsEvenLayer = 0;
  double mLayerCount = 0;
  double mLastLayerTurns = 0;
  double mAlignedHeight = 0;
  double mCrossRatio = 0;
  double mCrossAllowance = 0;
  double mFullHeight = 0;
  double mCrossHeight = 0;
  double mConductorArea = 0;
  double mInsulationArea = 0;
  // The fan outline stored by the last successful outline search.
  FanContour mFanContour;

  bool operator==(const CalculationState&) const = default;
};

}  // namespace kelvane
