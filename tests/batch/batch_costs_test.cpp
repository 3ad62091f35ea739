// kelvane-batch --prices: each row priced as the window prices its coil,
// with the list's terms for the row's material.
#include <gtest/gtest.h>

#include "batch_test_support.h"
#include "form/form_job.h"
#include "job/coil_price.h"
#include "tests/job/job_fixtures.h"
#include "tools/batch/batch.h"

namespace kelvane::batch {
namespace {

job::PriceList twoLots() {
  job::PriceList list = job::builtInPriceList();
  list.wirePrices = job::wirePricesByMaterial({2000, 500, 1200});
  list.defaults.parts = {{"ボビン", 35}};
  list.defaults.quantities = {100, 1000};
  return list;
}

BatchRun pricedRun(std::string_view input, const job::PriceList& list) {
  BatchOptions options;
  options.threads = 2;
  options.prices = list;
  return runWith(input, std::move(options));
}

// The same coil of each material, and a row the press refuses: each priced
// row gives the window's price for its job with its material's wire price.
TEST(BatchCosts, EachRowPricedForItsMaterialAsTheWindowPricesIt) {
  const BatchRun run = pricedRun(
      "turns,material,bareDiameter,finishedDiameter\n"
      "400,銅線,0.2,0.21\n"
      "400,アルミニュウム,0.2,0.21\n"
      "400,copperCladAluminium85,0.2,0.21\n"
      "400,0,0.2,0.1\n",
      twoLots());
  ASSERT_TRUE(run.summary) << run.summary.message();
  EXPECT_EQ(run.summary->failedRows, 1u);
  const auto rows = outputRows(run.output);
  ASSERT_EQ(rows.size(), 4u);
  const form::Form1 fresh;
  for (int i = 0; i < 3; ++i) {
    const auto material = static_cast<ConductorMaterial>(i);
    job::Job job;
    only(job).coil.texts = fresh.state().inputTexts;
    only(job).coil.material = material;
    only(job).input(form::box::Turns) = "400";
    only(job).input(form::box::BareDiameter) = "0.2";
    only(job).input(form::box::FinishedDiameter) = "0.21";
    form::Form1 form;
    form::applyJob(job, form);
    const auto price =
        job::priceOfCoil(form::shownCoil(form), job::termsFor(twoLots(), material, 0.2).value());
    ASSERT_TRUE(price) << price.message();
    const std::vector<std::string>& row = rows[i];
    const std::vector<std::string> costs(row.end() - 7, row.end() - 1);
    for (int lot = 0; lot < 2; ++lot) {
      const job::LotPrice& p = price->quote.lots[lot];
      EXPECT_NEAR(std::stod(costs[3 * lot]), p.costYen, 0.00005) << "row " << i;
      EXPECT_EQ(std::llround(std::stod(costs[3 * lot + 1]) * 100), p.unitPriceSen) << "row " << i;
      EXPECT_EQ(costs[3 * lot + 2], std::to_string(p.amountYen)) << "row " << i;
    }
    EXPECT_EQ(row.back(), "");
  }
  // The refused row has its message and no price.
  const std::vector<std::string>& refused = rows[3];
  EXPECT_EQ(std::vector<std::string>(refused.end() - 7, refused.end() - 1),
            std::vector<std::string>(6, ""));
  EXPECT_NE(refused.back(), "");
}

// Cells a spreadsheet reads as numbers: two decimals of 単価, whole 金額.
TEST(BatchCosts, PlainDecimalsOfSenAndYen) {
  job::PriceList list = twoLots();
  list.wirePrices = job::wirePricesByMaterial({0, 0, 0});
  list.defaults.labourYenPerHour = 0;
  list.defaults.parts = {{"端子", 12.345}};
  list.defaults.overheadPercent = 0;
  list.defaults.profitPercent = 0;
  const auto rows = outputRows(pricedRun("turns\n10\n", list).output);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(std::vector<std::string>(rows[0].end() - 7, rows[0].end() - 1),
            (std::vector<std::string>{"12.3450", "12.35", "1235", "12.3450", "12.35", "12350"}));
}

TEST(BatchCosts, ACoilThatCannotBePricedFailsItsRow) {
  job::PriceList list = twoLots();
  list.wirePrices[0].yenPerKg = 1e300;
  const BatchRun run = pricedRun("turns\n10\n", list);
  ASSERT_TRUE(run.summary);
  EXPECT_EQ(run.summary->failedRows, 1u);
  const auto rows = outputRows(run.output);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].back(),
            "材料費が大きすぎます（「線材単価」「ロス率」と線材の重量を確かめてください）。");
}

}  // namespace
}  // namespace kelvane::batch
