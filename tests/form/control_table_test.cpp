// The window as designed: the table the widgets are built from.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>

#include "form/boxes.h"
#include "form/control_table.h"
#include "form/form1.h"

namespace kelvane::form {
namespace {

constexpr int kTwipsPerPixel = 15;
constexpr Rgb kTargetGreen{192, 255, 192};

std::vector<std::string> names(const std::vector<ControlId>& ids) {
  std::vector<std::string> out;
  out.reserve(ids.size());
  for (const ControlId& id : ids) out.push_back(id.str());
  return out;
}

bool takesFocus(const ControlDesign& c) {
  return c.kind == ControlKind::TextBox || c.kind == ControlKind::OptionButton ||
         c.kind == ControlKind::CommandButton;
}

// Where a control lies in the window's client area, edges in twips. A line
// may run up or to the left; a control inside a frame is placed from the
// frame's corner.
struct Place {
  int left, top, right, bottom;
  int middle() const { return (top + bottom) / 2; }
};

Place placeOf(const ControlDesign& c) {
  Place p{std::min(c.left, c.left + c.width), std::min(c.top, c.top + c.height),
          std::max(c.left, c.left + c.width), std::max(c.top, c.top + c.height)};
  if (!c.container.empty()) {
    const ControlDesign* frame = findControl({c.container, -1});
    if (frame)
      p = {p.left + frame->left, p.top + frame->top, p.right + frame->left, p.bottom + frame->top};
  }
  return p;
}

Place placeOf(const ControlId& id) {
  const ControlDesign* c = findControl(id);
  EXPECT_NE(c, nullptr) << id.str();
  return c ? placeOf(*c) : Place{};
}

// A caption reads with its box when its middle is level with the box and it
// ends where the box begins. クロス部巻高 reaches one pixel into its box.
void expectCaptionBeside(const ControlId& caption, const ControlId& box) {
  SCOPED_TRACE(box.str() + " captioned by " + caption.str());
  ASSERT_NE(findControl(caption), nullptr);
  EXPECT_EQ(findControl(caption)->kind, ControlKind::Label);
  const Place c = placeOf(caption), b = placeOf(box);
  EXPECT_GE(c.middle(), b.top);
  EXPECT_LE(c.middle(), b.bottom);
  EXPECT_LT(c.left, b.left);
  EXPECT_LE(c.right, b.left + kTwipsPerPixel);
}

TEST(ControlTable, TabOrderDrivesTheLostFocusHandlers) {
  const std::vector<std::string> expected = {
      "Text1(0)",   "Text1(1)",  "Text1(2)",  "Text1(3)",   "Text1(4)",   "Text1(5)",
      "Text1(6)",   "Text1(7)",  "Command1",  "Text2(0)",   "Text2(1)",   "Text2(2)",
      "Text2(3)",   "Text2(4)",  "Text2(5)",  "Option1(0)", "Option1(1)", "Option1(2)",
      "Text1(8)",   "Text1(9)",  "Text1(10)", "Text1(11)",  "Text1(12)",  "Text2(6)",
      "Text2(7)",   "Text2(8)",  "Text2(9)",  "Text2(10)",  "Text2(11)",  "Text2(12)",
      "Text1(13)",  "Text2(13)", "Text2(14)", "Text2(15)",  "Text2(16)",  "Text2(17)",
      "Text2(18)",  "Text2(19)", "Text2(20)", "Text2(21)",  "Option3(2)", "Option3(1)",
      "Option3(0)", "Command2"};
  EXPECT_EQ(names(tabOrder()), expected);
}

TEST(ControlTable, EachControlOnceEachTabIndexOnce) {
  std::set<std::string> ids;
  std::set<int> tabs;
  int boxes = 0, focusable = 0;
  for (const ControlDesign& c : controlTable()) {
    EXPECT_TRUE(ids.insert(c.id.str()).second) << "twice: " << c.id.str();
    if (c.tabIndex) {
      EXPECT_TRUE(tabs.insert(*c.tabIndex).second) << "shared: " << c.id.str();
    }
    if (takesFocus(c)) {
      ++focusable;
      EXPECT_TRUE(c.tabIndex.has_value()) << c.id.str();
    }
    if (c.kind == ControlKind::TextBox) ++boxes;
  }
  EXPECT_EQ(boxes, kInputBoxCount + kResultBoxCount);
  EXPECT_EQ(tabOrder().size(), static_cast<std::size_t>(focusable));
  for (int i = 0; i < kInputBoxCount; ++i)
    EXPECT_EQ(findControl(text1(i))->kind, ControlKind::TextBox) << i;
  for (int i = 0; i < kResultBoxCount; ++i)
    EXPECT_EQ(findControl(text2(i))->kind, ControlKind::TextBox) << i;
}

TEST(ControlTable, InputBoxesFormOneColumnEachBesideItsCaption) {
  const ControlDesign& first = *findControl(idOf(box::BareDiameter));
  int previousBottom = 0;
  std::optional<int> captionsEnd;
  for (int i = 0; i < kInputBoxCount; ++i) {
    const auto b = static_cast<InputBox>(i);
    const ControlDesign& c = *findControl(idOf(b));
    EXPECT_EQ(c.left, first.left) << i;
    EXPECT_EQ(c.width, first.width) << i;
    EXPECT_GE(c.top, previousBottom) << i;  // in index order, top to bottom
    previousBottom = c.top + c.height;
    const ControlId caption = b == box::Tension ? label1(26) : label1(i);
    expectCaptionBeside(caption, idOf(b));
    // The window opens with the coil's own names and texts.
    EXPECT_EQ(findControl(caption)->text, inputField(b).name);
    EXPECT_EQ(c.text, inputField(b).openingText);
    // The captions are right-aligned to one edge.
    if (!captionsEnd) captionsEnd = placeOf(caption).right;
    EXPECT_EQ(placeOf(caption).right, *captionsEnd) << caption.str();
  }
}

TEST(ControlTable, ResultBoxesBesideTheirCaptionsInTwoColumns) {
  struct Row {
    ResultBox box;
    ControlId caption;
    std::optional<ResultBox> mid{};  // the second box of the row
  };
  const std::vector<Row> rows = {
      {box::Arrangement, label1(23)},
      {box::LayerCount, label1(22)},
      {box::Thickness, label1(21)},
      {box::LastLayerTurns, label1(17)},
      {box::OuterA, label1(16)},
      {box::OuterB, label1(15)},
      {box::OuterRorD, idOf(Caption::OuterRorD)},
      {box::AlignedHeight, label1(20)},
      {box::AlignedLength, idOf(Caption::LengthUnit), box::PredictedLength},
      {box::AlignedWeight, idOf(Caption::WeightUnit), box::PredictedWeight},
      {box::PredictedDcr, idOf(Caption::ResistanceUnit), box::AlignedDcr},
      {box::CrossHeight, label1(19), box::FullHeight},
      {box::XxxMax, label1(25), box::XxxMid},
      {box::AlignedInsulationWeight, label1(34), box::PredictedInsulationWeight},
      {box::AlignedConductorWeight, label1(32), box::PredictedConductorWeight},
  };
  std::set<int> covered;
  const Place maxHeading = placeOf(label1(35)), midHeading = placeOf(label1(36));
  for (const Row& r : rows) {
    covered.insert(indexOf(r.box));
    expectCaptionBeside(r.caption, idOf(r.box));
    // The caption as designed begins with the line's name (the units and the
    // former's D' or R' follow at run time).
    if (r.box != box::XxxMax && r.box != box::OuterRorD) {
      EXPECT_TRUE(findControl(r.caption)->text.starts_with(resultField(r.box).name))
          << r.caption.str();
    }
    if (!r.mid) continue;
    SCOPED_TRACE(idOf(*r.mid).str());
    covered.insert(indexOf(*r.mid));
    const Place max = placeOf(idOf(r.box)), mid = placeOf(idOf(*r.mid));
    EXPECT_EQ(mid.top, max.top);
    EXPECT_EQ(mid.bottom, max.bottom);
    EXPECT_LE(max.right, mid.left);
    // Each column under its heading.
    EXPECT_LE(maxHeading.bottom, max.top);
    EXPECT_GE(maxHeading.left, max.left);
    EXPECT_LE(maxHeading.right, max.right);
    EXPECT_GE(midHeading.left, mid.left);
    EXPECT_LE(midHeading.right, mid.right);
  }
  EXPECT_EQ(covered.size(), static_cast<std::size_t>(kResultBoxCount));
}

TEST(ControlTable, GreenBoxesAreTheTargets) {
  std::set<std::string> green, targets;
  for (const ControlDesign& c : controlTable())
    if (c.background == kTargetGreen) green.insert(c.id.str());
  for (ResultBox b : kTargetBoxes) targets.insert(idOf(b).str());
  EXPECT_EQ(green, targets);
}

// A number typed into a result box and left works the turns back only from
// the green boxes.
TEST(ControlTable, TheTargetHandlerTakesExactlyTheGreenBoxes) {
  std::set<std::string> accepted, green;
  for (int i = 0; i < kResultBoxCount; ++i) {
    const ControlId id = idOf(static_cast<ResultBox>(i));
    if (findControl(id)->background == kTargetGreen) green.insert(id.str());
    Form1 form;
    ASSERT_TRUE(form.click({"Option1", 2}));  // the fan shows every result box
    ASSERT_TRUE(form.click({"Command1", -1}));
    const std::string turns = *form.textOf(idOf(box::Turns));
    ASSERT_TRUE(form.typeText(id, "1")) << id.str();
    ASSERT_TRUE(form.moveFocus(idOf(box::Tension)));
    if (*form.textOf(idOf(box::Turns)) != turns) accepted.insert(id.str());
  }
  EXPECT_EQ(accepted, green);
}

TEST(ControlTable, EverythingInsideTheWindowAndItsFrame) {
  for (const ControlDesign& c : controlTable()) {
    SCOPED_TRACE(c.id.str());
    const Place p = placeOf(c);
    EXPECT_GE(p.left, 0);
    EXPECT_GE(p.top, 0);
    EXPECT_LE(p.right, kFormWidth);
    EXPECT_LE(p.bottom, kFormHeight);
    if (c.container.empty()) continue;
    const ControlDesign* frame = findControl({c.container, -1});
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->kind, ControlKind::Frame);
    EXPECT_GE(c.left, 0);
    EXPECT_GE(c.top, 0);
    EXPECT_LE(c.left + c.width, frame->width);
    EXPECT_LE(c.top + c.height, frame->height);
  }
}

TEST(ControlTable, NoTwoFocusableControlsOverlap) {
  std::vector<const ControlDesign*> focusable;
  for (const ControlDesign& c : controlTable())
    if (takesFocus(c)) focusable.push_back(&c);
  for (std::size_t i = 0; i < focusable.size(); ++i) {
    for (std::size_t j = i + 1; j < focusable.size(); ++j) {
      const Place a = placeOf(*focusable[i]), b = placeOf(*focusable[j]);
      const bool overlap =
          a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
      EXPECT_FALSE(overlap) << focusable[i]->id.str() << " and " << focusable[j]->id.str();
    }
  }
}

TEST(ControlTable, ColoursAndFonts) {
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
  for (const char* bad :
       {"", "(1)", "Text1(", "Text1()", "Text1(x)", "Text1(1", "Te xt1", "A(1234)"})
    EXPECT_EQ(parseControlId(bad), std::nullopt) << bad;
  EXPECT_EQ((ControlId{"Label1", 14}).str(), "Label1(14)");
}

}  // namespace
}  // namespace kelvane::form
