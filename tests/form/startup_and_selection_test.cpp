// Start-up, and the shape and material buttons.
#include <gtest/gtest.h>

#include <set>

#include "form_test_support.h"

namespace kelvane::form {
namespace {

using testing::apply;
using testing::Step;
using testing::t2;
using testing::text;

// The boxes shown of those the program shows and hides.
std::set<std::string> visibleOf(const Form1& form) {
  std::set<std::string> v;
  for (const ControlId& id : changeableVisibility())
    if (form.isVisible(id) && id.name.starts_with("Text")) v.insert(id.str());
  return v;
}

TEST(StartUp, RectangularCopperEmptyResults) {
  Form1 form;
  const FormState& s = form.state();
  EXPECT_EQ(s.former, FormerShape::Rectangular);
  EXPECT_EQ(s.material, ConductorMaterial::Copper);
  EXPECT_EQ(s.materialValues.resistivity, 17.241);
  EXPECT_EQ(s.materialValues.density, 8.96);
  for (const std::string& t : s.resultTexts) EXPECT_EQ(t, "");
  EXPECT_EQ(visibleOf(form), (std::set<std::string>{"Text1(6)", "Text1(7)", "Text1(8)", "Text1(9)",
                                                    "Text2(4)", "Text2(5)"}));
  EXPECT_FALSE(form.isVisible(idOf(Caption::OuterRorD)));
  EXPECT_FALSE(form.isVisible(idOf(DrawingPart::LargeCoilNote)));
  EXPECT_EQ(s.focus.str(), "Text1(0)");
}

TEST(ShapeButtons, ShowTheirBoxes) {
  struct Case {
    std::vector<Step> clicks;
    std::set<std::string> boxes;
    std::string outerCaption;
  };
  const std::set<std::string> fan = {"Text1(6)",  "Text1(7)",  "Text1(8)", "Text1(9)", "Text1(10)",
                                     "Text1(11)", "Text1(12)", "Text2(4)", "Text2(5)", "Text2(6)"};
  const std::vector<Case> cases = {
      {{{"click", "Option1(0)", ""}}, {"Text1(5)", "Text2(6)"}, "D'"},
      {{{"click", "Option1(2)", ""}}, fan, "R'"},
      {{{"click", "Option1(0)", ""}, {"click", "Option1(2)", ""}}, fan, "R'"},
      {{{"click", "Option1(0)", ""}, {"click", "Option1(1)", ""}, {"click", "Option1(0)", ""}},
       {"Text1(5)", "Text2(6)"},
       "D'"},
  };
  for (const Case& c : cases) {
    Form1 form;
    apply(form, c.clicks);
    EXPECT_EQ(visibleOf(form), c.boxes);
    EXPECT_EQ(form.state().caption(Caption::OuterRorD), c.outerCaption);
    for (int i = 5; i <= 12; ++i)
      EXPECT_EQ(form.isVisible(label1(i)), c.boxes.count(text1(i).str()) == 1);
  }
}

TEST(ShapeButtons, KeepTextsAndResults) {
  Form1 form;
  apply(form,
        {{"set", "Text1(5)", "7abc"}, {"click", "Command1", ""}, {"click", "Option1(2)", ""}});
  EXPECT_EQ(form.state().inputTexts[5], "7abc");
  EXPECT_EQ(text(form, box::Arrangement), "同数列巻き--3 X 3");
  // Clicking the button that is already on runs nothing.
  apply(form, {{"click", "Option1(2)", ""}});
  EXPECT_EQ(form.state().former, FormerShape::Fan);
}

TEST(MaterialButtons, EmptyResultsKeepCaptionsAndSetConstants) {
  Form1 form;
  apply(form, {{"click", "Command1", ""}});
  const std::string copperResistance = text(form, box::AlignedDcr);
  apply(form, {{"click", "Option3(1)", ""}});
  for (const std::string& t : form.state().resultTexts) EXPECT_EQ(t, "");
  EXPECT_EQ(form.state().caption(Caption::WeightUnit), "重量 mg");
  EXPECT_EQ(form.state().materialValues.resistivity, 27.81);
  EXPECT_EQ(form.state().materialValues.density, 2.699);
  apply(form, {{"click", "Command1", ""}});
  EXPECT_NE(text(form, box::AlignedDcr), copperResistance);
  EXPECT_EQ(text(form, box::Arrangement), "同数列巻き--3 X 3");
  apply(form, {{"click", "Option3(2)", ""}});
  EXPECT_EQ(form.state().materialValues.resistivity, 25.471);
  EXPECT_EQ(form.state().materialValues.density, 3.638);
}

}  // namespace
}  // namespace kelvane::form
