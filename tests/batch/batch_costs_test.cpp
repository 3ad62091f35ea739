// kelvane-batch --prices: each row priced as the window prices its coil,
// with the list's terms for the row's material.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "batch_test_support.h"
#include "form/form_job.h"
#include "job/coil_price.h"
#include "job/shown_coil.h"
#include "tests/job/job_fixtures.h"
#include "tools/batch/batch.h"
#include "tools/batch/batch_results.h"

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

// A row's own 見積条件 over the list's, read as the 見積 pane reads its
// boxes: the row's 単価 are those of the list's terms with the row's over
// them; an empty cell leaves the list's figure; a cell that cannot be read
// fails its row alone, naming the column and quoting the cell.
TEST(BatchCosts, ARowsOwnTermsOverTheList) {
  struct Case {
    const char* column;
    const char* cell;
    std::function<void(job::QuotationTerms&)> own;  // what the cell changes
    const char* error = nullptr;  // the row's message after its place; null for none
  };
  const auto wire = [](double yen) {
    return [=](job::QuotationTerms& t) { t.wireYenPerKg = yen; };
  };
  const auto lots = [](const std::vector<std::int64_t>& q) {
    return [=](job::QuotationTerms& t) { t.quantities = q; };
  };
  const auto same = [](job::QuotationTerms&) {};
  const Case cases[] = {
      {"線材単価", "3000", wire(3000)},
      {"線材単価", "３，０００ 円/kg", wire(3000)},
      {"wireYenPerKg", "2800円", wire(2800)},
      {"線材単価", "", same},
      {"線材単価", "　", same},
      {"ロス率", "5 %", [](job::QuotationTerms& t) { t.lossPercent = 5; }},
      {"windingRpm", "800 min⁻¹", [](job::QuotationTerms& t) { t.windingRpm = 800; }},
      {"付帯作業時間", "1.5分", [](job::QuotationTerms& t) { t.handlingMinutes = 1.5; }},
      {"段取り時間", "0", [](job::QuotationTerms& t) { t.setupMinutes = 0; }},
      {"賃率", "４０００円/h", [](job::QuotationTerms& t) { t.labourYenPerHour = 4000; }},
      {"管理費率", "12", [](job::QuotationTerms& t) { t.overheadPercent = 12; }},
      {"利益率", "20%", [](job::QuotationTerms& t) { t.profitPercent = 20; }},
      {"数量", "100/1000/5000", lots({100, 1000, 5000})},
      {"quantities", "５００／１，０００", lots({500, 1000})},
      {"数量", "250/", lots({250})},
      {"数量", "", same},
      {"線材単価", "abc", same, "「線材単価」を数として読めません（「abc」）"},
      {"線材単価", "-1", same, "「線材単価」には 0 以上の数を入力してください。"},
      {"付帯作業時間", "1h", same, "「付帯作業時間」を数として読めません（「1h」）"},
      {"ロス率", "0,5", same, "「ロス率」を数として読めません（「0,5」）"},
      {"数量", "100/0", same, "「数量」は 1 から 1,000,000,000 までの整数"},
      {"数量", "100,1000", same, "「数量」を数として読めません（「100,1000」）"},
      {"数量", "1/2/3/4/5/6", same, "「数量」は 5 つまでです（「1/2/3/4/5/6」）。"},
      {"数量", "/", same, "「数量」に、見積もる数量を入力してください。"},
      // Read, but no price: the row fails with priceCoil's reason.
      {"巻線速度", "0", same, "巻線速度"},
  };
  const std::string coil = "turns,material,bareDiameter,finishedDiameter";
  TypedCoil typed = openingCoil();
  typed.texts[indexOf(InputBox::Turns)] = "400";
  typed.texts[indexOf(InputBox::BareDiameter)] = "0.2";
  typed.texts[indexOf(InputBox::FinishedDiameter)] = "0.21";
  typed.former = FormerShape::Rectangular;
  const job::ShownCoil shown = job::pressOnOpening(typed).coil;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.column) + " " + c.cell);
    // Beside it, a row that leaves the cell empty takes the list's terms.
    const BatchRun run =
        pricedRun(coil + "," + c.column + "\n400,0,0.2,0.21,\"" + c.cell + "\"\n400,0,0.2,0.21,\n",
                  twoLots());
    ASSERT_TRUE(run.summary) << run.summary.message();
    const std::vector<std::string> header = outputHeader(run.output);
    const auto rows = outputRows(run.output);
    ASSERT_EQ(rows.size(), 2u);
    const auto unitPrices = [&](const std::vector<std::string>& row) {
      std::vector<std::int64_t> sen;
      for (std::size_t i = 0; i < header.size(); ++i) {
        if (header[i].starts_with("単価") && !row[i].empty())
          sen.push_back(std::llround(std::stod(row[i]) * 100));
      }
      return sen;
    };
    const auto priced = [&](const job::QuotationTerms& terms) {
      std::vector<std::int64_t> sen;
      const Expected<job::CoilPrice> price = job::priceOfCoil(shown, terms);
      if (!price) return sen;
      for (const job::LotPrice& lot : price->quote.lots) sen.push_back(lot.unitPriceSen);
      return sen;
    };
    const job::QuotationTerms listTerms =
        job::termsFor(twoLots(), ConductorMaterial::Copper, 0.2).value();
    EXPECT_EQ(unitPrices(rows[1]), priced(listTerms));
    if (c.error) {
      EXPECT_EQ(run.summary->failedRows, 1u);
      EXPECT_TRUE(unitPrices(rows[0]).empty());
      if (std::string_view(c.error) != "巻線速度") {
        EXPECT_TRUE(rows[0].back().starts_with("2 行目 5 列目（" + std::string(c.column) + "）: "))
            << rows[0].back();
      }
      EXPECT_NE(rows[0].back().find(c.error), std::string::npos) << rows[0].back();
      continue;
    }
    EXPECT_EQ(rows[0].back(), "");
    job::QuotationTerms own = listTerms;
    c.own(own);
    EXPECT_EQ(unitPrices(rows[0]), priced(own));
  }
  // 線材単価 3,000 instead of the list's 2,000 raises every 単価.
  const auto rows = outputRows(
      pricedRun(coil + ",線材単価\n400,0,0.2,0.21,3000\n400,0,0.2,0.21,\n", twoLots()).output);
  EXPECT_GT(std::stod(rows.at(0).at(rows[0].size() - 6)),
            std::stod(rows.at(1).at(rows[1].size() - 6)));
}

// Lot sizes of the rows' own are told in every row beside their prices, by
// their place, whatever the list's.
TEST(BatchCosts, ARowsOwnLotsByTheirPlace) {
  const BatchRun run = pricedRun("turns,数量\n10,100/5000\n10,\n", twoLots());
  ASSERT_TRUE(run.summary) << run.summary.message();
  const std::vector<std::string> header = outputHeader(run.output);
  ASSERT_EQ(header.size(), 2 + readableColumns(false).size() + 20 + 1);
  EXPECT_EQ(std::vector<std::string>(header.end() - 21, header.end() - 17),
            (std::vector<std::string>{"数量 1 [個]", "原価 1 [円]", "単価 1 [円]", "金額 1 [円]"}));
  EXPECT_EQ(header.back(), "エラー");
  const auto rows = outputRows(run.output);
  const auto lotsOf = [](const std::vector<std::string>& row) {
    std::vector<std::string> q;
    for (std::size_t at = row.size() - 21; at < row.size() - 1; at += 4) q.push_back(row[at]);
    return q;
  };
  EXPECT_EQ(lotsOf(rows.at(0)), (std::vector<std::string>{"100", "5000", "", "", ""}));
  EXPECT_EQ(lotsOf(rows.at(1)), (std::vector<std::string>{"100", "1000", "", "", ""}));
}

// Terms of a row's own have nothing to lie over without a price list.
TEST(BatchCosts, TermColumnsNeedAPriceList) {
  const BatchRun run = runOn("turns,線材単価\n10,3000\n");
  ASSERT_FALSE(run.summary);
  EXPECT_NE(run.summary.message().find("--prices"), std::string::npos);
  EXPECT_EQ(run.output, "");
}

}  // namespace
}  // namespace kelvane::batch
