#include "job/stack_price.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/winding_stack.h"
#include "job/price_list.h"
#include "job/quotation.h"
#include "job_fixtures.h"

namespace kelvane::job {
namespace {

using test::prototypeTerms;
using test::smallCoilTerms;

// A piece of one winding without tape is one coil: the same quote, lot by
// lot, to the sen, whatever the terms.
TEST(StackPrice, OneWindingPricesAsOneCoil) {
  struct Row {
    const char* name;
    double wireMassKg;
    double turns;
    QuotationTerms terms;
  };
  QuotationTerms awkward = smallCoilTerms({1, 7, 333, 1'000'000'000});
  awkward.wireYenPerKg = 1234.567;
  awkward.windingRpm = 777.7;
  awkward.lossPercent = 3.3;
  awkward.labourYenPerHour = 2999.99;
  const std::vector<Row> rows = {
      {"small coil", 0.0123456789012345, 420, smallCoilTerms({100, 1000})},
      {"prototype", 0.987654321, 12345.5, prototypeTerms({1, 10, 50})},
      {"awkward decimals and the largest lot", 0.000101, 3, awkward},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Expected<Quote> coil = priceCoil(row.wireMassKg, row.turns, row.terms);
    ASSERT_TRUE(coil.ok()) << coil.message();
    const WindingCost only{"", row.wireMassKg, row.turns, row.terms.wireYenPerKg,
                           row.terms.windingRpm};
    const Expected<StackPrice> stack = priceStack({&only, 1}, row.terms);
    ASSERT_TRUE(stack.ok()) << stack.message();
    EXPECT_EQ(stack->quote, *coil);
    EXPECT_EQ(stack->tapeYen, 0);
  }
}

// The piece's figures are the windings' materials and winding times plus
// the shared handling, setup, parts and the tape, worked out by hand.
TEST(StackPrice, SumOfWindingsAndSharedCosts) {
  QuotationTerms terms;
  terms.lossPercent = 0;
  terms.handlingMinutes = 1;
  terms.setupMinutes = 30;
  terms.labourYenPerHour = 3000;
  terms.parts = {{"ボビン", 100}};
  terms.overheadPercent = 10;
  terms.profitPercent = 20;
  terms.quantities = {10, 3};
  const std::vector<WindingCost> windings = {
      {"一次", 0.5, 1200, 2000, 600},   // 1,000 円 of wire, 2 minutes
      {"二次", 0.25, 900, 3000, 300}};  // 750 円, 3 minutes
  const Expected<StackPrice> price = priceStack(windings, terms, {5, 4});
  ASSERT_TRUE(price.ok()) << price.message();
  ASSERT_EQ(price->windings.size(), 2u);
  EXPECT_EQ(price->windings[1], (WindingShare{750, 3}));
  EXPECT_EQ(price->tapeYen, 20);

  struct Lot {
    std::int64_t quantity;
    double processingYen;  // (2 + 3 + 1 + 30 / Q) / 60 × 3,000
    std::int64_t unitPriceSen;
    std::int64_t amountYen;
  };
  const Lot lots[] = {{10, 450, 306240, 30624},  // (1,750 + 450 + 120) × 1.1 × 1.2
                      {3, 800, 352440, 10573}};  // (1,750 + 800 + 120) × 1.32
  ASSERT_EQ(price->quote.lots.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    const LotPrice& lot = price->quote.lots[i];
    EXPECT_EQ(lot.quantity, lots[i].quantity);
    EXPECT_DOUBLE_EQ(lot.materialYen, 1750);
    EXPECT_DOUBLE_EQ(lot.processingYen, lots[i].processingYen);
    EXPECT_DOUBLE_EQ(lot.partsYen, 120);
    EXPECT_EQ(lot.unitPriceSen, lots[i].unitPriceSen);
    EXPECT_EQ(lot.amountYen, lots[i].amountYen);
  }
  EXPECT_EQ(price->quote.subtotalYen, 30624);
  EXPECT_EQ(price->quote.taxYen, 3062);
}

TEST(StackPrice, ExactWhereBinaryFractionsWouldRoundWrong) {
  // Half a minute and a fifth: 0.7 minute at 3 円/h is 3.5 sen, which
  // rounds up; worked out in binary it is 3.4999… and would round down.
  QuotationTerms terms;
  terms.labourYenPerHour = 3;
  terms.quantities = {1};
  const std::vector<WindingCost> windings = {{"a", 0, 1, 0, 2}, {"b", 0, 1, 0, 5}};
  const Expected<StackPrice> price = priceStack(windings, terms);
  ASSERT_TRUE(price.ok()) << price.message();
  EXPECT_EQ(price->quote.lots.front().unitPriceSen, 4);

  // Two windings of one wire at one speed are one coil of their sum.
  const QuotationTerms small = smallCoilTerms({100, 1000});
  const std::vector<WindingCost> alike = {{"a", 0.125, 333, 1500, 1200},
                                          {"b", 0.375, 667.5, 1500, 1200}};
  const Expected<StackPrice> two = priceStack(alike, small);
  const Expected<Quote> one = priceCoil(0.5, 1000.5, small);
  ASSERT_TRUE(two.ok() && one.ok());
  for (std::size_t i = 0; i < one->lots.size(); ++i)
    EXPECT_EQ(two->quote.lots[i].unitPriceSen, one->lots[i].unitPriceSen);
}

TEST(StackPrice, RefusalsNameTheWindingTheyBelongTo) {
  struct Row {
    const char* name;
    std::vector<WindingCost> windings;
    QuotationTerms terms;
    InsulationTape tape;
    std::string message;
  };
  QuotationTerms badLoss = smallCoilTerms({100});
  badLoss.lossPercent = -1;
  const WindingCost good{"一次", 0.1, 100, 1500, 1200};
  const std::vector<Row> rows = {
      {"a winding speed of 0",
       {good, {"二次", 0.1, 100, 1500, 0}},
       smallCoilTerms({100}),
       {},
       "巻線2「二次」: 「巻線速度」が 0 では巻線の時間が求まりません。0 "
       "より大きい数で入れてください。"},
      {"a wire price below 0",
       {good, {"", 0.1, 100, -5, 1200}},
       smallCoilTerms({100}),
       {},
       "巻線2: 「線材単価」は 0 以上の数で入れてください。"},
      {"a winding not computed",
       {{"二次", NAN, 100, 1500, 1200}, good},
       smallCoilTerms({100}),
       {},
       "巻線1「二次」: 線材の重量が求まっていないため、見積できません。"},
      {"shared terms name no winding",
       {good, good},
       badLoss,
       {},
       "「ロス率」は 0 以上の数で入れてください。"},
      {"one winding says what one coil says",
       {{"一次", 0.1, 100, 1500, 0}},
       smallCoilTerms({100}),
       {},
       "「巻線速度」が 0 では巻線の時間が求まりません。0 より大きい数で入れてください。"},
      {"tape price below 0",
       {good, good},
       smallCoilTerms({100}),
       {-1, 2},
       "「層間テープ単価」は 0 以上の数で入れてください。"},
      {"no winding",
       {},
       smallCoilTerms({100}),
       {},
       "巻線がありません。巻線を1つ以上入れてください。"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Expected<StackPrice> price = priceStack(row.windings, row.terms, row.tape);
    ASSERT_FALSE(price.ok());
    EXPECT_EQ(price.message(), row.message);
  }
}

}  // namespace
}  // namespace kelvane::job
