#pragma once

namespace kelvane {

// The fourteen inputs of a coil as the engineer types them, in the order a
// job, the form and the batch list them.
enum class InputBox {
  BareDiameter = 0,        // d, 素線径(d)
  FinishedDiameter = 1,    // dw, 線仕上外径
  Turns = 2,               // n, 巻き数(n)
  LeadLength = 3,          // L, each of the two leads
  ReferenceThickness = 4,  // T, the width one layer lies across
  InnerDiameter = 5,       // D, round former
  SideA = 6,
  SideB = 7,
  CornerR1 = 8,
  CornerR2 = 9,
  FanRadius = 10,     // R
  FanAngle = 11,      // AG, degrees
  FanWideWidth = 12,  // XX, kept consistent with AG
  Tension = 13,       // shown and kept, read by no computation
};

// The twenty-two results a press shows. From the length down they come in
// pairs: the aligned winding alone, and the prediction with the crossing
// zone's extra height and length. The window's Max column shows the aligned
// ones, its 予測 Mid column the predicted ones, but for the resistance row,
// whose boxes are the other way round; the numbering is the window's.
enum class ResultBox {
  Arrangement = 0,  // 巻き方(列)
  LayerCount = 1,
  Thickness = 2,
  LastLayerTurns = 3,
  OuterA = 4,     // A'
  OuterB = 5,     // B'
  OuterRorD = 6,  // D' (round) or R' (fan)
  AlignedHeight = 7,
  AlignedLength = 8,
  PredictedLength = 9,
  AlignedWeight = 10,
  PredictedWeight = 11,
  PredictedDcr = 12,
  AlignedDcr = 13,
  CrossHeight = 14,
  FullHeight = 15,
  XxxMax = 16,  // the window's XXX row: no value, only ever emptied
  XxxMid = 17,
  AlignedInsulationWeight = 18,
  PredictedInsulationWeight = 19,
  AlignedConductorWeight = 20,
  PredictedConductorWeight = 21,
};

inline constexpr int kInputBoxCount = 14;
inline constexpr int kResultBoxCount = 22;

inline constexpr int indexOf(InputBox b) { return static_cast<int>(b); }
inline constexpr int indexOf(ResultBox b) { return static_cast<int>(b); }

}  // namespace kelvane
