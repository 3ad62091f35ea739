// Leaving an input box: the fill-ins and the fan former's angle and width.
#include <gtest/gtest.h>

#include "core/fan_width.h"
#include "core/number_text.h"
#include "form_test_support.h"

namespace kelvane::form {
namespace {

using testing::apply;
using testing::Step;

struct RuleCase {
  const char* name;
  std::vector<Step> steps;  // the last one moves the focus away
  int box;                  // the Text1 box to look at
  std::string expected;
  friend void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.name; }
};

class InputRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(InputRuleTest, LeavingTheBox) {
  Form1 form;
  apply(form, {{"click", "Option1(2)", ""}});  // all fan boxes visible
  apply(form, GetParam().steps);
  EXPECT_EQ(form.state().inputTexts[GetParam().box], GetParam().expected);
  EXPECT_TRUE(form.state().messages.empty());
}

const Step kLeave{"focus", "Text1(13)", ""};

INSTANTIATE_TEST_SUITE_P(
    Rules, InputRuleTest,
    ::testing::Values(
        RuleCase{"AgGivesXx", {{"focus", "Text1(11)", ""}, kLeave}, 12, "4.3094010767585"},
        RuleCase{"XxGivesAgBack", {{"type", "Text1(12)", "4.3094010767585"}, kLeave}, 11, "60"},
        RuleCase{"TypedXx60",
                 {{"focus", "Text1(11)", ""}, {"type", "Text1(12)", "60"}, kLeave},
                 11,
                 "172.109627541925"},
        RuleCase{"Ag90", {{"type", "Text1(11)", "90"}, kLeave}, 12, "5.99999999999999"},
        RuleCase{"Ag0GivesB", {{"type", "Text1(11)", "0"}, kLeave}, 12, "2"},
        RuleCase{"XxEqualBGivesZero", {{"type", "Text1(12)", "2"}, kLeave}, 11, "0"},
        RuleCase{"XxBelowBNegative", {{"type", "Text1(12)", "0"}, kLeave}, 11, "-53.130102354156"},
        RuleCase{"XxWithAZeroKeepsAg",
                 {{"set", "Text1(6)", "0"}, {"type", "Text1(12)", "5"}, kLeave},
                 11,
                 "60"},
        RuleCase{"EmptyA", {{"type", "Text1(6)", ""}, kLeave}, 6, "0.6"},
        RuleCase{
            "EmptyAEmptyR1", {{"set", "Text1(8)", ""}, {"type", "Text1(6)", ""}, kLeave}, 6, "0.3"},
        RuleCase{"EmptyB", {{"type", "Text1(7)", ""}, kLeave}, 7, "0.6"},
        RuleCase{"BZeroPointZero", {{"type", "Text1(7)", "0.0"}, kLeave}, 7, "0.6"},
        RuleCase{"AKeepsTrailingText", {{"type", "Text1(6)", "10abc"}, kLeave}, 6, "10abc"},
        RuleCase{"EmptyTurns", {{"type", "Text1(2)", ""}, kLeave}, 2, "1"},
        RuleCase{"ZeroTurns", {{"type", "Text1(2)", "0"}, kLeave}, 2, "1"},
        // A slip is left for 計算 to refuse, not replaced by a count.
        RuleCase{"WordTurnsKept", {{"type", "Text1(2)", "abc"}, kLeave}, 2, "abc"},
        RuleCase{"TurnsWithTextKept", {{"type", "Text1(2)", "0abc"}, kLeave}, 2, "0abc"},
        RuleCase{"HalfTurnKept", {{"type", "Text1(2)", "0.5"}, kLeave}, 2, "0.5"},
        RuleCase{"HugeTurnsKept", {{"type", "Text1(2)", "1e999"}, kLeave}, 2, "1e999"},
        RuleCase{"WidthBeyondDoubleKeepsXx",
                 {{"type", "Text1(6)", "1e308"}, {"type", "Text1(11)", "179"}, kLeave},
                 12,
                 "60"}),
    [](const auto& info) { return info.param.name; });

// Written in full like every number the program writes, never "2.29E+302".
TEST(InputRules, HugeWidthIsWrittenInFull) {
  Form1 form;
  apply(form, {{"click", "Option1(2)", ""},
               {"type", "Text1(6)", "1e300"},
               {"type", "Text1(11)", "179"},
               kLeave});
  const std::string xx = form.state().inputTexts[12];
  EXPECT_TRUE(xx.starts_with("229177300258579")) << xx;
  EXPECT_EQ(xx.size(), 303u);
  EXPECT_EQ(xx.find_first_not_of("0123456789"), std::string::npos) << xx;
}

TEST(InputRules, PassingThroughXxKeepsTheAngle) {
  Form1 form;
  apply(form, {{"click", "Option1(2)", ""}, {"focus", "Text1(12)", ""}, kLeave});
  EXPECT_EQ(form.state().inputTexts[11], "60");
  // AG → XX → on: the width written from AG is not the user's, so AG stays.
  apply(form, {{"type", "Text1(11)", "45"}, {"focus", "Text1(12)", ""}, kLeave});
  EXPECT_EQ(form.state().inputTexts[11], "45");
  // Typing the very width the box shows is the user's width: AG follows it,
  // here back from an angle a program put in meanwhile.
  const std::string shownWidth = form.state().inputTexts[12];
  apply(form, {{"set", "Text1(11)", "30"}, {"type", "Text1(12)", shownWidth}, kLeave});
  EXPECT_EQ(form.state().inputTexts[11], "45");
  apply(form, {{"type", "Text1(11)", "45"}, {"type", "Text1(12)", "６０"}, kLeave});
  EXPECT_EQ(form.state().inputTexts[11], plainDecimal(*FanAngleFromWidth(2, 2, 60)));
}

TEST(InputRules, OtherBoxesChangeNothingEvenWhenEmpty) {
  for (int i : {0, 1, 3, 4, 5, 8, 9, 10, 13}) {
    Form1 form;
    apply(form, {{"click", "Option1(2)", ""}});
    if (i == 5) apply(form, {{"click", "Option1(0)", ""}});
    const auto id = "Text1(" + std::to_string(i) + ")";
    apply(form, {{"type", id, ""}, {"click", i == 5 ? "Option1(1)" : "Option1(0)", ""}});
    auto texts = form.state().inputTexts;
    texts[i] = "x";
    Form1 reference;
    auto expected = reference.state().inputTexts;
    expected[i] = "x";
    EXPECT_EQ(texts, expected) << id;
  }
}

}  // namespace
}  // namespace kelvane::form
