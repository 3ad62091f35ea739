// kelvane-batch with 巻線 and 層間絶縁: consecutive rows of one 品番 are the
// windings of one item, each computed on the outside of the one below.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "batch_test_support.h"
#include "core/number_text.h"
#include "job/item_stack.h"
#include "job/shown_coil.h"
#include "tools/batch/batch.h"
#include "tools/batch/batch_costs.h"
#include "tools/batch/batch_job.h"

namespace kelvane::batch {
namespace {

const std::string kHeader =
    "品番,巻線,層間絶縁,巻枠,素線径(d),線仕上外径,巻き数(n),基準厚み(T),内径(D),A,B,r1,r2\n";

// The results of a row, without its own cells and エラー.
std::vector<std::string> resultsOf(const std::vector<std::string>& row, std::size_t own) {
  return {row.begin() + static_cast<std::ptrdiff_t>(own), row.end() - 1};
}

TypedCoil typedOf(const std::string& former, const std::string& d, const std::string& dw,
                  const std::string& turns, const std::string& t) {
  TypedCoil coil = openingCoil();
  coil.former = former == "丸" ? FormerShape::Round : FormerShape::Rectangular;
  coil.texts[indexOf(InputBox::BareDiameter)] = d;
  coil.texts[indexOf(InputBox::FinishedDiameter)] = dw;
  coil.texts[indexOf(InputBox::Turns)] = turns;
  coil.texts[indexOf(InputBox::ReferenceThickness)] = t;
  return coil;
}

// The second winding of a stack gives what the same coil gives alone when
// its former is typed by hand: the first's former grown by its higher build
// and the tape. The first winding gives what its row gives without the
// columns.
TEST(BatchStacks, TheSecondRowIsTheCoilOnTheFormerTheFirstLeaves) {
  struct Case {
    const char* former;
    const char* tape;  // the 層間絶縁 cell of the second row
    double tapeMm;
  };
  const Case cases[] = {{"丸", "0.05", 0.05},
                        {"丸", "", 0},
                        {"丸", "０．１ mm", 0.1},
                        {"角", "0.05", 0.05},
                        {"角", "0", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.former) + " " + c.tape);
    const std::string former(c.former);
    const BatchRun stack = runOn(kHeader + "T-1,1,," + former +
                                 ",0.2,0.23,400,6,10,2,2,0.3,0.3\n"
                                 "T-1,2," +
                                 c.tape + ",,0.5,0.55,60,6.2,99,99,99,99,99\n");
    ASSERT_TRUE(stack.summary.ok()) << stack.summary.message();
    EXPECT_EQ(stack.summary->failedRows, 0u);
    const auto rows = outputRows(stack.output);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].back(), "");

    // By hand: the first coil alone, its former grown by the larger of its
    // two heights and the tape.
    const job::FirstPress first = job::pressOnOpening(typedOf(former, "0.2", "0.23", "400", "6"));
    ASSERT_TRUE(first.coil.pressed);
    const double build =
        std::max(first.coil.pressed->crossHeight, first.coil.pressed->alignedHeight) + c.tapeMm;
    const std::string byHand =
        former == "丸" ? "T-1,,," + former + ",0.5,0.55,60,6.2," + plainDecimal(10 + 2 * build) +
                             ",2,2,0.3,0.3\n"
                       : "T-1,,," + former + ",0.5,0.55,60,6.2,10," + plainDecimal(2 + 2 * build) +
                             "," + plainDecimal(2 + 2 * build) + "," + plainDecimal(0.3 + build) +
                             "," + plainDecimal(0.3 + build) + "\n";
    const BatchRun alone =
        runOn(kHeader + "T-1,,," + former + ",0.2,0.23,400,6,10,2,2,0.3,0.3\n" + byHand);
    ASSERT_TRUE(alone.summary.ok());
    const auto aloneRows = outputRows(alone.output);
    ASSERT_EQ(aloneRows.size(), 2u);
    EXPECT_EQ(aloneRows[1].back(), "");
    const std::size_t own = 13;
    EXPECT_EQ(resultsOf(rows[0], own), resultsOf(aloneRows[0], own));
    EXPECT_EQ(resultsOf(rows[1], own), resultsOf(aloneRows[1], own));
  }
}

// A 巻線 that does not follow fails its row alone, named by its place; the
// rows around it are computed. A failure of a winding fails its stack, the
// other rows naming the winding.
TEST(BatchStacks, RowsThatDoNotStackAreRefused) {
  struct Case {
    const char* name;
    std::vector<std::string> rows;  // after the header
    // Each row's エラー cell, or its start for a long sentence; "" for none.
    std::vector<std::string> errors;
  };
  const std::string coil = "0.2,0.23,400,6,10,2,2,0.3,0.3";
  const std::string follow = " は前の行に続きません。";
  const Case cases[] = {
      {"2 without a 1", {"A,2,,," + coil}, {"2 行目 2 列目（巻線）: 巻線2" + follow}},
      {"a gap", {"A,1,,," + coil, "A,3,,," + coil}, {"", "3 行目 2 列目（巻線）: 巻線3" + follow}},
      {"another 品番",
       {"A,1,,," + coil, "B,2,,," + coil},
       {"", "3 行目 2 列目（巻線）: 巻線2" + follow}},
      {"a spacer between",
       {"A,1,,," + coil, ",,,,,,,,,,,,", "A,2,,," + coil},
       {"", "", "4 行目 2 列目（巻線）: 巻線2" + follow}},
      {"beyond eight",
       {"A,9,,," + coil},
       {"2 行目 2 列目（巻線）: 「9」は巻線の番号として読めません"}},
      {"no number",
       {"A,1.5,,," + coil, "A,x,,," + coil, "A,0,,," + coil},
       {"2 行目 2 列目（巻線）: 「1.5」", "3 行目 2 列目（巻線）: 「x」",
        "4 行目 2 列目（巻線）: 「0」"}},
      {"full-width numbers stack", {"A,１,,," + coil, "A,２,,," + coil}, {"", ""}},
      {"tape under the first",
       {"A,1,0.1,," + coil, "B,,0.1,," + coil, "C,,0,," + coil},
       {"2 行目 3 列目（層間絶縁）: 巻線1 は巻枠にじかに巻く", "3 行目 3 列目（層間絶縁）", ""}},
      {"another shape above",
       {"A,1,,丸," + coil, "A,2,,角," + coil},
       {"巻線2: 3 行目 4 列目（巻枠）: 巻線2 から上は", "3 行目 4 列目（巻枠）: 巻線2 から上は"}},
      {"the same shape above", {"A,1,,丸," + coil, "A,2,,丸," + coil}, {"", ""}},
      {"a press refused above",
       {"A,1,,," + coil, "A,2,,,0.2,0.1,400,6,,,,,"},
       {"巻線2: 線仕上外径は素線径(d)以上にしてください",
        "巻線2: 線仕上外径は素線径(d)以上にしてください"}},
      {"a tape that cannot be read",
       {"A,1,,," + coil, "A,2,abc,," + coil},
       {"巻線2: 「層間絶縁の厚み」", "巻線2: 「層間絶縁の厚み」"}},
      {"a row of too many cells",
       {"A,1,,," + coil, "A,2,,," + coil + ",x"},
       {"", "3 行目: 列が 14 個あります"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string input = kHeader;
    for (const std::string& row : c.rows) input += row + "\n";
    const BatchRun run = runOn(input);
    ASSERT_TRUE(run.summary.ok()) << run.summary.message();
    const auto rows = outputRows(run.output);
    ASSERT_EQ(rows.size(), c.errors.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (c.errors[i].empty()) {
        EXPECT_EQ(rows[i].back(), "") << "row " << i + 2;
      } else {
        EXPECT_TRUE(rows[i].back().starts_with(c.errors[i])) << rows[i].back();
      }
    }
  }
}

// Eight windings stack; a ninth row is refused, the eight computed.
TEST(BatchStacks, EightWindingsAtMost) {
  std::string input = kHeader;
  for (int k = 1; k <= 9; ++k)
    input +=
        "A," + std::to_string(k) + (k > 1 ? ",0.05" : ",") + ",丸,0.2,0.23,100,6,10,2,2,0.3,0.3\n";
  const BatchRun run = runOn(input);
  ASSERT_TRUE(run.summary.ok());
  EXPECT_EQ(run.summary->failedRows, 1u);
  const auto rows = outputRows(run.output);
  ASSERT_EQ(rows.size(), 9u);
  EXPECT_EQ(rows[7].back(), "");
  EXPECT_TRUE(rows[8].back().starts_with("10 行目 2 列目（巻線）: 「9」")) << rows[8].back();
}

// Stacks across the parts the batch computes apart, on several threads, in
// pieces of any size: each gives what it gives in a file of its own.
TEST(BatchStacks, AStackIsNeverCutBetweenParts) {
  std::string input = kHeader;
  const auto stackOfThree = [](int n) {
    std::string rows;
    for (int k = 1; k <= 3; ++k) {
      rows += "S-" + std::to_string(n) + "," + std::to_string(k) + (k > 1 ? ",0.05" : ",") +
              ",丸,0.2,0.23," + std::to_string(100 + n) + ",6,10,2,2,0.3,0.3\n";
    }
    return rows;
  };
  for (int n = 0; n < 300; ++n) input += stackOfThree(n);
  const BatchRun run = runOn(input, 4093, 3);
  ASSERT_TRUE(run.summary.ok());
  EXPECT_EQ(run.summary->rows, 900u);
  EXPECT_EQ(run.summary->failedRows, 0u);
  const auto rows = outputRows(run.output);
  for (const int n : {0, 85, 170, 299}) {
    SCOPED_TRACE(n);
    const auto alone = outputRows(runOn(kHeader + stackOfThree(n)).output);
    for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(rows.at(3 * n + k), alone.at(k));
  }
}

job::PriceList listOfTwoLots() {
  job::PriceList list = job::builtInPriceList();
  list.wirePrices = {{ConductorMaterial::Copper, 0, 0.3, 2400},
                     {ConductorMaterial::Copper, 0.3, std::nullopt, 1900},
                     {ConductorMaterial::Aluminium, 0, std::nullopt, 700},
                     {ConductorMaterial::CopperCladAluminium85, 0, std::nullopt, 1300}};
  list.defaults.parts = {{"ボビン", 35}};
  list.defaults.quantities = {100, 1000};
  list.savedAt = "2026-12-01T00:00:00Z";
  return list;
}

// A stack is priced once, as job::priceItemStack prices the item its rows
// make, on its first row; each row's own 線材単価 and 巻線速度 are its
// winding's. The rows above may repeat the first row's other terms, not
// change them. With --job the stack is one item of several windings.
TEST(BatchStacks, AStackIsPricedOnceAsItsItem) {
  struct Case {
    const char* name;
    const char* secondTerms;  // 線材単価,巻線速度,ロス率 of the second row
    const char* thirdTerms;
    const char* error;  // the start of the third row's message; null for none
  };
  const Case cases[] = {
      {"the list's", ",,", ",,", nullptr},
      {"own prices and speeds", "3000,600,", ",400,", nullptr},
      {"the first's loss repeated", ",,3", "2500,,3", nullptr},
      {"another loss", ",,3", ",,5", "4 行目 17 列目（ロス率）: 「ロス率」は品目に一つで"},
  };
  job::PriceList list = listOfTwoLots();
  list.defaults.lossPercent = 2;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string input = kHeader.substr(0, kHeader.size() - 1) +
                              ",品名,線材単価,巻線速度,ロス率\n"
                              "T-1,1,,丸,0.2,0.23,400,6,10,2,2,0.3,0.3,電源トランス,,,3\n"
                              "T-1,2,0.05,,0.5,0.55,60,6.2,,,,,,二次," +
                              c.secondTerms + "\nT-1,3,0.025,,0.25,0.28,90,6.2,,,,,,三次," +
                              c.thirdTerms + "\n";
    BatchOptions options;
    options.threads = 2;
    options.prices = list;
    BatchJob made;
    options.row = [&made](std::uint64_t number, const RowResult& row) { made.add(number, row); };
    const BatchRun run = runWith(input, std::move(options));
    ASSERT_TRUE(run.summary.ok()) << run.summary.message();
    const auto rows = outputRows(run.output);
    ASSERT_EQ(rows.size(), 3u);
    if (c.error) {
      EXPECT_EQ(run.summary->failedRows, 3u);
      EXPECT_TRUE(rows[2].back().starts_with(c.error)) << rows[2].back();
      EXPECT_TRUE(rows[0].back().starts_with("巻線3: ")) << rows[0].back();
      EXPECT_EQ(made.items(), 0u);
      continue;
    }
    EXPECT_EQ(run.summary->failedRows, 0u) << rows[0].back() << rows[1].back() << rows[2].back();

    // The item its rows make, priced as the window prices it.
    ASSERT_EQ(made.computedRows(), 3u);
    ASSERT_EQ(made.items(), 1u);
    const Expected<job::Job> built = made.job(std::nullopt, std::nullopt);
    ASSERT_TRUE(built) << built.message();
    ASSERT_EQ(built->items.size(), 1u);
    const job::Item& item = built->items[0];
    EXPECT_EQ(item.partNumber, "T-1");
    EXPECT_EQ(item.name, "電源トランス");
    ASSERT_EQ(item.upperWindings.size(), 2u);
    EXPECT_EQ(item.upperWindings[0].under, (job::TypedInsulation{"0.05", "1"}));
    EXPECT_EQ(item.upperWindings[1].coil.text(InputBox::BareDiameter), "0.25");
    if (std::string_view(c.secondTerms) == "3000,600,") {
      EXPECT_EQ(item.upperWindings[0].terms, (job::WindingTerms{3000, 600}));
      EXPECT_EQ(item.upperWindings[1].terms, (job::WindingTerms{std::nullopt, 400}));
    }
    job::QuotationTerms first = job::termsFor(list, ConductorMaterial::Copper, 0.2).value();
    first.lossPercent = 3;
    EXPECT_EQ(item.terms, first);
    const Expected<WindingStack> stack = job::stackOf(item);
    ASSERT_TRUE(stack) << stack.message();
    const Expected<StackResult> computed = computeStack(*stack);
    ASSERT_TRUE(computed) << computed.message();
    const Expected<job::StackPrice> price = job::priceItemStack(
        item, *stack, *computed, first, [&list]() -> Expected<job::PriceList> { return list; });
    ASSERT_TRUE(price) << price.message();

    const std::vector<std::string> header = outputHeader(run.output);
    const auto costs = [&](const std::vector<std::string>& row) {
      const auto at =
          std::find(header.begin(), header.end(), "原価 (100 個) [円]") - header.begin();
      return std::vector<std::string>(row.begin() + at, row.begin() + at + 6);
    };
    EXPECT_EQ(costs(rows[0]), quoteCells(price->quote));
    EXPECT_EQ(costs(rows[1]), std::vector<std::string>(6));
    EXPECT_EQ(costs(rows[2]), std::vector<std::string>(6));
  }
}

}  // namespace
}  // namespace kelvane::batch
