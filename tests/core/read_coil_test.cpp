// The coil as typed: which inputs a former shows, and reading them as 計算
// does.
#include "core/read_coil.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvane {
namespace {

TEST(FormerFields, EachFormerShowsItsOwnInputsAndResults) {
  using enum InputBox;
  struct Case {
    FormerShape former;
    bool inner, sides, fan, outerA, outerB, outerRorD;
    std::optional<std::string_view> outerName;
  };
  const Case cases[] = {
      {FormerShape::Round, true, false, false, false, false, true, "D'"},
      {FormerShape::Rectangular, false, true, false, true, true, false, std::nullopt},
      {FormerShape::Fan, false, true, true, true, true, true, "R'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.former));
    EXPECT_EQ(formerShows(c.former, InnerDiameter), c.inner);
    for (const InputBox b : {SideA, SideB, CornerR1, CornerR2})
      EXPECT_EQ(formerShows(c.former, b), c.sides);
    for (const InputBox b : {FanRadius, FanAngle, FanWideWidth})
      EXPECT_EQ(formerShows(c.former, b), c.fan);
    for (const InputBox b :
         {BareDiameter, FinishedDiameter, Turns, LeadLength, ReferenceThickness, Tension})
      EXPECT_TRUE(formerShows(c.former, b));
    EXPECT_EQ(formerShows(c.former, ResultBox::OuterA), c.outerA);
    EXPECT_EQ(formerShows(c.former, ResultBox::OuterB), c.outerB);
    EXPECT_EQ(formerShows(c.former, ResultBox::OuterRorD), c.outerRorD);
    EXPECT_TRUE(formerShows(c.former, ResultBox::AlignedDcr));
    EXPECT_EQ(outerRorDName(c.former), c.outerName);
  }
}

TEST(ReadCoil, TheFirstShownInputThatCannotBeReadRefusesThePress) {
  TypedCoil typed = openingCoil();
  typed.texts[indexOf(InputBox::InnerDiameter)] = "φ12";  // the round former's alone
  typed.texts[indexOf(InputBox::SideA)] = "2mm";
  typed.texts[indexOf(InputBox::CornerR2)] = "";
  CoilReading reading = readCoil(typed);
  ASSERT_FALSE(reading.refusal);
  EXPECT_EQ(reading.coil.sideA, 2);
  EXPECT_EQ(reading.coil.cornerR2, std::nullopt);  // four equal corners

  typed.former = FormerShape::Round;
  reading = readCoil(typed);
  ASSERT_TRUE(reading.refusal);
  EXPECT_EQ(reading.refusal->field, InputBox::InnerDiameter);
  EXPECT_EQ(reading.refusal->message,
            "「内径(D)」の「φ12」は数値として読めません。数値で入力してください（単位は「mm」"
            "のみ付けられます）");

  // Without a former every input counts; the turns, when a target is to
  // fill them, do not.
  typed.former.reset();
  typed.texts[indexOf(InputBox::InnerDiameter)] = "12";
  typed.texts[indexOf(InputBox::Turns)] = "1,00";
  EXPECT_EQ(readCoil(typed).refusal.value_or(InputProblem{}).field, InputBox::Turns);
  std::array<bool, kInputBoxCount> shown{};
  const CoilReading noTurns = readCoil(typed, shown, /*withTurns=*/false);
  EXPECT_FALSE(noTurns.refusal);
  EXPECT_EQ(noTurns.coil.turns, 0);
}

TEST(ReadCoil, TheOpeningCoilIsTheWindowsFirstPress) {
  const CoilReading reading = readCoil(openingCoil());
  ASSERT_FALSE(reading.refusal);
  const CoilCalculation c = calculate(inputsOf(reading.coil));
  EXPECT_EQ(c.press.outcome, PressOutcome::Complete);
  EXPECT_EQ(c.text(ResultBox::Arrangement), "同数列巻き--3 X 3");
  EXPECT_EQ(c.texts[indexOf(ResultBox::XxxMax)], std::nullopt);
}

}  // namespace
}  // namespace kelvane
