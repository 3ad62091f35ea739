#include "form/control_table.h"

#include <algorithm>

namespace kelvane::form {
namespace {

constexpr Rgb kPink{255, 192, 192};        // shape buttons
constexpr Rgb kLightGreen{192, 255, 192};  // result boxes that take a target
constexpr Rgb kLightYellow{255, 255, 192}; // drawing panels
constexpr Rgb kDarkBlue{0, 0, 192};        // panel borders
constexpr Rgb kLineGreen{0, 192, 0};       // former line and flanges
constexpr Rgb kRed{255, 0, 0};             // fill of the first and last turn

ControlDesign box(ControlId id, int left, int top, int width, int height, int tab,
                std::string text) {
  ControlDesign c;
  c.id = std::move(id);
  c.kind = ControlKind::TextBox;
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  c.tabIndex = tab;
  c.text = std::move(text);
  return c;
}

ControlDesign label(int index, int left, int top, int width, std::string caption,
                  int height = 195) {
  ControlDesign c;
  c.id = label1(index);
  c.kind = ControlKind::Label;
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  c.text = std::move(caption);
  return c;
}

std::vector<ControlDesign> buildTable() {
  std::vector<ControlDesign> t;

  // The input boxes with their captions on the same row.
  struct InputRow {
    int top, tab;
    const char* text;
    int labelIndex, labelLeft, labelTop, labelWidth;
    const char* caption;
    int labelHeight;
  };
  const InputRow inputs[14] = {
      {450, 0, "0.2", 0, 3000, 495, 855, "素線径(d)", 195},
      {737, 8, "0.21", 1, 2760, 765, 1095, "線仕上外径", 195},
      {1024, 9, "10", 2, 3000, 1080, 855, "巻き数(n)", 195},
      {1311, 10, "10", 3, 2760, 1350, 1095, "リード長さ(L)", 195},
      {1598, 11, "0.8", 4, 2760, 1620, 1095, "基準厚み(T)", 195},
      {1885, 12, "10", 5, 2760, 1935, 1095, "内径(D)", 195},
      {2172, 13, "2", 6, 2880, 2205, 975, "A", 195},
      {2459, 14, "2", 7, 2880, 2475, 975, "B", 195},
      {2746, 25, "0.3", 8, 3120, 2790, 735, "r1", 195},
      {3033, 27, "0.3", 9, 3120, 3060, 735, "r2", 195},
      {3320, 29, "50", 10, 2880, 3375, 975, "R", 195},
      {3607, 31, "60", 11, 3240, 3645, 615, "AG", 195},
      {3894, 44, "60", 12, 2880, 3960, 975, "XX", 150},
      {4185, 54, "60", 26, 2880, 4230, 975, "Tension", 195},
  };
  for (int i = 0; i < 14; ++i) {
    const InputRow& r = inputs[i];
    t.push_back(box(text1(i), 3960, r.top, 1095, 285, r.tab, r.text));
    t.push_back(label(r.labelIndex, r.labelLeft, r.labelTop, r.labelWidth, r.caption,
                      r.labelHeight));
  }

  // The result boxes; the four green ones take a target.
  struct ResultBox {
    int index, left, top, width, tab;
    bool green;
  };
  const ResultBox results[22] = {
      {0, 5760, 450, 2175, 16, false},  {1, 6720, 720, 1215, 17, false},
      {2, 6720, 990, 1215, 18, false},  {3, 6720, 1260, 1215, 19, false},
      {4, 6720, 1530, 1215, 20, false}, {5, 6720, 1800, 1215, 21, false},
      {6, 6720, 2070, 1215, 46, false}, {7, 6720, 2340, 1215, 47, true},
      {8, 6360, 2880, 735, 48, false},  {9, 7200, 2880, 735, 49, false},
      {10, 6360, 3150, 735, 50, true},  {11, 7200, 3150, 735, 51, false},
      {12, 6360, 3420, 735, 52, true},  {13, 7200, 3420, 735, 56, false},
      {14, 6360, 3690, 735, 57, true},  {15, 7200, 3690, 735, 58, false},
      {16, 6360, 3960, 735, 59, false}, {17, 7200, 3960, 735, 62, false},
      {18, 6360, 4230, 735, 63, false}, {19, 7200, 4230, 735, 64, false},
      {20, 6360, 4500, 735, 65, false}, {21, 7200, 4500, 735, 70, false},
  };
  for (const ResultBox& r : results) {
    ControlDesign c = box(text2(r.index), r.left, r.top, r.width, 270, r.tab, "Text2");
    if (r.green) c.background = kLightGreen;
    t.push_back(c);
  }

  // Captions of the result rows and the two column headings.
  t.push_back(label(23, 5040, 495, 615, "巻き方(列)"));
  t.push_back(label(22, 5880, 765, 735, "層数"));
  t.push_back(label(21, 5880, 1035, 735, "厚み"));
  t.push_back(label(17, 5400, 1305, 1215, "最終層　巻き列"));
  t.push_back(label(16, 5640, 1575, 975, "A'"));
  t.push_back(label(15, 5640, 1845, 975, "B'"));
  t.push_back(label(14, 5640, 2115, 975, "R' or D'"));
  t.push_back(label(20, 5400, 2385, 1215, "整列部巻高 "));
  t.push_back(label(35, 6480, 2655, 375, "Max"));
  t.push_back(label(36, 7200, 2655, 735, "予測 Mid"));
  t.push_back(label(13, 5040, 2925, 1215, "全長"));
  t.push_back(label(29, 5040, 3195, 1215, "重量"));
  t.push_back(label(28, 5040, 3465, 1215, "DCR"));
  t.push_back(label(19, 5160, 3735, 1215, "クロス部巻高 "));
  t.push_back(label(25, 5640, 4050, 615, "XXX"));
  t.push_back(label(34, 5040, 4320, 1215, "絶縁部重量"));
  t.push_back(label(32, 5280, 4545, 975, "導体部重量"));

  // Shape buttons, beside their figures in the reference drawing.
  const int shapeTops[3] = {135, 2250, 4230};
  const int shapeHeights[3] = {180, 195, 225};
  for (int i = 0; i < 3; ++i) {
    ControlDesign c;
    c.id = {"Option1", i};
    c.kind = ControlKind::OptionButton;
    c.left = 2280;
    c.top = shapeTops[i];
    c.width = 255;
    c.height = shapeHeights[i];
    c.tabIndex = 22 + i;
    c.background = kPink;
    t.push_back(c);
  }

  // The material frame and its buttons (positions inside the frame).
  ControlDesign frame;
  frame.id = {"Frame2", -1};
  frame.kind = ControlKind::Frame;
  frame.left = 2640;
  frame.top = 5400;
  frame.width = 2535;
  frame.height = 1140;
  frame.text = "素材材質";
  frame.tabIndex = 71;
  t.push_back(frame);
  const char* materials[3] = {"銅線", "アルミニュウム", "銅クラッドアルミニュウム(85%)"};
  const int materialTops[3] = {225, 495, 765};
  const int materialWidths[3] = {2175, 2175, 2295};
  for (int i = 0; i < 3; ++i) {
    ControlDesign c;
    c.id = {"Option3", i};
    c.kind = ControlKind::OptionButton;
    c.left = 120;
    c.top = materialTops[i];
    c.width = materialWidths[i];
    c.height = 195;
    c.text = materials[i];
    c.tabIndex = 74 - i;
    c.container = "Frame2";
    t.push_back(c);
  }

  ControlDesign calc;
  calc.id = {"Command1", -1};
  calc.kind = ControlKind::CommandButton;
  calc.left = 2760;
  calc.top = 45;
  calc.width = 1215;
  calc.height = 330;
  calc.text = "計算";
  calc.tabIndex = 15;
  t.push_back(calc);

  ControlDesign sheet = calc;
  sheet.id = {"Command2", -1};
  sheet.left = 5640;
  sheet.width = 1455;
  sheet.text = "線材Dimension";
  sheet.tabIndex = 77;
  t.push_back(sheet);

  // The drawing panel and its empty companion.
  struct PanelDesign {
    const char* name;
    int top, height;
  };
  for (const PanelDesign& p : {PanelDesign{"Shape2", 0, 3570}, PanelDesign{"Shape3", 3600, 2895}}) {
    ControlDesign c;
    c.id = {p.name, -1};
    c.kind = ControlKind::Rectangle;
    c.left = 8040;
    c.top = p.top;
    c.width = 4695;
    c.height = p.height;
    c.background = kLightYellow;
    c.foreground = kDarkBlue;
    t.push_back(c);
  }

  ControlDesign turn;
  turn.id = {"Shape1", 0};
  turn.kind = ControlKind::Circle;
  turn.left = 8160;
  turn.top = 3330;
  turn.width = 255;
  turn.height = 195;
  turn.foreground = kRed;
  t.push_back(turn);

  struct LineDesign {
    const char* name;
    int x1, y1, x2, y2;
  };
  for (const LineDesign& l : {LineDesign{"Line1", 8160, 3510, 9000, 3510},
                            LineDesign{"Line2", 8160, 3510, 8160, 2790},
                            LineDesign{"Line3", 9000, 3510, 9000, 2835}}) {
    ControlDesign c;
    c.id = {l.name, -1};
    c.kind = ControlKind::Line;
    c.left = l.x1;
    c.top = l.y1;
    c.width = l.x2 - l.x1;
    c.height = l.y2 - l.y1;
    c.foreground = kLineGreen;
    t.push_back(c);
  }

  ControlDesign note;
  note.id = {"Label2", -1};
  note.kind = ControlKind::Label;
  note.left = 8880;
  note.top = 1440;
  note.width = 3015;
  note.height = 825;
  note.text = kLargeCoilNote;
  note.font = kNoteFont;
  note.fontPoints = 18;
  note.tabIndex = 76;
  note.visible = false;  // nothing to explain until the first press
  t.push_back(note);

  ControlDesign picture;
  picture.id = {"OLE1", -1};
  picture.kind = ControlKind::Picture;
  picture.width = 2655;
  picture.height = 6540;
  picture.tabIndex = 75;
  t.push_back(picture);

  return t;
}

bool takesFocus(const ControlDesign& c) {
  switch (c.kind) {
    case ControlKind::TextBox:
    case ControlKind::OptionButton:
    case ControlKind::CommandButton:
      return true;
    default:
      return false;
  }
}

}  // namespace

const std::vector<ControlDesign>& controlTable() {
  static const std::vector<ControlDesign> table = buildTable();
  return table;
}

const ControlDesign* findControl(const ControlId& id) {
  const auto& t = controlTable();
  auto it = std::find_if(t.begin(), t.end(), [&](const ControlDesign& c) { return c.id == id; });
  return it == t.end() ? nullptr : &*it;
}

std::vector<ControlId> tabOrder() {
  std::vector<const ControlDesign*> focusable;
  for (const ControlDesign& c : controlTable()) {
    if (takesFocus(c)) focusable.push_back(&c);
  }
  std::sort(focusable.begin(), focusable.end(),
            [](const ControlDesign* a, const ControlDesign* b) { return *a->tabIndex < *b->tabIndex; });
  std::vector<ControlId> order;
  for (const ControlDesign* c : focusable) order.push_back(c->id);
  return order;
}

}  // namespace kelvane::form
