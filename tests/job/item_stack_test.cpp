#include "job/item_stack.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/winding_stack.h"
#include "job/job.h"
#include "job/price_list.h"
#include "job_fixtures.h"

namespace kelvane::job {
namespace {

// A round bobbin with a thin primary, a thick secondary and an aluminium
// tertiary over it.
Item transformer() {
  Item item;
  item.coil.former = FormerShape::Round;
  item.input(InputBox::InnerDiameter) = "10";
  item.input(InputBox::BareDiameter) = "0.08";
  item.input(InputBox::FinishedDiameter) = "0.1";
  item.input(InputBox::Turns) = "500";
  item.input(InputBox::LeadLength) = "20";
  item.input(InputBox::ReferenceThickness) = "5";
  item.windingName = "一次";
  UpperWinding thick;
  thick.name = "二次";
  thick.coil.texts = item.coil.texts;
  thick.coil.texts[indexOf(InputBox::BareDiameter)] = "1.2";
  thick.coil.texts[indexOf(InputBox::FinishedDiameter)] = "1.3";
  thick.coil.texts[indexOf(InputBox::Turns)] = "20";
  thick.coil.texts[indexOf(InputBox::ReferenceThickness)] = "8";
  // What a winding above holds in its own former boxes is never read.
  thick.coil.texts[indexOf(InputBox::InnerDiameter)] = "φ12";
  thick.under = {"0.05", "2"};
  UpperWinding aluminium = thick;
  aluminium.name = "三次";
  aluminium.coil.material = ConductorMaterial::Aluminium;
  aluminium.coil.texts[indexOf(InputBox::BareDiameter)] = "0.5";
  aluminium.coil.texts[indexOf(InputBox::FinishedDiameter)] = "0.55";
  aluminium.coil.texts[indexOf(InputBox::Turns)] = "500";
  aluminium.under = {"０．０５mm", "２"};
  item.upperWindings = {thick, aluminium};
  return item;
}

TEST(ItemStack, ReadsEveryWindingOnTheItemsFormer) {
  const Expected<WindingStack> stack = stackOf(transformer());
  ASSERT_TRUE(stack.ok()) << stack.message();
  EXPECT_EQ(stack->former.shape, FormerShape::Round);
  EXPECT_EQ(stack->former.innerDiameter, 10);
  ASSERT_EQ(stack->windings.size(), 3u);
  EXPECT_EQ(stack->windings[0].name, "一次");
  EXPECT_EQ(stack->windings[1].coil.bareDiameter, 1.2);
  EXPECT_EQ(stack->windings[2].coil.material, ConductorMaterial::Aluminium);
  EXPECT_EQ(stack->windings[2].under, (Insulation{0.05, 2}));
  EXPECT_EQ(tapeLayersOf(*stack), 4);
}

TEST(ItemStack, RefusesWhatCannotBeReadNamingTheWinding) {
  struct Row {
    const char* name;
    void (*edit)(Item&);
    std::string message;
  };
  const std::vector<Row> rows = {
      {"turns of the secondary", [](Item& i) { i.upperWindings[0].coil.texts[2] = "20本"; },
       "巻線2「二次」: 「巻き数(n)」の「20本」は数値として読めません。数値で入力してください"},
      {"tape thickness", [](Item& i) { i.upperWindings[1].under.thicknessPerLayer = "0,05"; },
       "巻線3「三次」: 「層間絶縁の厚み」の「0,05」は数値として読めません。"
       "桁区切りは「1,000」のように3桁ごとに、小数点は「.」で入力してください"},
      {"half a layer", [](Item& i) { i.upperWindings[0].under.layers = "1.5"; },
       "巻線2「二次」: 層間絶縁の層数は0～1,000の整数で入力してください"},
      {"negative tape", [](Item& i) { i.upperWindings[0].under.thicknessPerLayer = "-0.1"; },
       "巻線2「二次」: 層間絶縁の厚みは0～1,000,000 mmの範囲で入力してください"},
      {"too many", [](Item& i) { i.upperWindings.resize(8, i.upperWindings[0]); },
       "巻線が多すぎます（1つの巻枠に8巻線まで）。"},
      {"no former", [](Item& i) { i.coil.former.reset(); }, "形状選択が適切でありません"},
  };
  for (const Row& row : rows) {
    Item item = transformer();
    row.edit(item);
    const Expected<WindingStack> stack = stackOf(item);
    ASSERT_FALSE(stack.ok()) << row.name;
    EXPECT_EQ(stack.message(), row.message) << row.name;
  }
}

// Each winding's wire at its own price: typed, or the list's for its
// material and diameter; its own speed, or the first's.
TEST(ItemStack, PricesEachWindingsWireAndSpeed) {
  Item item = transformer();
  item.tapeYenPerLayer = 2.5;
  const Expected<WindingStack> stack = stackOf(item);
  ASSERT_TRUE(stack.ok()) << stack.message();
  const Expected<StackResult> result = computeStack(*stack);
  ASSERT_TRUE(result.ok()) << result.message();
  QuotationTerms first = test::smallCoilTerms({100});
  first.wireYenPerKg = 2400;
  first.windingRpm = 600;
  int asked = 0;
  const auto list = [&]() -> Expected<PriceList> {
    ++asked;
    return builtInPriceList();
  };

  const Expected<StackPrice> listed = priceItemStack(item, *stack, *result, first, list);
  ASSERT_TRUE(listed.ok()) << listed.message();
  EXPECT_EQ(asked, 1);  // once for both windings above
  std::vector<WindingCost> costs;
  const double listPrice[] = {2400, 1650, 900};  // the first's terms; copper from 1 mm; aluminium
  for (std::size_t k = 0; k < 3; ++k) {
    costs.push_back({stack->windings[k].name,
                     result->windings[k].results().weights.predictedWeight / 1000,
                     stack->windings[k].coil.turns, listPrice[k], 600});
  }
  const Expected<StackPrice> expected = priceStack(costs, first, {2.5, 4});
  ASSERT_TRUE(expected.ok()) << expected.message();
  EXPECT_EQ(*listed, *expected);

  item.upperWindings[1].terms = {700.0, 300.0};
  asked = 0;
  const Expected<StackPrice> typed = priceItemStack(item, *stack, *result, first, list);
  ASSERT_TRUE(typed.ok()) << typed.message();
  costs[2].wireYenPerKg = 700;
  costs[2].windingRpm = 300;
  EXPECT_EQ(*typed, *priceStack(costs, first, {2.5, 4}));

  // A list without aluminium names the winding that needs it.
  item.upperWindings[1].terms = {};
  PriceList copperOnly = builtInPriceList();
  std::erase_if(copperOnly.wirePrices, [](const WirePriceRow& row) {
    return row.material == ConductorMaterial::Aluminium;
  });
  const Expected<StackPrice> lacking =
      priceItemStack(item, *stack, *result, first, [&] { return Expected<PriceList>(copperOnly); });
  ASSERT_FALSE(lacking.ok());
  EXPECT_EQ(lacking.message().rfind("巻線3「三次」: ", 0), 0u) << lacking.message();
}

TEST(ItemStack, TurnsOfASolvedStackAreWrittenBackAsTyped) {
  const Item item = transformer();
  WindingStack stack = *stackOf(item);
  stack.windings[1].coil.turns = 1234;
  const Item solved = withStackTurns(item, stack);
  EXPECT_EQ(solved.upperWindings[0].coil.text(InputBox::Turns), "1234");
  EXPECT_EQ(solved.input(InputBox::Turns), "500");
  EXPECT_EQ(solved.upperWindings[0].coil.text(InputBox::InnerDiameter), "φ12");
}

}  // namespace
}  // namespace kelvane::job
