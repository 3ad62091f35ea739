// kelvane-batch --job: the rows computed as the items of one job, which opens
// again as it was written and prices each item at the batch's own 単価.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "batch_test_support.h"
#include "job/coil_price.h"
#include "job/job_json.h"
#include "job/shown_coil.h"
#include "tools/batch/batch_job.h"

namespace kelvane::batch {
namespace {

job::PriceList savedList() {
  job::PriceList list = job::builtInPriceList();
  list.wirePrices = job::wirePricesByMaterial({1800, 900, 1300});
  list.defaults.quantities = {100, 1000};
  list.savedAt = "2026-12-01T00:00:00Z";
  return list;
}

struct JobRun {
  BatchRun run;
  BatchJob job;
};

JobRun runForJob(std::string_view input, std::optional<job::PriceList> prices = savedList()) {
  JobRun out;
  BatchOptions options;
  options.threads = 2;
  options.prices = std::move(prices);
  options.row = [&out](std::uint64_t number, const RowResult& row) { out.job.add(number, row); };
  out.run = runWith(input, std::move(options));
  return out;
}

// Rows of each former, one the press refuses, a spacer and a term that
// cannot be read: the computed rows are the items, in order, with their
// names, coils and terms; the job's fields are the first row's.
TEST(BatchJob, OneItemForEachRowComputed) {
  const JobRun r = runForJob(
      "品番,品名,顧客名,見積番号,担当者,使用温度,巻枠,素材材質,turns,bareDiameter,"
      "finishedDiameter,線材単価\n"
      "KC-1,電源トランス,株式会社サンプル電機,Q2026-118,山田 太郎,75,丸,銅線,400,0.25,0.28,\n"
      "KC-2,チョーク,他社,Q-other,,,角,銅線,50,0,1.26,\n"
      ",,,,,,,,,,,\n"
      "KC-3,扇コイル,,,,,扇,アルミニュウム,300,0.3,0.33,3000\n"
      "KC-4,端子,,,,,角,銅線,10,0.2,0.21,x\n");
  ASSERT_TRUE(r.run.summary) << r.run.summary.message();
  EXPECT_EQ(r.job.computedRows(), 2u);
  EXPECT_EQ(r.job.failedRows(), 2u);
  ASSERT_EQ(r.job.failures().size(), 2u);
  EXPECT_EQ(r.job.failures()[0], "3 行目: 素線径(d)を入力してください");
  EXPECT_TRUE(r.job.failures()[1].starts_with("6 行目 12 列目（線材単価）: 「線材単価」"))
      << r.job.failures()[1];

  const Expected<job::Job> built = r.job.job(std::nullopt, std::nullopt);
  ASSERT_TRUE(built) << built.message();
  EXPECT_EQ(built->fields.customer, "株式会社サンプル電機");
  EXPECT_EQ(built->fields.quotationNumber, "Q2026-118");
  EXPECT_EQ(built->fields.personInCharge, "山田 太郎");
  EXPECT_EQ(built->fields.workingCelsius, 75);
  ASSERT_EQ(built->items.size(), 2u);
  const job::Item& round = built->items[0];
  const job::Item& fan = built->items[1];
  EXPECT_EQ(round.partNumber, "KC-1");
  EXPECT_EQ(round.name, "電源トランス");
  EXPECT_EQ(round.coil.former, FormerShape::Round);
  EXPECT_EQ(round.input(InputBox::BareDiameter), "0.25");
  EXPECT_EQ(round.terms, job::termsFor(savedList(), ConductorMaterial::Copper, 0.25).value());
  EXPECT_EQ(round.priceListSavedAt, "2026-12-01T00:00:00Z");
  EXPECT_EQ(fan.partNumber, "KC-3");
  EXPECT_EQ(fan.coil.material, ConductorMaterial::Aluminium);
  job::QuotationTerms fanTerms =
      job::termsFor(savedList(), ConductorMaterial::Aluminium, 0.3).value();
  fanTerms.wireYenPerKg = 3000;
  EXPECT_EQ(fan.terms, fanTerms);
  // Typed for the row: no later list is offered in their place.
  EXPECT_EQ(fan.priceListSavedAt, "");

  // The command line's fields over the first row's.
  const Expected<job::Job> named = r.job.job("株式会社テスト", "Q-9");
  ASSERT_TRUE(named);
  EXPECT_EQ(named->fields.customer, "株式会社テスト");
  EXPECT_EQ(named->fields.quotationNumber, "Q-9");
  EXPECT_EQ(named->fields.personInCharge, "山田 太郎");

  // Saved and opened again, the same job; each item priced as it opens at
  // the 単価 of its row's first lot.
  const Expected<std::string> text = job::savedJobText(*built, std::chrono::system_clock::now());
  ASSERT_TRUE(text) << text.message();
  const Expected<job::Job> opened = job::readJob(*text);
  ASSERT_TRUE(opened) << opened.message();
  EXPECT_EQ(opened->fields, built->fields);
  EXPECT_EQ(opened->items, built->items);
  const std::vector<std::string> header = outputHeader(r.run.output);
  const auto rows = outputRows(r.run.output);
  const std::size_t unitPrice =
      std::find(header.begin(), header.end(), "単価 (100 個) [円]") - header.begin();
  ASSERT_LT(unitPrice, header.size());
  for (const auto& [item, row] : {std::pair{&round, 0}, std::pair{&fan, 3}}) {
    SCOPED_TRACE(item->partNumber);
    const Expected<job::CoilPrice> price =
        job::priceOfCoil(job::pressOnOpening(item->coil).coil, *item->terms);
    ASSERT_TRUE(price) << price.message();
    EXPECT_EQ(std::llround(std::stod(rows.at(row).at(unitPrice)) * 100),
              price->quote.lots[item->basisLot].unitPriceSen);
  }
}

// Without a price list the items have no terms: the window prices them
// from the user's list as it does any job not yet priced.
TEST(BatchJob, UnpricedWithoutAPriceList) {
  const JobRun r = runForJob("品番,turns\nKC-1,10\n", std::nullopt);
  const Expected<job::Job> built = r.job.job(std::nullopt, std::nullopt);
  ASSERT_TRUE(built) << built.message();
  ASSERT_EQ(built->items.size(), 1u);
  EXPECT_EQ(built->items[0].terms, std::nullopt);
  EXPECT_EQ(built->items[0].priceListSavedAt, "");
}

// A job holds one to kMaxItems items: a batch with no row computed, or with
// more, writes none.
TEST(BatchJob, RefusedWithoutItemsOrBeyondWhatAJobHolds) {
  struct Case {
    std::size_t rows;
    const char* bareDiameter;
    const char* refusal;  // null: written
  };
  const Case cases[] = {
      {2, "0", "計算できた行がないので、見積ファイルは書きませんでした。"},
      {job::kMaxItems, "0.2", nullptr},
      {job::kMaxItems + 1, "0.2",
       "計算できた行が 101 行あります。一つの見積ファイルに入る品目は 100 まで"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rows);
    std::string input = "bareDiameter\n";
    for (std::size_t i = 0; i < c.rows; ++i) input += std::string(c.bareDiameter) + "\n";
    const Expected<job::Job> built = runForJob(input).job.job(std::nullopt, std::nullopt);
    if (!c.refusal) {
      ASSERT_TRUE(built) << built.message();
      EXPECT_EQ(built->items.size(), c.rows);
      continue;
    }
    ASSERT_FALSE(built);
    EXPECT_NE(built.message().find(c.refusal), std::string::npos) << built.message();
  }
}

}  // namespace
}  // namespace kelvane::batch
