#include "form/control_table.h"

#include <algorithm>

#include "form/boxes.h"

namespace kelvane::form {
namespace {

using enum ControlKind;

constexpr Rgb kPink{255, 192, 192};         // shape buttons
constexpr Rgb kLightGreen{192, 255, 192};   // result boxes that take a target
constexpr Rgb kLightYellow{255, 255, 192};  // drawing panels
constexpr Rgb kDarkBlue{0, 0, 192};         // panel borders
constexpr Rgb kLineGreen{0, 192, 0};        // former line and flanges
constexpr Rgb kRed{255, 0, 0};              // fill of the first and last turn

bool takesFocus(const ControlDesign& c) {
  switch (c.kind) {
    case TextBox:
    case OptionButton:
    case CommandButton:
      return true;
    default:
      return false;
  }
}

}  // namespace

// One entry per control.
const std::vector<ControlDesign>& controlTable() {
  // clang-format off
  static const std::vector<ControlDesign> table = {
      // The input boxes, each followed by its caption on the same row.
      {.id = idOf(box::BareDiameter), .kind = TextBox,
       .left = 3960, .top = 450, .width = 1095, .height = 285, .text = "0.2", .tabIndex = 0},
      {.id = label1(0), .left = 3000, .top = 495, .width = 855, .height = 195, .text = "素線径(d)"},
      {.id = idOf(box::FinishedDiameter), .kind = TextBox,
       .left = 3960, .top = 737, .width = 1095, .height = 285, .text = "0.21", .tabIndex = 8},
      {.id = label1(1),
       .left = 2760, .top = 765, .width = 1095, .height = 195, .text = "線仕上外径"},
      {.id = idOf(box::Turns), .kind = TextBox,
       .left = 3960, .top = 1024, .width = 1095, .height = 285, .text = "10", .tabIndex = 9},
      {.id = label1(2),
       .left = 3000, .top = 1080, .width = 855, .height = 195, .text = "巻き数(n)"},
      {.id = idOf(box::LeadLength), .kind = TextBox,
       .left = 3960, .top = 1311, .width = 1095, .height = 285, .text = "10", .tabIndex = 10},
      {.id = label1(3),
       .left = 2760, .top = 1350, .width = 1095, .height = 195, .text = "リード長さ(L)"},
      {.id = idOf(box::ReferenceThickness), .kind = TextBox,
       .left = 3960, .top = 1598, .width = 1095, .height = 285, .text = "0.8", .tabIndex = 11},
      {.id = label1(4),
       .left = 2760, .top = 1620, .width = 1095, .height = 195, .text = "基準厚み(T)"},
      {.id = idOf(box::InnerDiameter), .kind = TextBox,
       .left = 3960, .top = 1885, .width = 1095, .height = 285, .text = "10", .tabIndex = 12},
      {.id = label1(5), .left = 2760, .top = 1935, .width = 1095, .height = 195, .text = "内径(D)"},
      {.id = idOf(box::SideA), .kind = TextBox,
       .left = 3960, .top = 2172, .width = 1095, .height = 285, .text = "2", .tabIndex = 13},
      {.id = label1(6), .left = 2880, .top = 2205, .width = 975, .height = 195, .text = "A"},
      {.id = idOf(box::SideB), .kind = TextBox,
       .left = 3960, .top = 2459, .width = 1095, .height = 285, .text = "2", .tabIndex = 14},
      {.id = label1(7), .left = 2880, .top = 2475, .width = 975, .height = 195, .text = "B"},
      {.id = idOf(box::CornerR1), .kind = TextBox,
       .left = 3960, .top = 2746, .width = 1095, .height = 285, .text = "0.3", .tabIndex = 25},
      {.id = label1(8), .left = 3120, .top = 2790, .width = 735, .height = 195, .text = "r1"},
      {.id = idOf(box::CornerR2), .kind = TextBox,
       .left = 3960, .top = 3033, .width = 1095, .height = 285, .text = "0.3", .tabIndex = 27},
      {.id = label1(9), .left = 3120, .top = 3060, .width = 735, .height = 195, .text = "r2"},
      {.id = idOf(box::FanRadius), .kind = TextBox,
       .left = 3960, .top = 3320, .width = 1095, .height = 285, .text = "50", .tabIndex = 29},
      {.id = label1(10), .left = 2880, .top = 3375, .width = 975, .height = 195, .text = "R"},
      {.id = idOf(box::FanAngle), .kind = TextBox,
       .left = 3960, .top = 3607, .width = 1095, .height = 285, .text = "60", .tabIndex = 31},
      {.id = label1(11), .left = 3240, .top = 3645, .width = 615, .height = 195, .text = "AG"},
      {.id = idOf(box::FanWideWidth), .kind = TextBox,
       .left = 3960, .top = 3894, .width = 1095, .height = 285, .text = "60", .tabIndex = 44},
      {.id = label1(12), .left = 2880, .top = 3960, .width = 975, .height = 150, .text = "XX"},
      {.id = idOf(box::Tension), .kind = TextBox,
       .left = 3960, .top = 4185, .width = 1095, .height = 285, .text = "60", .tabIndex = 54},
      {.id = label1(26), .left = 2880, .top = 4230, .width = 975, .height = 195, .text = "Tension"},

      // The result boxes; the green ones take a target (kTargetBoxes).
      {.id = idOf(box::Arrangement), .kind = TextBox,
       .left = 5760, .top = 450, .width = 2175, .height = 270, .text = "Text2", .tabIndex = 16},
      {.id = idOf(box::LayerCount), .kind = TextBox,
       .left = 6720, .top = 720, .width = 1215, .height = 270, .text = "Text2", .tabIndex = 17},
      {.id = idOf(box::Thickness), .kind = TextBox,
       .left = 6720, .top = 990, .width = 1215, .height = 270, .text = "Text2", .tabIndex = 18},
      {.id = idOf(box::LastLayerTurns), .kind = TextBox,
       .left = 6720, .top = 1260, .width = 1215, .height = 270, .text = "Text2", .tabIndex = 19},
      {.id = idOf(box::OuterA), .kind = TextBox,
       .left = 6720, .top = 1530, .width = 1215, .height = 270, .text = "Text2", .tabIndex = 20},
      {.id = idOf(box::OuterB), .kind = TextBox,
       .left = 6720, .top = 1800, .width = 1215, .height = 270, .text = "Text2", .tabIndex = 21},
      {.id = idOf(box::OuterRorD), .kind = TextBox,
       .left = 6720, .top = 2070, .width = 1215, .height = 270, .text = "Text2", .tabIndex = 46},
      {.id = idOf(box::AlignedHeight), .kind = TextBox,
       .left = 6720, .top = 2340, .width = 1215, .height = 270,
       .text = "Text2", .background = kLightGreen, .tabIndex = 47},
      {.id = idOf(box::AlignedLength), .kind = TextBox,
       .left = 6360, .top = 2880, .width = 735, .height = 270, .text = "Text2", .tabIndex = 48},
      {.id = idOf(box::PredictedLength), .kind = TextBox,
       .left = 7200, .top = 2880, .width = 735, .height = 270, .text = "Text2", .tabIndex = 49},
      {.id = idOf(box::AlignedWeight), .kind = TextBox,
       .left = 6360, .top = 3150, .width = 735, .height = 270,
       .text = "Text2", .background = kLightGreen, .tabIndex = 50},
      {.id = idOf(box::PredictedWeight), .kind = TextBox,
       .left = 7200, .top = 3150, .width = 735, .height = 270, .text = "Text2", .tabIndex = 51},
      {.id = idOf(box::PredictedDcr), .kind = TextBox,
       .left = 6360, .top = 3420, .width = 735, .height = 270,
       .text = "Text2", .background = kLightGreen, .tabIndex = 52},
      {.id = idOf(box::AlignedDcr), .kind = TextBox,
       .left = 7200, .top = 3420, .width = 735, .height = 270, .text = "Text2", .tabIndex = 56},
      {.id = idOf(box::CrossHeight), .kind = TextBox,
       .left = 6360, .top = 3690, .width = 735, .height = 270,
       .text = "Text2", .background = kLightGreen, .tabIndex = 57},
      {.id = idOf(box::FullHeight), .kind = TextBox,
       .left = 7200, .top = 3690, .width = 735, .height = 270, .text = "Text2", .tabIndex = 58},
      {.id = idOf(box::XxxMax), .kind = TextBox,
       .left = 6360, .top = 3960, .width = 735, .height = 270, .text = "Text2", .tabIndex = 59},
      {.id = idOf(box::XxxMid), .kind = TextBox,
       .left = 7200, .top = 3960, .width = 735, .height = 270, .text = "Text2", .tabIndex = 62},
      {.id = idOf(box::AlignedInsulationWeight), .kind = TextBox,
       .left = 6360, .top = 4230, .width = 735, .height = 270, .text = "Text2", .tabIndex = 63},
      {.id = idOf(box::PredictedInsulationWeight), .kind = TextBox,
       .left = 7200, .top = 4230, .width = 735, .height = 270, .text = "Text2", .tabIndex = 64},
      {.id = idOf(box::AlignedConductorWeight), .kind = TextBox,
       .left = 6360, .top = 4500, .width = 735, .height = 270, .text = "Text2", .tabIndex = 65},
      {.id = idOf(box::PredictedConductorWeight), .kind = TextBox,
       .left = 7200, .top = 4500, .width = 735, .height = 270, .text = "Text2", .tabIndex = 70},

      // Captions of the result rows and the two column headings.
      {.id = label1(23),
       .left = 5040, .top = 495, .width = 615, .height = 195, .text = "巻き方(列)"},
      {.id = label1(22), .left = 5880, .top = 765, .width = 735, .height = 195, .text = "層数"},
      {.id = label1(21), .left = 5880, .top = 1035, .width = 735, .height = 195, .text = "厚み"},
      {.id = label1(17),
       .left = 5400, .top = 1305, .width = 1215, .height = 195, .text = "最終層　巻き列"},
      {.id = label1(16), .left = 5640, .top = 1575, .width = 975, .height = 195, .text = "A'"},
      {.id = label1(15), .left = 5640, .top = 1845, .width = 975, .height = 195, .text = "B'"},
      {.id = idOf(Caption::OuterRorD),
       .left = 5640, .top = 2115, .width = 975, .height = 195, .text = "R' or D'"},
      {.id = label1(20),
       .left = 5400, .top = 2385, .width = 1215, .height = 195, .text = "整列部巻高 "},
      {.id = label1(35), .left = 6480, .top = 2655, .width = 375, .height = 195, .text = "Max"},
      {.id = label1(36),
       .left = 7200, .top = 2655, .width = 735, .height = 195, .text = "予測 Mid"},
      {.id = idOf(Caption::LengthUnit),
       .left = 5040, .top = 2925, .width = 1215, .height = 195, .text = "全長"},
      {.id = idOf(Caption::WeightUnit),
       .left = 5040, .top = 3195, .width = 1215, .height = 195, .text = "重量"},
      {.id = idOf(Caption::ResistanceUnit),
       .left = 5040, .top = 3465, .width = 1215, .height = 195, .text = "DCR"},
      {.id = label1(19),
       .left = 5160, .top = 3735, .width = 1215, .height = 195, .text = "クロス部巻高 "},
      {.id = label1(25), .left = 5640, .top = 4050, .width = 615, .height = 195, .text = "XXX"},
      {.id = label1(34),
       .left = 5040, .top = 4320, .width = 1215, .height = 195, .text = "絶縁部重量"},
      {.id = label1(32),
       .left = 5280, .top = 4545, .width = 975, .height = 195, .text = "導体部重量"},

      // Shape buttons, beside their figures in the reference drawing.
      {.id = {"Option1", 0}, .kind = OptionButton,
       .left = 2280, .top = 135, .width = 255, .height = 180, .background = kPink, .tabIndex = 22},
      {.id = {"Option1", 1}, .kind = OptionButton,
       .left = 2280, .top = 2250, .width = 255, .height = 195, .background = kPink, .tabIndex = 23},
      {.id = {"Option1", 2}, .kind = OptionButton,
       .left = 2280, .top = 4230, .width = 255, .height = 225, .background = kPink, .tabIndex = 24},

      // The material frame and its buttons (positions inside the frame).
      {.id = {"Frame2", -1}, .kind = Frame,
       .left = 2640, .top = 5400, .width = 2535, .height = 1140,
       .text = "素材材質", .tabIndex = 71},
      {.id = {"Option3", 0}, .kind = OptionButton,
       .left = 120, .top = 225, .width = 2175, .height = 195,
       .text = std::string(materialName(ConductorMaterial::Copper)), .tabIndex = 74, .container = "Frame2"},
      {.id = {"Option3", 1}, .kind = OptionButton,
       .left = 120, .top = 495, .width = 2175, .height = 195,
       .text = std::string(materialName(ConductorMaterial::Aluminium)), .tabIndex = 73, .container = "Frame2"},
      {.id = {"Option3", 2}, .kind = OptionButton,
       .left = 120, .top = 765, .width = 2295, .height = 195,
       .text = std::string(materialName(ConductorMaterial::CopperCladAluminium85)),
       .tabIndex = 72, .container = "Frame2"},

      // Calculate, and the wire data sheet.
      {.id = {"Command1", -1}, .kind = CommandButton,
       .left = 2760, .top = 45, .width = 1215, .height = 330, .text = "計算", .tabIndex = 15},
      {.id = {"Command2", -1}, .kind = CommandButton,
       .left = 5640, .top = 45, .width = 1455, .height = 330,
       .text = "線材Dimension", .tabIndex = 77},

      // The drawing panel and its empty companion.
      {.id = {"Shape2", -1}, .kind = Rectangle,
       .left = 8040, .top = 0, .width = 4695, .height = 3570,
       .background = kLightYellow, .foreground = kDarkBlue},
      {.id = {"Shape3", -1}, .kind = Rectangle,
       .left = 8040, .top = 3600, .width = 4695, .height = 2895,
       .background = kLightYellow, .foreground = kDarkBlue},

      // A turn of the section drawing, then the former and its two flanges.
      {.id = {"Shape1", 0}, .kind = Circle,
       .left = 8160, .top = 3330, .width = 255, .height = 195, .foreground = kRed},
      {.id = {"Line1", -1}, .kind = Line,
       .left = 8160, .top = 3510, .width = 840, .height = 0, .foreground = kLineGreen},
      {.id = {"Line2", -1}, .kind = Line,
       .left = 8160, .top = 3510, .width = 0, .height = -720, .foreground = kLineGreen},
      {.id = {"Line3", -1}, .kind = Line,
       .left = 9000, .top = 3510, .width = 0, .height = -675, .foreground = kLineGreen},

      // The 1000-turn note: nothing to explain until the first press.
      {.id = {"Label2", -1},
       .left = 8880, .top = 1440, .width = 3015, .height = 825,
       .text = kLargeCoilNote, .font = kNoteFont, .fontPoints = 18,
       .tabIndex = 76, .visible = false},

      // The reference drawing of the three formers along the left edge.
      {.id = {"OLE1", -1}, .kind = Picture,
       .left = 0, .top = 0, .width = 2655, .height = 6540, .tabIndex = 75},
  };
  // clang-format on
  return table;
}

const ControlDesign* findControl(const ControlId& id) {
  const auto& t = controlTable();
  auto it = std::find_if(t.begin(), t.end(), [&](const ControlDesign& c) { return c.id == id; });
  return it == t.end() ? nullptr : &*it;
}

bool alignsRight(const ControlDesign& c) {
  return c.id.name == "Label1" && c.id.index != 35 && c.id.index != 36;
}

std::vector<ControlId> tabOrder() {
  std::vector<const ControlDesign*> focusable;
  for (const ControlDesign& c : controlTable()) {
    if (takesFocus(c)) focusable.push_back(&c);
  }
  std::sort(focusable.begin(), focusable.end(), [](const ControlDesign* a, const ControlDesign* b) {
    return *a->tabIndex < *b->tabIndex;
  });
  std::vector<ControlId> order;
  order.reserve(focusable.size());
  for (const ControlDesign* c : focusable) order.push_back(c->id);
  return order;
}

}  // namespace kelvane::form
