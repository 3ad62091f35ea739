#include "core/calculate_coil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "coil_fixtures.h"
#include "core/number_text.h"

namespace kelvane {
namespace {

using test::designInputs;

template <typename Unit>
std::string shown(double value, Unit unit) {
  return formatFixed3(value * factorOf(unit));
}

std::string shownResistance(double ohms, const CoilResults& r) {
  return formatFixed3(ohms * shownResistanceFactor(r.weights.resistanceUnit, r.thinWireFactor));
}

// The units of the smallest values: millimetres, milligrams and ohms.
void expectSmallestUnits(const WeightResistance& w) {
  EXPECT_EQ(w.lengthUnit, LengthUnit::Millimetre);
  EXPECT_EQ(w.massUnit, MassUnit::Milligram);
  EXPECT_EQ(w.resistanceUnit, ResistanceUnit::Ohm);
}

CalculationState designState() {
  return CalculateCoil(designInputs(FormerShape::Rectangular), {}).state;
}

TEST(CalculateCoil, RoadOfOnePressWithTheDesignTimeTexts) {
  const CoilPress press = CalculateCoil(designInputs(FormerShape::Rectangular), {});
  ASSERT_EQ(press.outcome, PressOutcome::Complete);
  EXPECT_EQ(press.message, "");
  const CoilResults& r = press.results;
  const CalculationState& s = press.state;
  EXPECT_EQ(r.arrangement.arrangementText, "同数列巻き--3 X 3");
  EXPECT_EQ(plainDecimal(s.layerCount), "4");
  EXPECT_EQ(plainDecimal(r.arrangement.thickness), "0.735");
  EXPECT_EQ(plainDecimal(s.lastLayerTurns), "1");
  EXPECT_EQ(s.turnsPerLayer, 3.5f);
  EXPECT_NEAR(s.straightB2, 1.4, 1e-15);
  EXPECT_EQ(s.crossRatio, 1);
  EXPECT_NEAR(s.crossAllowance, 0.028135, 5e-7);
  EXPECT_EQ(formatFixed3(r.alignedHeight), "0.756");
  EXPECT_EQ(formatFixed3(r.crossHeight), "0.840");
  EXPECT_EQ(formatFixed3(r.fullHeight), "0.840");
  EXPECT_EQ(formatFixed3(r.outerA), "3.596");
  EXPECT_EQ(formatFixed3(r.outerB), "3.511");
  EXPECT_EQ(formatFixed3(r.outerRorD), "50.840");
  EXPECT_NEAR(r.alignedLength, 20 + 95.159224, 5e-7);
  EXPECT_NEAR(r.predictedLength, 20 + 95.834456, 5e-7);
  expectSmallestUnits(r.weights);
  EXPECT_EQ(s.conductorArea, r.weights.conductorArea);
  EXPECT_TRUE(r.showDiagram);
}

TEST(CalculateCoil, RoundFormerEndToEndBoxByBox) {
  const CoilPress press = CalculateCoil(designInputs(FormerShape::Round), designState());
  ASSERT_EQ(press.outcome, PressOutcome::Complete);
  const CoilResults& r = press.results;
  const WeightResistance& w = r.weights;
  EXPECT_EQ(formatFixed3(r.outerRorD), "11.596");
  EXPECT_EQ(shown(r.alignedLength, w.lengthUnit), "355.530");
  EXPECT_EQ(shown(r.predictedLength, w.lengthUnit), "356.205");
  EXPECT_EQ(shown(w.alignedWeight, w.massUnit), "101.451");
  EXPECT_EQ(shown(w.predictedWeight, w.massUnit), "101.643");
  EXPECT_EQ(shownResistance(w.predictedDcr, r), "0.200");
  EXPECT_EQ(shownResistance(w.alignedDcr, r), "0.200");
  EXPECT_EQ(shown(w.alignedInsulationWeight, w.massUnit), "1.374");
  EXPECT_EQ(shown(w.predictedInsulationWeight, w.massUnit), "1.376");
  EXPECT_EQ(shown(w.alignedConductorWeight, w.massUnit), "100.077");
  EXPECT_EQ(shown(w.predictedConductorWeight, w.massUnit), "100.267");
  expectSmallestUnits(w);
}

TEST(CalculateCoil, FanPressKeepsItsOutline) {
  const CoilPress press = CalculateCoil(designInputs(FormerShape::Fan), designState());
  ASSERT_EQ(press.outcome, PressOutcome::Complete);
  EXPECT_NEAR(press.state.fanContour.outerCornerAngle, 118.1322640, 5e-8);
  EXPECT_NEAR(press.results.alignedLength, 20 + 119.819512, 5e-7);
  EXPECT_EQ(formatFixed3(press.results.outerRorD), "50.840");
}

TEST(CalculateCoil, RefusalsLeaveTheStateUntouched) {
  struct Row {
    const char* name;
    std::function<void(CoilInputs&)> edit;
    InputBox field;
    std::string_view message;
  };
  using F = InputBox;
  const std::string_view finishedAboveZero = "線仕上外径は0より大きい値にしてください";
  const std::string_view finishedBelowBare = "線仕上外径は素線径(d)以上にしてください";
  const std::string_view negativeTurns = "巻き数(n)は0以上にしてください";
  const std::string_view tooManyTurns = "巻き数(n)は2,000,000,000以下にしてください";
  const std::string_view thickWire =
      "素線径(d)は26.8 mm以下にしてください（それより太いと抵抗の細線補正係数が0以下になります）";
  const std::vector<Row> rows = {
      {"no bare diameter", [](CoilInputs& in) { in.bareDiameter = 0; }, F::BareDiameter,
       kNoBareDiameterMessage},
      {"bare diameter too small for any conductor",
       [](CoilInputs& in) { in.bareDiameter = 1e-170; }, F::BareDiameter, kNoBareDiameterMessage},
      {"both faults: the wire first",
       [](CoilInputs& in) { in.bareDiameter = 0, in.referenceThickness = 0; }, F::BareDiameter,
       kNoBareDiameterMessage},
      {"negative bare diameter", [](CoilInputs& in) { in.bareDiameter = -0.2; }, F::BareDiameter,
       "素線径(d)は0より大きい値にしてください"},
      {"thin-wire factor at 0",
       [](CoilInputs& in) { in.bareDiameter = 26.81, in.finishedDiameter = 27; }, F::BareDiameter,
       thickWire},
      {"bare diameter 1e300", [](CoilInputs& in) { in.bareDiameter = 1e300; }, F::BareDiameter,
       thickWire},
      {"one position", [](CoilInputs& in) { in.referenceThickness = 0.3; }, F::ReferenceThickness,
       kThicknessTooSmallMessage},
      {"thickness of one wire", [](CoilInputs& in) { in.referenceThickness = 0.21; },
       F::ReferenceThickness, kThicknessTooSmallMessage},
      {"no wire", [](CoilInputs& in) { in.finishedDiameter = 0, in.referenceThickness = 0; },
       F::FinishedDiameter, finishedAboveZero},
      {"finished diameter below the bare one", [](CoilInputs& in) { in.finishedDiameter = 0.19; },
       F::FinishedDiameter, finishedBelowBare},
      {"thickness NaN", [](CoilInputs& in) { in.referenceThickness = std::nan(""); },
       F::ReferenceThickness, "基準厚み(T)は-1,000,000～1,000,000 mmの範囲で入力してください"},
      {"thickness 1e308", [](CoilInputs& in) { in.referenceThickness = 1e308; },
       F::ReferenceThickness, "基準厚み(T)は-1,000,000～1,000,000 mmの範囲で入力してください"},
      {"layers of more than 100,000,000 positions",
       [](CoilInputs& in) {
         in.bareDiameter = in.finishedDiameter = 0.001, in.referenceThickness = 999999;
       },
       F::ReferenceThickness, "基準厚み(T)に並ぶ巻き数が多すぎます（1層100,000,000ターンまで）"},
      {"negative turns", [](CoilInputs& in) { in.turns = -50; }, F::Turns, negativeTurns},
      {"turns beyond the count", [](CoilInputs& in) { in.turns = 2147483647; }, F::Turns,
       tooManyTurns},
      {"lead of 1e300", [](CoilInputs& in) { in.leadLength = 1e300; }, F::LeadLength,
       "リード長さ(L)は-1,000,000～1,000,000 mmの範囲で入力してください"},
      {"side B beyond a kilometre", [](CoilInputs& in) { in.sideB = -1000001; }, F::SideB,
       "Bは-1,000,000～1,000,000 mmの範囲で入力してください"},
      // Fans whose outline cannot close: the r1 corners would meet the arc
      // below the r2 corners (a side of -0.38 mm), or the r2 corners overlap
      // on the edge.
      {"fan corners meeting the arc below each other",
       [](CoilInputs& in) {
         in.shape = FormerShape::Fan, in.sideB = 16, in.sideA = 3.1, in.fanRadius = 12,
         in.fanAngle = 39;
       },
       F::FanRadius, kOpenFanOutlineMessage},
      {"fan edge shorter than its corners",
       [](CoilInputs& in) { in.shape = FormerShape::Fan, in.sideB = 0.3; }, F::FanRadius,
       kOpenFanOutlineMessage},
  };
  const CalculationState previous = designState();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CoilInputs in = designInputs(FormerShape::Rectangular);
    row.edit(in);
    const CoilPress press = CalculateCoil(in, previous);
    EXPECT_EQ(press.outcome, PressOutcome::Refused);
    EXPECT_EQ(press.message, row.message);
    EXPECT_EQ(press.refusedInput, row.field);
    EXPECT_EQ(press.state, previous);
  }
  // Sizes of a former not in use take no part: the round former has no sides.
  CoilInputs round = designInputs(FormerShape::Round);
  round.sideA = 1e300;
  EXPECT_EQ(CalculateCoil(round, previous).outcome, PressOutcome::Complete);
  round.innerDiameter = 2e6;
  EXPECT_EQ(CalculateCoil(round, previous).refusedInput, F::InnerDiameter);
}

TEST(CalculateCoil, NoShapeStopsAfterTheWindingHeights) {
  CalculationState previous = designState();
  previous.fanContour.arcAngle = 7;
  CoilInputs in = designInputs(FormerShape::Round);
  in.shape.reset();
  in.turns = 20;
  in.bareDiameter = 0.1;
  const CoilPress press = CalculateCoil(in, previous);
  EXPECT_EQ(press.outcome, PressOutcome::NoShape);
  EXPECT_EQ(press.message, kNoShapeMessage);
  EXPECT_EQ(press.results.arrangement.arrangementText, "同数列巻き--3 X 3");
  EXPECT_EQ(press.state.inputs.turns, 20);
  EXPECT_EQ(press.state.layerCount, 7);
  EXPECT_EQ(press.state.conductorArea, previous.conductorArea);
  EXPECT_EQ(press.state.fanContour, previous.fanContour);
}

TEST(CalculateCoil, AFailedLengthRoutineLeavesZerosAndGoesOn) {
  CalculationState previous = designState();
  previous.fanContour.arcAngle = 7;
  CoilInputs in = designInputs(FormerShape::Fan);
  in.fanRadius = 0.34;  // the r1 corners cannot touch the arc
  const CoilPress press = CalculateCoil(in, previous);
  ASSERT_EQ(press.outcome, PressOutcome::LengthFailed);
  EXPECT_EQ(press.message, kInvalidArgumentMessage);
  EXPECT_EQ(press.state.fanContour, previous.fanContour);
  const CoilResults& r = press.results;
  const WeightResistance& w = r.weights;
  for (const double v :
       {r.alignedLength, r.predictedLength, w.alignedDcr, w.predictedDcr, w.alignedWeight,
        w.predictedWeight, w.alignedConductorWeight, w.predictedInsulationWeight}) {
    EXPECT_EQ(v, 0);
  }
  expectSmallestUnits(w);
  EXPECT_EQ(formatFixed3(r.outerRorD), "1.180");
  EXPECT_TRUE(r.showDiagram);
}

TEST(CalculateCoil, DiagramUpToNineHundredNinetyNineAndAHalfTurns) {
  CoilInputs in = designInputs(FormerShape::Rectangular);
  in.turns = 999.5;
  EXPECT_TRUE(CalculateCoil(in, {}).results.showDiagram);
  in.turns = 1000;
  EXPECT_FALSE(CalculateCoil(in, {}).results.showDiagram);
}

bool allFinite(std::initializer_list<double> values) {
  for (const double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

// The name of the first number of the press that is not finite; empty when
// all are.
std::string nonFiniteValue(const CoilPress& p) {
  const CoilResults& r = p.results;
  const WeightResistance& w = r.weights;
  const WindingArrangement& a = r.arrangement;
  if (!allFinite({a.turnPositions,
                  a.thickness,
                  a.turnsOddLayer,
                  a.turnsEvenLayer,
                  a.layerCount,
                  a.lastLayerTurns,
                  a.alignedHeight,
                  r.outerA,
                  r.outerB,
                  r.outerRorD,
                  r.alignedHeight,
                  r.crossHeight,
                  r.fullHeight,
                  r.alignedLength,
                  r.predictedLength,
                  r.thinWireFactor,
                  w.conductorArea,
                  w.insulationArea,
                  w.alignedDcr,
                  w.predictedDcr,
                  w.alignedConductorWeight,
                  w.predictedConductorWeight,
                  w.alignedInsulationWeight,
                  w.predictedInsulationWeight,
                  w.alignedWeight,
                  w.predictedWeight}))
    return "a result";
  std::string name;
  forEachField(p.state, [&](const char* field, auto value) {
    if (name.empty() && !std::isfinite(value)) name = field;
  });
  return name;
}

TEST(CalculateCoil, AbsurdInputsNeverGiveANonFiniteValue) {
  struct Row {
    const char* name;
    std::function<void(CoilInputs&)> edit;
  };
  const std::vector<Row> rows = {
      {"d 1e300", [](CoilInputs& in) { in.bareDiameter = 1e300; }},
      {"d -1e300", [](CoilInputs& in) { in.bareDiameter = -1e300; }},
      {"d 1e308", [](CoilInputs& in) { in.bareDiameter = 1e308; }},
      {"dw 1e300", [](CoilInputs& in) { in.finishedDiameter = 1e300; }},
      {"dw -1", [](CoilInputs& in) { in.finishedDiameter = -1; }},
      {"T 1e308", [](CoilInputs& in) { in.referenceThickness = 1e308; }},
      {"T 1e30", [](CoilInputs& in) { in.referenceThickness = 1e30; }},
      {"T -5", [](CoilInputs& in) { in.referenceThickness = -5; }},
      {"n 1e300", [](CoilInputs& in) { in.turns = 1e300; }},
      {"n -1e300", [](CoilInputs& in) { in.turns = -1e300; }},
      {"n 1e308", [](CoilInputs& in) { in.turns = 1e308; }},
      {"n -7", [](CoilInputs& in) { in.turns = -7; }},
      {"L 1e308", [](CoilInputs& in) { in.leadLength = 1e308; }},
      {"L -1e300", [](CoilInputs& in) { in.leadLength = -1e300; }},
      {"D 1e308", [](CoilInputs& in) { in.innerDiameter = 1e308; }},
      {"D -10", [](CoilInputs& in) { in.innerDiameter = -10; }},
      {"A 1e308", [](CoilInputs& in) { in.sideA = 1e308; }},
      {"B -1e308", [](CoilInputs& in) { in.sideB = -1e308; }},
      {"A, B 0", [](CoilInputs& in) { in.sideA = 0, in.sideB = 0; }},
      {"r1 1e300", [](CoilInputs& in) { in.cornerR1 = 1e300; }},
      {"r1 -2", [](CoilInputs& in) { in.cornerR1 = -2; }},
      {"R 1e308", [](CoilInputs& in) { in.fanRadius = 1e308; }},
      {"R 0", [](CoilInputs& in) { in.fanRadius = 0; }},
      {"AG 1e308", [](CoilInputs& in) { in.fanAngle = 1e308; }},
      {"AG 180", [](CoilInputs& in) { in.fanAngle = 180; }},
      {"AG -60", [](CoilInputs& in) { in.fanAngle = -60; }},
      {"AG infinite", [](CoilInputs& in) { in.fanAngle = HUGE_VAL; }},
      {"AG NaN", [](CoilInputs& in) { in.fanAngle = std::nan(""); }},
      {"no material", [](CoilInputs& in) { in.resistivity = 0, in.density = 0; }},
  };
  const CalculationState previous = designState();
  for (const FormerShape shape : {FormerShape::Round, FormerShape::Rectangular, FormerShape::Fan}) {
    for (const Row& row : rows) {
      SCOPED_TRACE(testing::Message() << row.name << " shape " << static_cast<int>(shape));
      CoilInputs in = designInputs(shape);
      row.edit(in);
      const CoilPress press = CalculateCoil(in, previous);
      EXPECT_EQ(nonFiniteValue(press), "");
      if (press.outcome == PressOutcome::Refused) {
        EXPECT_EQ(press.state, previous);
        EXPECT_FALSE(press.message.empty());
      }
    }
  }
}

}  // namespace
}  // namespace kelvane
