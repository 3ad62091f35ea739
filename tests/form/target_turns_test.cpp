// Typing a height, weight or resistance into a green box to get the turns.
#include <gtest/gtest.h>

#include "form_test_support.h"

namespace kelvane::form {
namespace {

using testing::apply;
using testing::Step;
using testing::t1;
using testing::text;
using testing::t2;

// dw 0.21 across T 2.11 gives ten positions: layers of 10 and 9 turns.
const std::vector<Step> kTenAndNine = {{"type", "Text1(4)", "2.11"}, {"click", "Command1", ""}};
const Step kLeave{"focus", "Text1(13)", ""};

struct TargetCase {
  const char* name;
  std::vector<Step> steps;
  std::string turns;
  friend void PrintTo(const TargetCase& c, std::ostream* os) { *os << c.name; }
};

class TargetTest : public ::testing::TestWithParam<TargetCase> {};

TEST_P(TargetTest, TurnsBoxAfterLeaving) {
  Form1 form;
  apply(form, kTenAndNine);
  ASSERT_EQ(text(form, box::Arrangement), "異数列巻き--10 X 9");
  apply(form, GetParam().steps);
  apply(form, {kLeave});
  EXPECT_EQ(text(form, box::Turns), GetParam().turns);
  EXPECT_TRUE(form.state().messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Heights, TargetTest,
    ::testing::Values(
        TargetCase{"Aligned0574", {{"type", "Text2(7)", "0.574"}}, "29"},
        TargetCase{"Aligned0573", {{"type", "Text2(7)", "0.573"}}, "19"},
        TargetCase{"AlignedOneWire", {{"type", "Text2(7)", "0.21"}}, "10"},
        TargetCase{"AlignedBelowOneWire", {{"type", "Text2(7)", "0.2"}}, "0"},
        TargetCase{"AlignedEmpty", {{"type", "Text2(7)", ""}}, "-9"},
        TargetCase{"Crossed063", {{"type", "Text2(14)", "0.63"}}, "29"},
        TargetCase{"Crossed084", {{"type", "Text2(14)", "0.84"}}, "38"},
        TargetCase{"CrossedJustBelow", {{"type", "Text2(14)", "0.629"}}, "19"},
        // The crossed height counts in the finished diameter typed now.
        TargetCase{"CrossedTypedDiameter",
                   {{"set", "Text1(1)", "0.42"}, {"type", "Text2(14)", "0.84"}}, "19"},
        // Passing through the boxes the press wrote changes nothing.
        TargetCase{"PassThrough",
                   {{"focus", "Text2(7)", ""}, {"focus", "Text2(10)", ""}, {"focus", "Text2(12)", ""},
                    {"focus", "Text2(14)", ""}},
                   "10"}),
    [](const auto& info) { return info.param.name; });

// The design-time rectangular coil: the weight of n turns with leads,
// conductor only, is below 20 mg up to 5 turns and 0.05 Ω up to 7.
INSTANTIATE_TEST_SUITE_P(
    Solvers, TargetTest,
    ::testing::Values(
        TargetCase{"Weight20mg",
                   {{"set", "Text1(4)", "0.8"}, {"click", "Command1", ""}, {"type", "Text2(10)", "20"}},
                   "5"},
        TargetCase{"Weight20mgInGrams",
                   {{"set", "Text1(4)", "0.8"}, {"type", "Text1(2)", "1000"}, {"click", "Command1", ""},
                    {"type", "Text2(10)", "0.02"}},
                   "5"},
        TargetCase{"Resistance005",
                   {{"set", "Text1(4)", "0.8"}, {"click", "Command1", ""}, {"type", "Text2(12)", "0.05"}},
                   "7"},
        TargetCase{"ResistanceZero",
                   {{"set", "Text1(4)", "0.8"}, {"click", "Command1", ""}, {"type", "Text2(12)", "0"}},
                   "0"},
        TargetCase{"GroupedTargetAccepted",
                   {{"set", "Text1(4)", "0.8"}, {"click", "Command1", ""},
                    {"type", "Text2(10)", "1,000,000"}},
                   "4299"},
        TargetCase{"UngroupedTarget",
                   {{"set", "Text1(4)", "0.8"}, {"click", "Command1", ""},
                    {"type", "Text2(10)", "1000000"}},
                   "4299"},
        TargetCase{"BadGroupingStopsAtComma",
                   {{"set", "Text1(4)", "0.8"}, {"click", "Command1", ""}, {"type", "Text2(10)", "1,00"}},
                   "0"},
        TargetCase{"BeyondTheLimit",
                   {{"set", "Text1(4)", "0.8"}, {"click", "Command1", ""}, {"type", "Text2(10)", "1e9"}},
                   "10000"}),
    [](const auto& info) { return info.param.name; });

TEST(Targets, WeightTargetThenCalculateRecomputesForTheSolvedTurns) {
  Form1 form;
  apply(form, {{"click", "Command1", ""}, {"type", "Text2(10)", "20"}, {"click", "Command1", ""}});
  EXPECT_EQ(text(form, box::Turns), "5");
  EXPECT_EQ(form.state().calc.inputs.turns, 5);
  EXPECT_EQ(text(form, box::LastLayerTurns), "2");  // 5 turns of 3 per layer: 2 in the last
}

TEST(Targets, FailuresLeaveTheTurnsBoxAlone) {
  struct Case {
    std::vector<Step> steps;
    std::vector<std::string> messages;
  };
  const std::vector<Case> cases = {
      // Before any press there is no conductor to divide by.
      {{{"type", "Text2(12)", "5"}}, {"0 で除算しました。"}},
      // Before any press the finished diameter of the winding is unknown.
      {{{"type", "Text2(7)", "1"}}, {}},
      {{{"set", "Text1(1)", ""}, {"type", "Text2(14)", "1"}}, {}},
      // A layer count beyond 32 bits.
      {{{"click", "Command1", ""}, {"type", "Text2(7)", "1e12"}}, {}},
  };
  for (const Case& c : cases) {
    Form1 form;
    apply(form, c.steps);
    apply(form, {kLeave});
    EXPECT_EQ(text(form, box::Turns), "10");
    EXPECT_EQ(form.state().messages, c.messages);
  }
}

TEST(Targets, CrossedHeightBeforeAnyPressGivesZero) {
  Form1 form;
  apply(form, {{"type", "Text2(14)", "1"}, kLeave});
  EXPECT_EQ(text(form, box::Turns), "0");
}

}  // namespace
}  // namespace kelvane::form
