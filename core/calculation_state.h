#pragma once

#include "core/wire_length.h"

namespace kelvane {

// The values one Calculate press leaves behind for the diagram, the length
// routines and the inverse sizing. Before the first press everything reads 0.
struct CalculationState {
  double mBareDiameter = 0;
  double mFinishedDiameter = 0;
  double mTurns = 0;
  double mLeadLength = 0;
  double mReferenceThickness = 0;
  double mInnerDiameter = 0;
  double mSideA = 0;
  double mSideB = 0;
  double mCornerR1 = 0;
  double mCornerR2 = 0;
  double mFanRadius = 0;
  double mStraightA = 0;   // (A − r1) − r2
  double mStraightB2 = 0;  // B − 2·r2
  double mStraightB1 = 0;  // B − 2·r1
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
