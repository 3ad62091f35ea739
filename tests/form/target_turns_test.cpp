// Typing a height, weight or resistance into a green box to get the turns.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/expected.h"
#include "core/input_checks.h"
#include "core/number_text.h"
#include "core/typed_number.h"
#include "form_test_support.h"

namespace kelvane::form {
namespace {

using testing::apply;
using testing::Step;
using testing::t1;
using testing::t2;
using testing::text;

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
    ::testing::Values(TargetCase{"Aligned0574", {{"type", "Text2(7)", "0.574"}}, "29"},
                      TargetCase{"Aligned0573", {{"type", "Text2(7)", "0.573"}}, "19"},
                      TargetCase{"AlignedOneWire", {{"type", "Text2(7)", "0.21"}}, "10"},
                      TargetCase{"AlignedBelowOneWire", {{"type", "Text2(7)", "0.2"}}, "0"},
                      TargetCase{"AlignedEmpty", {{"type", "Text2(7)", ""}}, "-9"},
                      TargetCase{"Crossed063", {{"type", "Text2(14)", "0.63"}}, "29"},
                      TargetCase{"Crossed084", {{"type", "Text2(14)", "0.84"}}, "38"},
                      TargetCase{"CrossedJustBelow", {{"type", "Text2(14)", "0.629"}}, "19"},
                      // The crossed height counts in the finished diameter as it
                      // stands, and so do the layers: 0.42 across 2.11 lays 5 and 4.
                      TargetCase{"CrossedTypedDiameter",
                                 {{"set", "Text1(1)", "0.42"}, {"type", "Text2(14)", "0.84"}},
                                 "9"},
                      // Emptying a box that the material change emptied
                      // already edits nothing, so there is no target.
                      TargetCase{"EmptyBoxEmptiedAgain",
                                 {{"click", "Option3(1)", ""}, {"type", "Text2(14)", ""}},
                                 "10"},
                      // Passing through the boxes the press wrote changes nothing.
                      TargetCase{"PassThrough",
                                 {{"focus", "Text2(7)", ""},
                                  {"focus", "Text2(10)", ""},
                                  {"focus", "Text2(12)", ""},
                                  {"focus", "Text2(14)", ""}},
                                 "10"}),
    [](const auto& info) { return info.param.name; });

// The design-time rectangular coil: the total weight of n turns with leads is
// shown below 20 mg up to 5 turns, the resistance below 0.05 Ω up to 7.
INSTANTIATE_TEST_SUITE_P(
    Solvers, TargetTest,
    ::testing::Values(
        TargetCase{
            "Weight20mg",
            {{"set", "Text1(4)", "0.8"}, {"click", "Command1", ""}, {"type", "Text2(10)", "20"}},
            "5"},
        TargetCase{"Weight20mgInGrams",
                   {{"set", "Text1(4)", "0.8"},
                    {"type", "Text1(2)", "1000"},
                    {"click", "Command1", ""},
                    {"type", "Text2(10)", "0.02"}},
                   "5"},
        TargetCase{
            "Resistance005",
            {{"set", "Text1(4)", "0.8"}, {"click", "Command1", ""}, {"type", "Text2(12)", "0.05"}},
            "7"},
        TargetCase{
            "ResistanceZero",
            {{"set", "Text1(4)", "0.8"}, {"click", "Command1", ""}, {"type", "Text2(12)", "0"}},
            "0"},
        TargetCase{"GroupedTargetAccepted",
                   {{"set", "Text1(4)", "0.8"},
                    {"click", "Command1", ""},
                    {"type", "Text2(10)", "1,000,000"}},
                   "4269"},
        TargetCase{"UngroupedTarget",
                   {{"set", "Text1(4)", "0.8"},
                    {"click", "Command1", ""},
                    {"type", "Text2(10)", "1000000"}},
                   "4269"},
        TargetCase{"FullWidthTarget",
                   {{"set", "Text1(4)", "0.8"},
                    {"click", "Command1", ""},
                    {"type", "Text2(10)", "１，０００，０００"}},
                   "4269"},
        // No silent cap at 10,000 turns: a tonne of wire is searched for.
        TargetCase{
            "FarTarget",
            {{"set", "Text1(4)", "0.8"}, {"click", "Command1", ""}, {"type", "Text2(10)", "1e9"}},
            "135630"},
        // Typing the text the box already shows is a target all the same.
        TargetCase{
            "RetypedSameText",
            {{"set", "Text1(4)", "0.8"}, {"click", "Command1", ""}, {"type", "Text2(12)", "0.065"}},
            "9"}),
    [](const auto& info) { return info.param.name; });

TEST(Targets, WeightTargetThenCalculateRecomputesForTheSolvedTurns) {
  Form1 form;
  apply(form, {{"click", "Command1", ""}, {"type", "Text2(10)", "20"}, {"click", "Command1", ""}});
  EXPECT_EQ(text(form, box::Turns), "5");
  EXPECT_EQ(form.state().calc.inputs.turns, 5);
  EXPECT_EQ(text(form, box::LastLayerTurns), "2");  // 5 turns of 3 per layer: 2 in the last
}

// Coils of every former and material drawn at random: after a weight or
// resistance target is applied and 計算 pressed, its box shows less than the
// target, and one turn more would show the target or more.
TEST(Targets, TheNextPressMeetsTheTarget) {
  std::mt19937 random(8122026);
  auto pick = [&](double lo, double hi) {
    return plainDecimal(std::round(std::uniform_real_distribution<double>(lo, hi)(random) * 1000) /
                        1000);
  };
  auto shown = [](const Form1& f, ResultBox b) { return readTypedNumber(text(f, b)).value; };
  int met = 0;
  for (const char* shape : {"Option1(0)", "Option1(1)", "Option1(2)"}) {
    for (const char* material : {"Option3(0)", "Option3(1)", "Option3(2)"}) {
      for (int i = 0; i < 6; ++i) {
        const double d = std::uniform_real_distribution<double>(0.05, 1.0)(random);
        const std::vector<Step> coil = {{"click", shape, ""},
                                        {"click", material, ""},
                                        {"type", "Text1(0)", plainDecimal(d)},
                                        {"type", "Text1(1)", plainDecimal(d * 1.1)},
                                        {"type", "Text1(2)", pick(5, 300)},
                                        {"type", "Text1(3)", pick(0, 60)},
                                        {"type", "Text1(4)", plainDecimal(d * 1.1 * 6)},
                                        {"set", "Text1(5)", pick(2, 30)},
                                        {"set", "Text1(6)", pick(3, 20)},
                                        {"set", "Text1(7)", pick(3, 20)},
                                        {"click", "Command1", ""}};
        for (const ResultBox target : {box::AlignedWeight, box::PredictedDcr}) {
          Form1 form;
          apply(form, coil);
          if (!form.state().messages.empty()) continue;
          const Caption unitRow =
              target == box::AlignedWeight ? Caption::WeightUnit : Caption::ResistanceUnit;
          const std::string unitCaption = form.state().caption(unitRow);
          // A target a little above what the box shows, in the same unit.
          const double wanted = std::round(shown(form, target) * 1.7 * 1000) / 1000;
          if (!(wanted > 0) || wanted >= 1000) continue;
          SCOPED_TRACE(::testing::Message() << shape << material << " coil " << i << " target "
                                            << wanted << " in " << unitCaption);
          apply(form, {{"type", idOf(target).str(), plainDecimal(wanted)}, kLeave});
          const std::string turns = text(form, box::Turns);
          apply(form, {{"click", "Command1", ""}});
          ASSERT_TRUE(form.state().messages.empty());
          if (form.state().caption(unitRow) != unitCaption) continue;
          EXPECT_LT(shown(form, target), wanted);
          apply(form, {{"type", "Text1(2)", plainDecimal(std::stod(turns) + 1)},
                       {"click", "Command1", ""}});
          EXPECT_GE(shown(form, target), wanted);
          ++met;
        }
      }
    }
  }
  EXPECT_GT(met, 60);
}

// After a press, the wire, the material, the former or the layer changes:
// a target then solves with the inputs shown, as it would after a press of
// them, and writes no result box.
TEST(Targets, AfterAChangeTheInputsShownAreSolvedWith) {
  struct Case {
    const char* name;
    std::vector<Step> before;  // the press these inputs replace
    std::vector<Step> change;
    Step target;
  };
  const std::vector<Step> thickWire = {{"type", "Text1(0)", "1.0"},
                                       {"type", "Text1(1)", "1.1"},
                                       {"type", "Text1(4)", "8"},
                                       {"type", "Text1(2)", "100"},
                                       {"click", "Command1", ""}};
  const std::vector<Case> cases = {
      {"thinner wire",
       thickWire,
       {{"type", "Text1(0)", "0.5"}, {"type", "Text1(1)", "0.566"}},
       {"type", "Text2(10)", "50"}},
      {"thinner wire, resistance",
       thickWire,
       {{"type", "Text1(0)", "0.5"}, {"type", "Text1(1)", "0.566"}},
       {"type", "Text2(12)", "0.2"}},
      {"aluminium", thickWire, {{"click", "Option3(1)", ""}}, {"type", "Text2(10)", "50"}},
      {"wider former", thickWire, {{"type", "Text1(6)", "5"}}, {"type", "Text2(10)", "50"}},
      {"round former", thickWire, {{"click", "Option1(0)", ""}}, {"type", "Text2(12)", "0.2"}},
      {"fan of a wider angle",
       {{"click", "Option1(2)", ""}, {"type", "Text1(2)", "100"}, {"click", "Command1", ""}},
       {{"type", "Text1(11)", "90"}},
       {"type", "Text2(10)", "100"}},
      {"narrower layer, aligned height",
       kTenAndNine,
       {{"type", "Text1(4)", "1.1"}},
       {"type", "Text2(7)", "0.574"}},
      {"thinner wire, crossed height",
       kTenAndNine,
       {{"type", "Text1(1)", "0.1"}, {"type", "Text1(0)", "0.1"}},
       {"type", "Text2(14)", "0.84"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // What the turns come to when the inputs shown have been pressed.
    Form1 pressed;
    apply(pressed, c.before);
    apply(pressed, c.change);
    apply(pressed, {{"click", "Command1", ""}, c.target, kLeave});
    ASSERT_TRUE(pressed.state().messages.empty());

    Form1 form;
    apply(form, c.before);
    apply(form, c.change);
    const auto results = form.state().resultTexts;
    ASSERT_EQ(form.state().captions, pressed.state().captions);  // the target's unit
    apply(form, {c.target, kLeave});
    EXPECT_EQ(text(form, box::Turns), text(pressed, box::Turns));
    EXPECT_NE(text(form, box::Turns), "100");
    EXPECT_TRUE(form.state().messages.empty());
    auto written = form.state().resultTexts;
    written[parseControlId(c.target.control)->index] =
        results[parseControlId(c.target.control)->index];
    EXPECT_EQ(written, results);
  }
}

TEST(Targets, FailuresLeaveTheTurnsBoxAlone) {
  struct Case {
    std::vector<Step> steps;
    std::vector<std::string> messages;
    std::string focus = "Text1(13)";  // the box the user is sent back to
  };
  const std::string openFan(kOpenFanOutlineMessage);
  const std::string invalidArgument(kInvalidArgumentMessage);
  const std::vector<Case> cases = {
      // Before any press there are no inputs to search with.
      {{{"type", "Text2(12)", "5"}}, {"目標値から巻き数を求めるには、先に計算してください"}},
      // A comma that is no digit group is not guessed at.
      {{{"click", "Command1", ""}, {"type", "Text2(10)", "1,00"}},
       {"「重量」の「1,00」は数値として読めません。桁区切りは「1,"
        "000」のように3桁ごとに、小数点は「.」で入力してください"}},
      // Before any press the finished diameter of the winding is unknown.
      {{{"type", "Text2(7)", "1"}}, {}},
      {{{"set", "Text1(1)", ""}, {"type", "Text2(14)", "1"}}, {}},
      // A layer count beyond 32 bits.
      {{{"click", "Command1", ""}, {"type", "Text2(7)", "1e12"}}, {}},
      // Inputs changed since the press that 計算 would refuse: its message,
      // and the box at fault to correct.
      {{{"click", "Command1", ""}, {"type", "Text1(1)", "0"}, {"type", "Text2(10)", "5"}},
       {"線仕上外径は0より大きい値にしてください"},
       "Text1(1)"},
      {{{"click", "Command1", ""}, {"type", "Text1(0)", "0,5"}, {"type", "Text2(7)", "1"}},
       {"「素線径(d)」の「0,5」は数値として読めません。桁区切りは「1,"
        "000」のように3桁ごとに、小数点は「.」で入力してください"},
       "Text1(0)"},
      {{{"click", "Command1", ""},
        {"click", "Option1(2)", ""},
        {"type", "Text1(7)", "16"},
        {"type", "Text1(6)", "3.1"},
        {"type", "Text1(10)", "12"},
        {"type", "Text1(11)", "39"},
        {"type", "Text2(12)", "5"}},
       {openFan},
       "Text1(10)"},
      // A fan whose outline search fails: the press says so, and the target
      // says it again instead of walking turns of no length.
      {{{"click", "Option1(2)", ""},
        {"type", "Text1(10)", "0.34"},
        {"click", "Command1", ""},
        {"type", "Text2(10)", "50"}},
       {invalidArgument, invalidArgument}},
  };
  for (const Case& c : cases) {
    Form1 form;
    apply(form, c.steps);
    apply(form, {kLeave});
    EXPECT_EQ(text(form, box::Turns), "10");
    EXPECT_EQ(form.state().messages, c.messages);
    EXPECT_EQ(form.state().focus.str(), c.focus);
  }
}

TEST(Targets, CrossedHeightBeforeAnyPressGivesZero) {
  Form1 form;
  apply(form, {{"type", "Text2(14)", "1"}, kLeave});
  EXPECT_EQ(text(form, box::Turns), "0");
}

}  // namespace
}  // namespace kelvane::form
