// Enter from box to box: the order of the input boxes each former shows, and
// where Enter and Shift+Enter take the focus from every kind of control.
#include "form/entry_order.h"

#include <gtest/gtest.h>

#include "form/control_table.h"
#include "form_test_support.h"

namespace kelvane::form {
namespace {

using testing::apply;

const ControlId kCalculate{"Command1", -1};

std::vector<InputBox> boxes(std::initializer_list<int> indexes) {
  std::vector<InputBox> out;
  for (int i : indexes) out.push_back(static_cast<InputBox>(i));
  return out;
}

struct ShapeCase {
  FormerShape shape;
  std::vector<InputBox> order;  // down the column: the common boxes, the former's, Tension
};

std::string formerName(const ::testing::TestParamInfo<ShapeCase>& info) {
  static const char* const names[] = {"Round", "Rectangular", "Fan"};
  return names[static_cast<int>(info.param.shape)];
}

class EnterThroughTheBoxes : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(EnterThroughTheBoxes, InReadingOrderThenCalculateAndBackWithShift) {
  const ShapeCase& c = GetParam();
  EXPECT_EQ(entryOrder(c.shape), c.order);

  Form1 form;
  form.click({"Option1", static_cast<int>(c.shape)});
  ASSERT_TRUE(form.moveFocus(idOf(c.order.front())));
  for (std::size_t i = 1; i < c.order.size(); ++i) {
    form.pressKey(Form1::kEnterKey);
    EXPECT_EQ(form.state().focus, idOf(c.order[i])) << "Enter number " << i;
  }
  EXPECT_TRUE(form.state().resultTexts[1].empty());
  // Enter in the last box presses 計算.
  form.pressKey(Form1::kEnterKey);
  EXPECT_EQ(form.state().focus, kCalculate);
  EXPECT_FALSE(form.state().resultTexts[1].empty());
  EXPECT_FALSE(form.resultsOutOfDate());

  // Shift+Enter walks the same boxes back from 計算 and stops at the first.
  const std::vector<InputBox> backwards(c.order.rbegin(), c.order.rend());
  for (const InputBox b : backwards) {
    form.pressEnter(true);
    EXPECT_EQ(form.state().focus, idOf(b));
  }
  form.pressEnter(true);
  EXPECT_EQ(form.state().focus, idOf(c.order.front()));
  EXPECT_EQ(form.state().messages, std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Formers, EnterThroughTheBoxes,
    ::testing::Values(ShapeCase{FormerShape::Round, boxes({0, 1, 2, 3, 4, 5, 13})},
                      ShapeCase{FormerShape::Rectangular, boxes({0, 1, 2, 3, 4, 6, 7, 8, 9, 13})},
                      ShapeCase{FormerShape::Fan,
                                boxes({0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13})}),
    formerName);

TEST(EnterOrder, ReadingOrderIsTheColumnTopToBottom) {
  // Every input box once, each below the one before.
  const std::vector<InputBox>& order = readingOrder();
  ASSERT_EQ(order.size(), static_cast<std::size_t>(kInputBoxCount));
  for (std::size_t i = 1; i < order.size(); ++i)
    EXPECT_LT(findControl(idOf(order[i - 1]))->top, findControl(idOf(order[i]))->top) << i;
  EXPECT_EQ(enterMove(order, order.back(), false), std::nullopt);
  EXPECT_EQ(enterMove(order, order.front(), true), std::nullopt);
  // A box the former hides is in no order.
  EXPECT_EQ(enterMove(entryOrder(FormerShape::Round), box::SideA, false), std::nullopt);
}

TEST(EnterOrder, FromEveryKindOfControl) {
  struct Case {
    int shape;
    const char* from;
    bool backwards;
    const char* to;
  };
  const Case cases[] = {
      {1, "Text1(7)", false, "Text1(8)"},     // B goes on to r1, not to 計算
      {0, "Text1(4)", false, "Text1(5)"},     // round: T goes on to D
      {0, "Text1(5)", false, "Text1(13)"},    // round: D goes on to Tension
      {0, "Text1(13)", true, "Text1(5)"},     // round: back from Tension to D
      {2, "Text1(10)", true, "Text1(9)"},     // fan: back from R to r2
      {1, "Command1", true, "Text1(13)"},     // back from 計算 to the last box
      {0, "Command1", true, "Text1(13)"},     // whatever the former
      {1, "Text2(8)", false, "Text2(9)"},     // a result box goes on in tab order
      {1, "Text2(8)", true, "Text2(7)"},      // and back
      {1, "Text2(7)", true, "Text1(9)"},      // past the hidden D' and the fan's boxes
      {1, "Text2(5)", false, "Option1(0)"},   // on to a shape button, off or on
      {1, "Text2(21)", false, "Option3(2)"},  // the last result box: on to the material
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.from) + (c.backwards ? " back" : " on"));
    Form1 form;
    apply(form, {{"click", "Option1(" + std::to_string(c.shape) + ")", ""}, {"focus", c.from, ""}});
    form.pressEnter(c.backwards);
    EXPECT_EQ(form.state().focus.str(), c.to);
    EXPECT_TRUE(form.state().resultTexts[1].empty());  // no press on the way
  }
}

TEST(EnterOrder, RunsTheRuleOfTheBoxItLeaves) {
  Form1 form;
  // An emptied turns box gets one turn.
  apply(form, {{"type", "Text1(2)", ""}, {"key", "13", ""}});
  EXPECT_EQ(form.state().focus, text1(3));
  EXPECT_EQ(form.state().inputTexts[2], "1");
  // A typed target is applied on the way out of its box.
  apply(form, {{"click", "Command1", ""}, {"type", "Text2(7)", "2"}, {"key", "13", ""}});
  EXPECT_EQ(form.state().focus, text2(8));
  EXPECT_EQ(form.state().inputTexts[2], "30");
}

TEST(EnterOrder, APressRefusedFromTheLastBoxSendsTheFocusBack) {
  Form1 form;
  apply(form, {{"type", "Text1(0)", "0,2"}, {"focus", "Text1(13)", ""}, {"key", "13", ""}});
  EXPECT_EQ(form.state().messages.size(), 1u);
  EXPECT_EQ(form.state().focus, text1(0));
  EXPECT_EQ(form.state().selectRequests, 1);
  EXPECT_TRUE(form.state().resultTexts[1].empty());
}

TEST(EnterOrder, OnButtonsPressesThemAndShiftDoesNot) {
  Form1 form;
  apply(form, {{"focus", "Option1(2)", ""}});
  form.pressEnter(true);
  EXPECT_EQ(form.state().former, FormerShape::Rectangular);
  form.pressEnter(false);
  EXPECT_EQ(form.state().former, FormerShape::Fan);
  EXPECT_TRUE(form.isVisible(text1(10)));
  apply(form, {{"focus", "Command2", ""}});
  form.pressEnter(true);
  EXPECT_FALSE(form.state().sheetOpen);
  form.pressEnter(false);
  EXPECT_TRUE(form.state().sheetOpen);
  EXPECT_EQ(form.state().focus.str(), "Command2");
}

}  // namespace
}  // namespace kelvane::form
