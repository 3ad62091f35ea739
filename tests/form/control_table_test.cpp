// The window as designed: the table the widgets are built from.
#include <gtest/gtest.h>

#include "form/control_table.h"

namespace kelvane::form {
namespace {

std::vector<std::string> names(const std::vector<ControlId>& ids) {
  std::vector<std::string> out;
  for (const ControlId& id : ids) out.push_back(id.str());
  return out;
}

TEST(ControlTable, TabOrderDrivesTheLostFocusHandlers) {
  const std::vector<std::string> expected = {
      "Text1(0)",  "Text1(1)",   "Text1(2)",   "Text1(3)",   "Text1(4)",   "Text1(5)",
      "Text1(6)",  "Text1(7)",   "Command1",   "Text2(0)",   "Text2(1)",   "Text2(2)",
      "Text2(3)",  "Text2(4)",   "Text2(5)",   "Option1(0)", "Option1(1)", "Option1(2)",
      "Text1(8)",  "Text1(9)",   "Text1(10)",  "Text1(11)",  "Text1(12)",  "Text2(6)",
      "Text2(7)",  "Text2(8)",   "Text2(9)",   "Text2(10)",  "Text2(11)",  "Text2(12)",
      "Text1(13)", "Text2(13)",  "Text2(14)",  "Text2(15)",  "Text2(16)",  "Text2(17)",
      "Text2(18)", "Text2(19)",  "Text2(20)",  "Text2(21)",  "Option3(2)", "Option3(1)",
      "Option3(0)", "Command2"};
  EXPECT_EQ(names(tabOrder()), expected);
}

TEST(ControlTable, RowsAsDesigned) {
  struct Row {
    const char* id;
    int left, top, width, height;
    const char* text;
  };
  const std::vector<Row> rows = {
      {"Text1(0)", 3960, 450, 1095, 285, "0.2"},
      {"Text1(12)", 3960, 3894, 1095, 285, "60"},
      {"Text1(13)", 3960, 4185, 1095, 285, "60"},
      {"Label1(12)", 2880, 3960, 975, 150, "XX"},
      {"Label1(26)", 2880, 4230, 975, 195, "Tension"},
      {"Label1(17)", 5400, 1305, 1215, 195, "最終層　巻き列"},
      {"Label1(20)", 5400, 2385, 1215, 195, "整列部巻高 "},
      {"Label1(36)", 7200, 2655, 735, 195, "予測 Mid"},
      {"Text2(0)", 5760, 450, 2175, 270, "Text2"},
      {"Text2(21)", 7200, 4500, 735, 270, "Text2"},
      {"Option1(2)", 2280, 4230, 255, 225, ""},
      {"Option3(2)", 120, 765, 2295, 195, "銅クラッドアルミニュウム(85%)"},
      {"Frame2", 2640, 5400, 2535, 1140, "素材材質"},
      {"Command1", 2760, 45, 1215, 330, "計算"},
      {"Command2", 5640, 45, 1455, 330, "線材Dimension"},
      {"Shape2", 8040, 0, 4695, 3570, ""},
      {"Shape3", 8040, 3600, 4695, 2895, ""},
      {"Shape1(0)", 8160, 3330, 255, 195, ""},
      {"Line3", 9000, 3510, 0, -675, ""},
      {"Label2", 8880, 1440, 3015, 825, "1000Turn以上は表示しません"},
      {"OLE1", 0, 0, 2655, 6540, ""},
  };
  for (const Row& r : rows) {
    const ControlDesign* c = findControl(*parseControlId(r.id));
    ASSERT_NE(c, nullptr) << r.id;
    EXPECT_EQ((std::vector<int>{c->left, c->top, c->width, c->height}),
              (std::vector<int>{r.left, r.top, r.width, r.height}))
        << r.id;
    EXPECT_EQ(c->text, r.text) << r.id;
  }
}

TEST(ControlTable, ColoursAndFonts) {
  for (int i = 0; i < 22; ++i) {
    const bool green = i == 7 || i == 10 || i == 12 || i == 14;
    const ControlDesign* c = findControl(text2(i));
    EXPECT_EQ(c->background.has_value(), green) << i;
    if (green) {
      EXPECT_EQ(*c->background, (Rgb{192, 255, 192}));
    }
  }
  EXPECT_EQ(*findControl({"Option1", 1})->background, (Rgb{255, 192, 192}));
  EXPECT_EQ(*findControl({"Shape2", -1})->background, (Rgb{255, 255, 192}));
  EXPECT_EQ(*findControl({"Shape3", -1})->foreground, (Rgb{0, 0, 192}));
  EXPECT_EQ(*findControl({"Line2", -1})->foreground, (Rgb{0, 192, 0}));
  EXPECT_EQ(findControl({"Label2", -1})->fontPoints, 18);
  EXPECT_EQ(findControl({"Label2", -1})->font, "MS UI Gothic");
  EXPECT_EQ(findControl(text1(0))->font, "ＭＳ Ｐゴシック");
  EXPECT_EQ(findControl({"Option3", 0})->container, "Frame2");
}

TEST(ControlIds, ParseAndPrint) {
  EXPECT_EQ(parseControlId("Text1(13)"), (ControlId{"Text1", 13}));
  EXPECT_EQ(parseControlId("Command1"), (ControlId{"Command1", -1}));
  for (const char* bad : {"", "(1)", "Text1(", "Text1()", "Text1(x)", "Text1(1", "Te xt1", "A(1234)"})
    EXPECT_EQ(parseControlId(bad), std::nullopt) << bad;
  EXPECT_EQ((ControlId{"Label1", 14}).str(), "Label1(14)");
}

}  // namespace
}  // namespace kelvane::form
