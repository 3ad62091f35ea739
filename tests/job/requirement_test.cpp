// What the customer asked of an item's results: kept from a target, checked
// against the results as they stand, and typed in its dialog.
#include <gtest/gtest.h>

#include "form/form1.h"
#include "form/form_job.h"
#include "job/requirement.h"
#include "job_fixtures.h"

namespace kelvane::job {
namespace {

// The design coil pressed, its box showing `shown` in `units`.
ShownCoil pressedWith(ResultBox box, std::string shown, bool current = true) {
  form::Form1 form;
  form.calculate();
  ShownCoil coil = form::shownCoil(form);
  coil.results[indexOf(box)] = std::move(shown);
  coil.units = ShownUnits{LengthUnit::Millimetre, MassUnit::Gram, ResistanceUnit::Ohm};
  coil.current = current;
  return coil;
}

TEST(Requirement, MetWithinItsToleranceOfTheResult) {
  struct Case {
    const char* what;
    Requirement requirement;
    const char* shown;  // the box's text, in g for the weight and Ω for the DCR
    bool current;
    RequirementCheck expected;
  };
  const Case cases[] = {
      {"a DCR of 15 Ω asked, 16.942 Ω after the wire changed",
       {ResultBox::PredictedDcr, 15, "Ω", {}},
       "16.942",
       true,
       RequirementCheck::Missed},
      {"within the default 5 %",
       {ResultBox::PredictedDcr, 15, "Ω", {}},
       "15.700",
       true,
       RequirementCheck::Met},
      {"within its own 15 %",
       {ResultBox::PredictedDcr, 15, "Ω", 15},
       "16.942",
       true,
       RequirementCheck::Met},
      {"a kΩ requirement of a result in Ω",
       {ResultBox::PredictedDcr, 0.015, "kΩ", {}},
       "15.2",
       true,
       RequirementCheck::Met},
      {"40 g asked, 1,050 mg shown as grams",
       {ResultBox::AlignedWeight, 40, "g", 0},
       "40.000",
       true,
       RequirementCheck::Met},
      {"a weight in kg",
       {ResultBox::AlignedWeight, 0.04, "kg", 1},
       "41.000",
       true,
       RequirementCheck::Missed},
      {"a height in mm, grouped",
       {ResultBox::AlignedHeight, 1000, "mm", 1},
       "1,005.0",
       true,
       RequirementCheck::Met},
      {"results out of date",
       {ResultBox::PredictedDcr, 15, "Ω", {}},
       "15",
       false,
       RequirementCheck::NotKnown},
      {"a box that holds no number",
       {ResultBox::CrossHeight, 3, "mm", {}},
       "",
       true,
       RequirementCheck::NotKnown},
  };
  for (const Case& c : cases) {
    const ShownCoil coil = pressedWith(c.requirement.box, c.shown, c.current);
    EXPECT_EQ(checkRequirement(c.requirement, coil), c.expected) << c.what;
    EXPECT_EQ(missesRequirement({c.requirement}, coil), c.expected == RequirementCheck::Missed)
        << c.what;
  }
  ShownCoil typedOver = pressedWith(ResultBox::PredictedDcr, "15");
  typedOver.typedOver[indexOf(ResultBox::PredictedDcr)] = true;
  EXPECT_EQ(checkRequirement({ResultBox::PredictedDcr, 15, "Ω", {}}, typedOver),
            RequirementCheck::NotKnown);
}

TEST(Requirement, KeptFromATargetInTheUnitItsBoxShows) {
  const ShownUnits units{LengthUnit::Metre, MassUnit::Kilogram, ResistanceUnit::Kiloohm};
  struct Case {
    ResultBox box;
    const char* typed;
    std::optional<Requirement> expected;
  };
  const Case cases[] = {
      {ResultBox::PredictedDcr, "15", Requirement{ResultBox::PredictedDcr, 15, "kΩ", {}}},
      {ResultBox::PredictedDcr, "１５KΩ", Requirement{ResultBox::PredictedDcr, 15, "kΩ", {}}},
      {ResultBox::AlignedWeight, "0.04 Kg", Requirement{ResultBox::AlignedWeight, 0.04, "kg", {}}},
      {ResultBox::CrossHeight, "3.5mm", Requirement{ResultBox::CrossHeight, 3.5, "mm", {}}},
      {ResultBox::AlignedLength, "10", std::nullopt},  // no target
      {ResultBox::PredictedDcr, "0", std::nullopt},
      {ResultBox::PredictedDcr, "15Ω", std::nullopt},  // the box shows kΩ
  };
  for (const Case& c : cases)
    EXPECT_EQ(requirementFromTarget(c.box, c.typed, units), c.expected) << c.typed;
  EXPECT_EQ(requirementFromTarget(ResultBox::AlignedWeight, "40", std::nullopt), std::nullopt);

  // A new target for the same result replaces the value and keeps the
  // tolerance the customer gave.
  std::vector<Requirement> requirements = {{ResultBox::PredictedDcr, 15, "Ω", 10},
                                           {ResultBox::AlignedWeight, 40, "g", {}}};
  keepRequirement(requirements, {ResultBox::PredictedDcr, 12, "Ω", {}});
  keepRequirement(requirements, {ResultBox::CrossHeight, 3, "mm", {}});
  EXPECT_EQ(requirements, (std::vector<Requirement>{{ResultBox::PredictedDcr, 12, "Ω", 10},
                                                    {ResultBox::AlignedWeight, 40, "g", {}},
                                                    {ResultBox::CrossHeight, 3, "mm", {}}}));
  EXPECT_EQ(requirementText(requirements[0]), "DCR(20℃) 12 Ω ±10 %");
  EXPECT_EQ(requirementText(requirements[1]), "重量 40 g ±5 %（既定）");
}

TEST(Requirement, TypedValuesAndTolerances) {
  struct Case {
    const char* value;
    const char* tolerance;
    std::optional<double> expectedValue, expectedTolerance;
    const char* refusal;
  };
  const Case cases[] = {
      {"15", "", 15, std::nullopt, nullptr},
      {"１５．５ Ω", "10 %", 15.5, 10, nullptr},
      {"15", "０", 15, 0, nullptr},
      {"0",
       "",
       {},
       {},
       "「DCR(20℃)」の仕様値「0」は 0 より大きい数で入力してください（単位は「Ω」）。"},
      {"15g", "", {}, {}, "「DCR(20℃)」の仕様値「15g」は"},
      {"15", "abc", {}, {}, "「DCR(20℃)」の公差「abc」は 0 から 100 までの % で入力してください"},
      {"15", "150", {}, {}, "「DCR(20℃)」の公差「150」は"},
  };
  for (const Case& c : cases) {
    const Expected<Requirement> requirement =
        typedRequirement(ResultBox::PredictedDcr, c.value, "Ω", c.tolerance);
    if (c.refusal) {
      ASSERT_FALSE(requirement) << c.value;
      EXPECT_TRUE(requirement.message().starts_with(c.refusal)) << requirement.message();
      continue;
    }
    ASSERT_TRUE(requirement) << requirement.message();
    EXPECT_EQ(requirement->value, *c.expectedValue);
    EXPECT_EQ(requirement->tolerancePercent, c.expectedTolerance);
  }
}

}  // namespace
}  // namespace kelvane::job
