// The Calculate button as a person presses it.
#include <gtest/gtest.h>

#include <map>

#include "form_test_support.h"

namespace kelvane::form {
namespace {

using testing::apply;
using testing::Step;
using testing::t1;
using testing::t2;
using testing::text;

using Boxes = std::map<int, std::string>;

struct PressCase {
  const char* name;
  std::vector<Step> steps;
  Boxes text2;
  std::map<Caption, std::string> captions;
  friend void PrintTo(const PressCase& c, std::ostream* os) { *os << c.name; }
};

class PressTest : public ::testing::TestWithParam<PressCase> {};

TEST_P(PressTest, BoxesAndCaptions) {
  Form1 form;
  apply(form, GetParam().steps);
  EXPECT_TRUE(form.state().messages.empty());
  for (const auto& [i, text] : GetParam().text2)
    EXPECT_EQ(t2(form, i), text) << "Text2(" << i << ")";
  for (const auto& [changing, caption] : GetParam().captions)
    EXPECT_EQ(form.state().caption(changing), caption) << idOf(changing).str();
}

INSTANTIATE_TEST_SUITE_P(Examples, PressTest,
                         ::testing::Values(
                             // The design-time texts on the rectangular former.
                             PressCase{"Design",
                                       {{"click", "Command1", ""}},
                                       {{0, "同数列巻き--3 X 3"},
                                        {1, "4"},
                                        {2, "0.735"},
                                        {3, "1"},
                                        {4, "3.596"},
                                        {5, "3.511"},
                                        {6, "50.840"},
                                        {7, "0.756"},
                                        {14, "0.840"},
                                        {15, "0.840"},
                                        {16, ""},
                                        {17, ""}},
                                       {{Caption::LengthUnit, "全長 mm"},
                                        {Caption::WeightUnit, "重量 mg"},
                                        {Caption::ResistanceUnit, "DCR Ω"}}},
                             // The round former with D 10 and copper, box by box.
                             PressCase{"Round",
                                       {{"click", "Option1(0)", ""}, {"click", "Command1", ""}},
                                       {{6, "11.596"},
                                        {8, "355.530"},
                                        {9, "356.205"},
                                        {10, "101.451"},
                                        {11, "101.643"},
                                        {12, "0.200"},
                                        {13, "0.200"},
                                        {18, "1.374"},
                                        {19, "1.376"},
                                        {20, "100.077"},
                                        {21, "100.267"}},
                                       {{Caption::LengthUnit, "全長 mm"},
                                        {Caption::WeightUnit, "重量 mg"},
                                        {Caption::ResistanceUnit, "DCR Ω"},
                                        {Caption::OuterRorD, "D'"}}},
                             // A size typed with its unit, full-width or not, and a hidden box
                             // holding what could not be read: the round example all the same.
                             PressCase{
                                 "UnitsAfterNumbers",
                                 {{"type", "Text1(7)", "φ2"},
                                  {"click", "Option1(0)", ""},
                                  {"type", "Text1(5)", "１０ｍｍ"},
                                  {"type", "Text1(3)", "10 mm"},
                                  {"click", "Command1", ""}},
                                 {{6, "11.596"}, {8, "355.530"}, {9, "356.205"}, {20, "100.077"}},
                                 {}}),
                         [](const auto& info) { return info.param.name; });

TEST(Press, EmptyR2TakesR1AndShowsIt) {
  Form1 form;
  apply(form, {{"type", "Text1(8)", "0.25"}, {"type", "Text1(9)", ""}, {"click", "Command1", ""}});
  EXPECT_EQ(text(form, box::CornerR2), "0.25");
  EXPECT_EQ(form.state().calc.inputs.cornerR2, 0.25);
}

TEST(Press, RefusalsShowOneMessageAndChangeNothing) {
  struct Case {
    std::vector<Step> steps;
    std::string message;
    std::string box;  // where the focus goes, its text selected
  };
  const std::string comma =
      "は数値として読めません。桁区切りは「1,000」のように3桁ごとに、小数点は「."
      "」で入力してください";
  const std::string notANumber = "は数値として読めません。数値で入力してください";
  const std::vector<Case> cases = {
      {{{"type", "Text1(0)", ""}}, "素線径(d)を入力してください", "Text1(0)"},
      {{{"type", "Text1(0)", "0"}}, "素線径(d)を入力してください", "Text1(0)"},
      // One position per layer: the even layers would hold no turn.
      {{{"type", "Text1(4)", "0.3"}},
       "基準厚み(T)は線仕上外径の1.5倍以上にしてください",
       "Text1(4)"},
      {{{"type", "Text1(4)", "0.2"}},
       "基準厚み(T)は線仕上外径の1.5倍以上にしてください",
       "Text1(4)"},
      {{{"type", "Text1(1)", "1e400"}}, "オーバーフローしました。", "Text1(1)"},
      // Impossible wires and coils are refused before anything is computed.
      {{{"type", "Text1(0)", "1e200"}},
       "素線径(d)は26.8 mm以下にしてください（それより太いと抵抗の細線補正係数が0以下になります）",
       "Text1(0)"},
      {{{"type", "Text1(1)", ""}}, "線仕上外径は0より大きい値にしてください", "Text1(1)"},
      {{{"type", "Text1(1)", "0.1"}}, "線仕上外径は素線径(d)以上にしてください", "Text1(1)"},
      {{{"type", "Text1(2)", "-50"}}, "巻き数(n)は0以上にしてください", "Text1(2)"},
      {{{"type", "Text1(2)", "2147483647"}},
       "巻き数(n)は2,000,000,000以下にしてください",
       "Text1(2)"},
      {{{"type", "Text1(3)", "1e300"}},
       "リード長さ(L)は-1,000,000～1,000,000 mmの範囲で入力してください",
       "Text1(3)"},
      // A comma that is not a digit group is not guessed at.
      {{{"type", "Text1(0)", "0,2"}}, "「素線径(d)」の「0,2」" + comma, "Text1(0)"},
      {{{"type", "Text1(2)", "1,00"}}, "「巻き数(n)」の「1,00」" + comma, "Text1(2)"},
      {{{"type", "Text1(7)", "1.5,3"}}, "「B」の「1.5,3」" + comma, "Text1(7)"},
      // Text besides the number and the box's unit is a slip, not a value.
      {{{"click", "Option1(0)", ""}, {"type", "Text1(5)", "φ12"}},
       "「内径(D)」の「φ12」" + notANumber + "（単位は「mm」のみ付けられます）",
       "Text1(5)"},
      {{{"type", "Text1(3)", "3cm"}},
       "「リード長さ(L)」の「3cm」" + notANumber + "（単位は「mm」のみ付けられます）",
       "Text1(3)"},
      {{{"type", "Text1(2)", "12abc"}}, "「巻き数(n)」の「12abc」" + notANumber, "Text1(2)"},
      {{{"type", "Text1(0)", std::string("0.2\0", 4)}},
       "「素線径(d)」の「0.2\\x00」" + notANumber + "（単位は「mm」のみ付けられます）",
       "Text1(0)"},
      {{{"click", "Option1(2)", ""}, {"type", "Text1(11)", "40deg"}},
       "「AG」の「40deg」" + notANumber + "（単位は「°」のみ付けられます）",
       "Text1(11)"},
  };
  for (const Case& c : cases) {
    Form1 form;
    apply(form, {{"click", "Command1", ""}});
    apply(form, c.steps);
    // The r2 fill-in must not happen either.
    if (form.isVisible(idOf(box::CornerR2))) apply(form, {{"type", "Text1(9)", ""}});
    const FormState before = form.state();
    apply(form, {{"click", "Command1", ""}});
    const FormState& after = form.state();
    ASSERT_EQ(after.messages.size(), 1u);
    EXPECT_EQ(after.messages[0], c.message);
    EXPECT_EQ(after.focus.str(), c.box);
    EXPECT_EQ(after.selectRequests, before.selectRequests + 1);
    EXPECT_EQ(after.inputTexts, before.inputTexts);
    EXPECT_EQ(after.resultTexts, before.resultTexts);
    EXPECT_EQ(after.captions, before.captions);
    EXPECT_EQ(after.calc, before.calc);
    EXPECT_EQ(after.drawing, before.drawing);
  }
}

// A round coil computes from the boxes it shows: sides typed under the
// rectangular former and hidden since change neither its results nor the
// turns a target gives.
TEST(Press, ARoundCoilComputesFromWhatIsOnScreen) {
  const std::vector<Step> coil = {{"click", "Option1(0)", ""},  {"type", "Text1(0)", "0.25"},
                                  {"type", "Text1(1)", "0.28"}, {"type", "Text1(2)", "748"},
                                  {"type", "Text1(5)", "12"},   {"type", "Text1(4)", "10"},
                                  {"click", "Command1", ""}};
  const std::string dcr = idOf(box::PredictedDcr).str();
  const std::vector<Step> target = {{"type", dcr, "15"}, {"focus", "Text1(0)", ""}};
  Form1 fresh;
  apply(fresh, coil);
  EXPECT_EQ(text(fresh, box::PredictedLength), "41.962");
  EXPECT_EQ(fresh.state().caption(Caption::LengthUnit), "全長 m");
  for (const char* b : {"12", "0.2", "100"}) {
    SCOPED_TRACE(b);
    Form1 form;
    apply(form, {{"type", "Text1(7)", b}, {"type", "Text1(9)", "3"}});
    apply(form, coil);
    for (int i = 0; i < kResultBoxCount; ++i) {
      if (form.state().visible.results[i]) {
        EXPECT_EQ(t2(form, i), t2(fresh, i)) << "Text2(" << i << ")";
      }
    }
    Form1 solvedFresh = fresh;
    apply(solvedFresh, target);
    apply(form, target);
    EXPECT_EQ(text(form, box::Turns), text(solvedFresh, box::Turns));
  }
}

TEST(Press, NoShapeWritesOnlyTheArrangement) {
  Form1 form;
  apply(form, {{"click", "Command1", ""}, {"type", "Text1(4)", "1.1"}});
  const FormState before = form.state();
  form.setFormerButton(std::nullopt);
  apply(form, {{"click", "Command1", ""}});
  const FormState& after = form.state();
  ASSERT_EQ(after.messages, std::vector<std::string>{"形状選択が適切でありません"});
  EXPECT_EQ(after.resultTexts[0], "異数列巻き--5 X 4");
  EXPECT_EQ(after.resultTexts[2], "1.05");
  for (int i : {1, 3, 4, 5, 6, 7, 8, 10, 12, 14, 15, 21})
    EXPECT_EQ(after.resultTexts[i], before.resultTexts[i]);
  EXPECT_EQ(after.calc.turnsOddLayer, 5);
  EXPECT_EQ(after.drawing.circles.size(), 1u);  // the added turns are gone
}

TEST(Press, FailedLengthShowsItsMessageAndZeroLengths) {
  Form1 form;
  // A fan whose radius is below its corners has no outline to wind along.
  apply(form,
        {{"click", "Option1(2)", ""}, {"type", "Text1(10)", "0.1"}, {"click", "Command1", ""}});
  EXPECT_EQ(form.state().messages,
            std::vector<std::string>{"プロシージャの呼び出し、または引数が不正です。"});
  for (int i : {8, 9, 10, 11, 12, 13, 18, 19, 20, 21}) EXPECT_EQ(t2(form, i), "0.000");
  EXPECT_EQ(form.state().caption(Caption::WeightUnit), "重量 mg");
  EXPECT_NE(text(form, box::AlignedHeight), "");
  EXPECT_FALSE(form.isVisible(idOf(DrawingPart::LargeCoilNote)));  // ten turns are drawn
}

TEST(Press, DrawingUpTo999TurnsThenTheNote) {
  struct Case {
    const char* turns;
    bool drawn;
    std::size_t circles;
  };
  for (const Case& c : {Case{"10", true, 10}, Case{"10.7", true, 10}, Case{"1.5", true, 1},
                        Case{"999", true, 999}, Case{"999.5", true, 999}, Case{"1000", false, 1}}) {
    Form1 form;
    apply(form, {{"type", "Text1(2)", c.turns}, {"click", "Command1", ""}});
    const FormState& s = form.state();
    EXPECT_EQ(form.isVisible(idOf(DrawingPart::Turns)), c.drawn) << c.turns;
    EXPECT_EQ(form.isVisible(idOf(DrawingPart::FormerLine)), c.drawn) << c.turns;
    EXPECT_EQ(form.isVisible(idOf(DrawingPart::LargeCoilNote)), !c.drawn) << c.turns;
    EXPECT_EQ(s.drawing.circles.size(), c.circles) << c.turns;
  }
}

TEST(Press, DesignDrawingStandsOnTheFormer) {
  Form1 form;
  apply(form, {{"click", "Command1", ""}});
  const Drawing& d = form.state().drawing;
  ASSERT_EQ(d.circles.size(), 10u);
  EXPECT_EQ(d.circles[0], (Circle{8160, 2642, 867.5f, 867.5f, true}));
  EXPECT_EQ(d.circles[3].left, 10330);
  EXPECT_FALSE(d.circles[8].filled);
  EXPECT_TRUE(d.circles[9].filled);
  EXPECT_EQ(d.line1, (LinePosition{8160, 3510, 11198, 3510}));
  EXPECT_EQ(d.line3.x1, 11198);
  EXPECT_EQ(d.line2.y2, d.circles[9].top);
  // A smaller coil afterwards removes the turns of the larger one.
  apply(form, {{"type", "Text1(2)", "3"}, {"click", "Command1", ""}});
  EXPECT_EQ(form.state().drawing.circles.size(), 3u);
}

TEST(Press, NoTurnsHidesTheDrawing) {
  Form1 form;
  apply(form, {{"set", "Text1(2)", "0"}, {"click", "Command1", ""}});
  EXPECT_FALSE(form.isVisible(idOf(DrawingPart::Turns)));
  EXPECT_FALSE(form.isVisible(idOf(DrawingPart::LargeCoilNote)));
  EXPECT_EQ(text(form, box::LayerCount), "0");
}

TEST(Press, NoBoxEverShowsNanOrInf) {
  const std::vector<std::vector<Step>> presses = {
      {{"type", "Text1(6)", "-1e300"}},
      {{"type", "Text1(1)", "1e-300"}},
      {{"type", "Text1(2)", "-5"}},
      {{"type", "Text1(3)", "1e300"}},
      {{"type", "Text1(0)", "1e-200"}},
      {{"click", "Option1(2)", ""}, {"type", "Text1(10)", "0.01"}},
      {{"click", "Option1(2)", ""}, {"type", "Text1(11)", "179.9"}},
      {{"click", "Option1(0)", ""}, {"type", "Text1(5)", "-1e308"}},
  };
  for (const auto& steps : presses) {
    Form1 form;
    apply(form, steps);
    apply(form, {{"click", "Command1", ""}});
    std::vector<std::string> shown(form.state().resultTexts.begin(),
                                   form.state().resultTexts.end());
    shown.insert(shown.end(), form.state().inputTexts.begin(), form.state().inputTexts.end());
    for (const std::string& t : shown) {
      EXPECT_EQ(t.find("nan"), std::string::npos) << t;
      EXPECT_EQ(t.find("inf"), std::string::npos) << t;
    }
  }
}

}  // namespace
}  // namespace kelvane::form

namespace kelvane::form {
namespace {

TEST(Press, ACancelledPressChangesNothingAndARunnerGivesTheSamePress) {
  Form1 form;
  testing::apply(
      form,
      {{"click", "Command1", ""}, {"type", "Text1(2)", "2000000000"}, {"set", "Text1(9)", ""}});
  const FormState before = form.state();
  // The person waiting calls the press off before the sum has begun.
  form.setWorkRunner([](double, const Work& work) {
    PressProgress progress;
    progress.cancel();
    work(&progress);
  });
  form.calculate();
  EXPECT_EQ(form.state().inputTexts, before.inputTexts);
  EXPECT_EQ(form.state().resultTexts, before.resultTexts);
  EXPECT_EQ(form.state().calc, before.calc);
  EXPECT_TRUE(form.state().messages.empty());

  // Run elsewhere with a progress to report to, the press is the same.
  const std::vector<Step> steps = {
      {"click", "Command1", ""}, {"type", "Text1(2)", "20"}, {"click", "Command1", ""}};
  Form1 direct;
  testing::apply(direct, steps);
  Form1 followed;
  double runnerTurns = 0;
  followed.setWorkRunner([&](double turns, const Work& work) {
    runnerTurns = turns;
    PressProgress progress;
    work(&progress);
  });
  testing::apply(followed, steps);
  EXPECT_EQ(runnerTurns, 20);
  EXPECT_EQ(followed.state().resultTexts, direct.state().resultTexts);
  EXPECT_EQ(followed.state().drawing, direct.state().drawing);
}

}  // namespace
}  // namespace kelvane::form
