// F12 and the data sheet window.
#include <gtest/gtest.h>

#include "form_test_support.h"

namespace kelvane::form {
namespace {

using testing::apply;

TEST(Keys, F12AsksForAPrintOtherKeysNothing) {
  Form1 form;
  apply(form, {{"key", "65", ""}, {"key", "123", ""}, {"key", "122", ""}});
  EXPECT_EQ(form.state().printRequests, 1);
}

TEST(DataSheet, GrowsByOneReportPerPressAndStartsOverWhenClosed) {
  Form1 form;
  apply(form, {{"click", "Command2", ""}});
  ASSERT_TRUE(form.state().sheetOpen);
  ASSERT_EQ(form.state().sheetLines.size(), 16u);
  EXPECT_EQ(form.state().sheetLines[0], "導体径の公差を±0.02として 1Km当りの抵抗値 重量");
  EXPECT_EQ(form.state().sheetLines[3], "基準抵抗値  = 561.4626");
  apply(form, {{"click", "Command2", ""}});
  EXPECT_EQ(form.state().sheetLines.size(), 32u);
  EXPECT_EQ(form.state().sheetLines[16], form.state().sheetLines[0]);
  apply(form, {{"close", "", ""}});
  EXPECT_FALSE(form.state().sheetOpen);
  EXPECT_TRUE(form.state().sheetLines.empty());
  // The sheet follows the material button that is on at the press.
  apply(form, {{"click", "Option3(1)", ""}, {"click", "Command2", ""}});
  EXPECT_EQ(form.state().sheetLines.size(), 16u);
  EXPECT_EQ(form.state().sheetLines[3], "基準抵抗値  = 905.6478");
}

TEST(DataSheet, BadDiameterShowsTheMessageAndPrintsNothing) {
  for (const char* bare : {"", "0", "0.2mm", "abc", "0.02"}) {
    Form1 form;
    apply(form, {{"type", "Text1(0)", bare}, {"click", "Command2", ""}});
    EXPECT_EQ(form.state().messages, std::vector<std::string>{"素線径(d)の値が正しくありません"})
        << bare;
    EXPECT_FALSE(form.state().sheetOpen);
    EXPECT_TRUE(form.state().sheetLines.empty());
  }
}

}  // namespace
}  // namespace kelvane::form
