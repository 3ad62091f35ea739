// The customer's request priced: every item's basis lot on its line, the
// totals over them with the tax once, the other lots beside.
#include <gtest/gtest.h>

#include "form/form1.h"
#include "form/form_job.h"
#include "job/coil_price.h"
#include "job/item_stack.h"
#include "job/request_quote.h"
#include "job_fixtures.h"

namespace kelvane::job {
namespace {

// Three coils of one customer's request, each priced by priceCoil.
std::vector<QuotedItem> threeItems() {
  const Quote round = priceCoil(0.0123, 400, test::smallCoilTerms({100, 1000})).value();
  const Quote rectangular = priceCoil(0.0456, 1500, test::prototypeTerms({10})).value();
  const Quote fan = priceCoil(0.2, 120, test::smallCoilTerms({1, 50, 500})).value();
  return {{"KC-1", "丸", round, 1}, {"KC-2", "角", rectangular, 0}, {"KC-3", "扇", fan, 2}};
}

TEST(RequestQuote, TotalsTheBasisLotsAndTaxesOnce) {
  const Expected<RequestQuote> request = totalRequest(threeItems());
  ASSERT_TRUE(request) << request.message();
  std::int64_t sum = 0;
  for (const QuotedItem& item : request->items) {
    const LotPrice& lot = item.basis();
    // Each 金額 is 単価 × 数量, half up to the yen.
    EXPECT_EQ(lot.amountYen, (lot.unitPriceSen * lot.quantity + 50) / 100) << item.partNumber;
    sum += lot.amountYen;
  }
  EXPECT_EQ(request->items[0].basis().quantity, 1000);
  EXPECT_EQ(request->items[2].basis().quantity, 500);
  EXPECT_EQ(request->subtotalYen, sum);
  EXPECT_EQ(request->taxYen, sum / 10);  // once, on the total: never the items' taxes summed
  EXPECT_EQ(request->totalYen, sum + sum / 10);
}

TEST(RequestQuote, RefusesWhatCannotBeTotalled) {
  std::vector<QuotedItem> items = threeItems();
  items[1].basisLot = 7;  // beyond its lots: its first
  const Expected<RequestQuote> request = totalRequest(items);
  ASSERT_TRUE(request) << request.message();
  EXPECT_EQ(request->items[1].basisLot, 0u);

  items[0].quote.lots.front().amountYen = std::numeric_limits<std::int64_t>::max() - 1;
  items[0].basisLot = 0;
  EXPECT_EQ(totalRequest(items).message(), "見積の合計が大きすぎます。数量を確かめてください。");
  items = threeItems();
  items[2].quote.lots.clear();
  EXPECT_FALSE(totalRequest(items));
}

// The first item that cannot be priced is named when there are several,
// not when the request is of one coil.
TEST(RequestQuote, NamesTheItemThatCannotBePriced) {
  Job job = test::sampleJobs()[5].job;  // three items
  std::vector<ShownCoil> coils;
  for (const Item& item : job.items) {
    form::Form1 form;
    form::applyCoil(item.coil, form);
    coils.push_back(form::shownCoil(form));
  }
  const ItemTerms terms = [](const Item& item) -> Expected<PricingTerms> {
    if (item.partNumber == "KC-0043") return Failure{"単価表がありません。"};
    QuotationTerms own = test::smallCoilTerms({100});
    own.wireMaterial = item.coil.material;
    return PricingTerms{own, WirePriceSource::JobTerms};
  };
  const Expected<RequestQuote> request = priceRequest(job.items, coils, terms);
  EXPECT_EQ(request.message(), "品目 2「KC-0043 チョーク \"B\"」: 単価表がありません。");
  EXPECT_EQ(itemLabel(2, job.items[2]), "品目 3「扇形コイル」");
  EXPECT_EQ(itemLabel(0, Item{}), "品目 1");
  const Expected<RequestQuote> one =
      priceRequest(std::span(job.items).subspan(1, 1), std::span(coils).subspan(1, 1), terms);
  EXPECT_EQ(one.message(), "単価表がありません。");
}

// An item of several windings is priced from its stack as computed: one
// line, its quote the stack's; without a current stack it is refused.
TEST(RequestQuote, AStackIsOneItemPricedFromItsWindings) {
  const Job job = test::sampleJobs()[6].job;  // a transformer of three windings
  const Item& item = job.items.front();
  form::Form1 first;
  form::applyCoil(item.coil, first);
  const std::vector<ShownCoil> coils = {form::shownCoil(first)};
  const ItemTerms terms = [](const Item& i) -> Expected<PricingTerms> {
    return PricingTerms{*i.terms, WirePriceSource::JobTerms};
  };
  const auto list = [] { return Expected<PriceList>(builtInPriceList()); };
  const std::vector<std::optional<StackResult>> stacks = {computeStack(*stackOf(item)).value()};

  const Expected<RequestQuote> request = priceRequest(job.items, coils, terms, stacks, list);
  ASSERT_TRUE(request) << request.message();
  ASSERT_EQ(request->items.size(), 1u);
  const Expected<StackPrice> stack = priceOfStack(item, stacks[0], *item.terms, list);
  ASSERT_TRUE(stack) << stack.message();
  EXPECT_EQ(request->items[0].quote, stack->quote);
  EXPECT_NE(request->items[0].quote, priceOfCoil(coils[0], *item.terms)->quote);
  // As one coil's price for the tables: the same quote, every winding's turns.
  const Expected<CoilPrice> asCoil = coilPriceOfStack(item, stacks[0], *item.terms, list);
  ASSERT_TRUE(asCoil) << asCoil.message();
  EXPECT_EQ(asCoil->quote, stack->quote);
  EXPECT_EQ(asCoil->turns, 120 + 40 + 40);

  const std::vector<std::optional<StackResult>> stale = {std::nullopt};
  EXPECT_EQ(priceRequest(job.items, coils, terms, stale, list).message(), kNoCurrentPressMessage);
}

}  // namespace
}  // namespace kelvane::job
