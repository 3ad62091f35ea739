#include "core/input_checks.h"

#include <cmath>

#include "core/coil_math.h"
#include "core/winding_arrangement.h"

namespace kelvane {
namespace {

// A layer needs at least one whole turn position and the half position of
// the shifted layer above it.
constexpr double kFewestTurnPositions = 1.5;

bool withinSizes(double v) { return std::fabs(v) <= kLargestSize; }

InputProblem tooLarge(InputBox field, std::string_view name, std::string_view unit = "mm") {
  return {field, std::string(name) + "は-1,000,000～1,000,000 " + std::string(unit) +
                     "の範囲で入力してください"};
}

}  // namespace

std::optional<InputProblem> CheckCoilInputs(const CoilInputs& in) {
  using F = InputBox;
  const double d = in.bareDiameter, dw = in.finishedDiameter;
  if (circleArea(d) == 0) return InputProblem{F::BareDiameter, std::string(kNoBareDiameterMessage)};
  if (d < 0) return InputProblem{F::BareDiameter, "素線径(d)は0より大きい値にしてください"};
  if (!(d <= kLargestBareDiameter)) {
    return InputProblem{F::BareDiameter,
                        "素線径(d)は26.8 mm以下にしてください（それより太いと抵抗の細線補正係数が"
                        "0以下になります）"};
  }
  if (!(dw > 0))
    return InputProblem{F::FinishedDiameter, "線仕上外径は0より大きい値にしてください"};
  if (dw < d) return InputProblem{F::FinishedDiameter, "線仕上外径は素線径(d)以上にしてください"};
  if (!withinSizes(dw)) return tooLarge(F::FinishedDiameter, "線仕上外径");
  if (!(in.turns >= 0)) return InputProblem{F::Turns, "巻き数(n)は0以上にしてください"};
  if (in.turns > kMostTurns) {
    return InputProblem{F::Turns, "巻き数(n)は2,000,000,000以下にしてください"};
  }
  if (!withinSizes(in.leadLength)) return tooLarge(F::LeadLength, "リード長さ(L)");
  if (!withinSizes(in.referenceThickness)) return tooLarge(F::ReferenceThickness, "基準厚み(T)");
  const double positions = turnPositionsAcross(in.referenceThickness, dw);
  if (!(positions >= kFewestTurnPositions)) {
    return InputProblem{F::ReferenceThickness, std::string(kThicknessTooSmallMessage)};
  }
  if (positions > kMostTurnPositions) {
    return InputProblem{F::ReferenceThickness,
                        "基準厚み(T)に並ぶ巻き数が多すぎます（1層100,000,000ターンまで）"};
  }

  const bool round = in.shape == FormerShape::Round;
  const bool sides = in.shape == FormerShape::Rectangular || in.shape == FormerShape::Fan;
  const bool fan = in.shape == FormerShape::Fan;
  if (round && !withinSizes(in.innerDiameter)) return tooLarge(F::InnerDiameter, "内径(D)");
  if (sides) {
    if (!withinSizes(in.sideA)) return tooLarge(F::SideA, "A");
    if (!withinSizes(in.sideB)) return tooLarge(F::SideB, "B");
    if (!withinSizes(in.cornerR1)) return tooLarge(F::CornerR1, "r1");
    if (!withinSizes(in.cornerR2)) return tooLarge(F::CornerR2, "r2");
  }
  if (fan) {
    if (!withinSizes(in.fanRadius)) return tooLarge(F::FanRadius, "R");
    if (!withinSizes(in.fanAngle)) return tooLarge(F::FanAngle, "AG", "度");
  }
  return std::nullopt;
}

std::optional<InputProblem> CheckFanOutline(const FanContour& outline) {
  for (const double part : {outline.arcAngle, outline.outerCornerAngle, outline.innerCornerAngle,
                            outline.sideLength, outline.edgeLength}) {
    if (part < 0) return InputProblem{InputBox::FanRadius, std::string(kOpenFanOutlineMessage)};
  }
  return std::nullopt;
}

}  // namespace kelvane
