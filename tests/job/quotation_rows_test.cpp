// The coil of the window priced, and the quotation's rows in the clipboard
// and the CSV.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/number_text.h"
#include "core/weight_resistance.h"
#include "form/form_job.h"
#include "form_fixtures.h"
#include "job/quotation_rows.h"
#include "job_fixtures.h"

namespace kelvane::job {
namespace {

QuotationTerms smallCoilTerms() { return test::smallCoilTerms({100, 1000}); }

form::Form1 pressed(const Job& job) {
  form::Form1 form;
  applyJob(job, form);
  return form;
}

// The wire priced is the predicted column's, conductor and insulation, in
// kg: what the window's 重量 Mid box shows, in its unit.
TEST(PriceOfForm, PricesThePredictedWeightInKilograms) {
  Job job = test::designJob();
  only(job).input(form::InputBox::Turns) = "400";
  const form::Form1 form = pressed(job);
  const Expected<CoilPrice> price = priceOfForm(form, smallCoilTerms());
  ASSERT_TRUE(price) << price.message();
  const WeightResistance& w = form.state().pressed->weights;
  EXPECT_GT(w.predictedWeight, w.alignedWeight);
  EXPECT_GT(w.predictedInsulationWeight, 0);
  EXPECT_DOUBLE_EQ(price->wireMassKg,
                   (w.predictedConductorWeight + w.predictedInsulationWeight) / 1000);
  const double perGram = factorOf(form.state().units->mass);  // the shown unit in a gram
  const double shownGrams =
      readLeadingNumber(form.state().text(form::ResultBox::PredictedWeight)) / perGram;
  EXPECT_NEAR(price->wireMassKg * 1000, shownGrams, 0.0005 / perGram);
  EXPECT_EQ(price->turns, 400);
  EXPECT_EQ(price->quote, *priceCoil(price->wireMassKg, 400, smallCoilTerms()));
}

TEST(PriceOfForm, NeedsResultsOfTheInputsAsTheyStand) {
  const std::string needsPress = "見積には計算の済んだ結果が要ります";
  form::Form1 fresh;
  EXPECT_NE(priceOfForm(fresh, smallCoilTerms()).message().find(needsPress), std::string::npos);

  form::Form1 changed = pressed(test::designJob());
  ASSERT_TRUE(priceOfForm(changed, smallCoilTerms()));
  changed.typeText(form::idOf(form::InputBox::Turns), "20");
  changed.moveFocus(form::idOf(form::InputBox::BareDiameter));
  EXPECT_NE(priceOfForm(changed, smallCoilTerms()).message().find(needsPress), std::string::npos);

  QuotationTerms noLot = smallCoilTerms();
  noLot.quantities.clear();
  EXPECT_EQ(priceOfForm(pressed(test::designJob()), noLot).message(),
            "「数量」がありません。1 つ以上入れてください。");
}

// Terms holding another material's wire price never price the coil: a
// caller that did not take the coil's own price is told, not obeyed.
TEST(PriceOfForm, RefusesAnotherMaterialsWirePrice) {
  Job job = test::designJob();
  only(job).coil.material = ConductorMaterial::Aluminium;
  EXPECT_EQ(priceOfForm(pressed(job), smallCoilTerms()).message(),
            "見積条件の線材単価は銅線の価格です。アルミニュウムの線材単価で見積もってください。");
  QuotationTerms aluminium = smallCoilTerms();
  aluminium.wireMaterial = ConductorMaterial::Aluminium;
  EXPECT_TRUE(priceOfForm(pressed(job), aluminium));
}

TEST(QuotationText, KeepsTwoDecimalsOfSen) {
  const std::pair<std::int64_t, const char*> sen[] = {
      {0, "0.00"}, {5, "0.05"}, {100, "1.00"}, {99'999'999'999, "999,999,999.99"}};
  for (const auto& [n, text] : sen) EXPECT_EQ(senText(n), text);
}

// Every figure of the price in the rows, as a reader redoes it.
TEST(QuotationRows, TermsThenEachLotThenTotals) {
  CoilPrice price{0.0125, 500, *priceCoil(0.0125, 500, smallCoilTerms())};
  const std::vector<TableRow> rows = quotationRows(smallCoilTerms(), price);
  const std::vector<TableRow> expected = {{"見積条件", "", "", ""},
                                          {"線材単価", "1500", "", "円/kg"},
                                          {"ロス率", "5", "", "%"},
                                          {"巻線速度", "1200", "", "min⁻¹"},
                                          {"付帯作業時間", "0.5", "", "min"},
                                          {"段取り時間", "30", "", "min"},
                                          {"賃率", "3000", "", "円/h"},
                                          {"部材「ボビン」", "35", "", "円/個"},
                                          {"部材「テープ」", "2.5", "", "円/個"},
                                          {"管理費率", "10", "", "%"},
                                          {"利益率", "15", "", "%"},
                                          {"線材重量 (予測)", "0.0125", "", "kg"},
                                          {"巻き数", "500", "", ""},
                                          {"数量", "100", "", "個"},
                                          {"材料費", "19.6875", "", "円"},
                                          {"加工費", "60.8333", "", "円"},
                                          {"部材費", "37.5000", "", "円"},
                                          {"原価", "118.0208", "", "円"},
                                          {"単価", "149.30", "", "円"},
                                          {"金額", "14,930", "", "円"},
                                          {"数量", "1,000", "", "個"},
                                          {"材料費", "19.6875", "", "円"},
                                          {"加工費", "47.3333", "", "円"},
                                          {"部材費", "37.5000", "", "円"},
                                          {"原価", "104.5208", "", "円"},
                                          {"単価", "132.22", "", "円"},
                                          {"金額", "132,220", "", "円"},
                                          {"小計 (数量 100)", "14,930", "", "円"},
                                          {"消費税（10 %）", "1,493", "", "円"},
                                          {"合計", "16,423", "", "円"}};
  EXPECT_EQ(rows, expected);
}

// A coil that cannot be priced still shows the terms, then why.
TEST(QuotationRows, UnpricedCoilGivesTheReason) {
  QuotationTerms terms = smallCoilTerms();
  terms.parts.clear();
  const std::vector<TableRow> rows = quotationRows(terms, Failure{"巻数が求まっていない"});
  ASSERT_GE(rows.size(), 3u);
  EXPECT_EQ(rows[7], (TableRow{"部材", "なし", "", ""}));
  EXPECT_EQ(rows.back(), (TableRow{"見積", "巻数が求まっていない", "", ""}));
}

// A piece of several windings: after the terms, each winding's figures its
// share is worked out from, the tape, then the lots as for one coil.
TEST(QuotationRows, AStackGivesEachWindingsFigures) {
  const QuotationTerms terms = test::smallCoilTerms({100});
  const std::vector<WindingCost> windings = {{"一次", 0.012, 400, 1800, 1200},
                                             {"", 0.5, 20, 1650.5, 300}};
  const Expected<StackPrice> price = priceStack(windings, terms, {2.5, 4});
  ASSERT_TRUE(price) << price.message();
  const std::vector<TableRow> rows = stackQuotationRows(terms, price);
  const auto at = [&](const std::string& item) {
    const auto it =
        std::find_if(rows.begin(), rows.end(), [&](const TableRow& r) { return r.item == item; });
    return it == rows.end() ? TableRow{} : *it;
  };
  EXPECT_EQ(at("巻線1「一次」 巻き数"), (TableRow{"巻線1「一次」 巻き数", "400", "", ""}));
  EXPECT_EQ(at("巻線2 線材単価"), (TableRow{"巻線2 線材単価", "1650.5", "", "円/kg"}));
  EXPECT_EQ(at("巻線2 巻線速度"), (TableRow{"巻線2 巻線速度", "300", "", "min⁻¹"}));
  EXPECT_EQ(at("層間テープ"), (TableRow{"層間テープ", "10.0000", "", "円/個"}));
  EXPECT_EQ(rows.back(), (TableRow{"合計", wholeText(price->quote.totalYen), "", "円"}));
  EXPECT_EQ(stackQuotationRows(terms, Failure{"単価表がありません。"}).back(),
            (TableRow{"見積", "単価表がありません。", "", ""}));
}

// The clipboard and the CSV give the quotation below the results, after an
// empty line; a job without terms adds nothing.
TEST(QuotationRows, FollowTheResultsInTheOutputs) {
  const form::Form1 form = pressed(test::designJob());
  ResultsTable table = resultsTable(form, 20);
  const std::string plain = toTabSeparated(table);
  addQuotation(table, form, std::nullopt);
  EXPECT_EQ(toTabSeparated(table), plain);
  addQuotation(table, form, smallCoilTerms());
  const std::string priced = toTabSeparated(table);
  ASSERT_TRUE(priced.starts_with(plain));
  EXPECT_TRUE(
      priced.substr(plain.size()).starts_with("\n見積条件\t\t\t\n線材単価\t1500\t\t円/kg\n"));
  EXPECT_TRUE(priced.ends_with("\n合計\t" + table.quotation.back().aligned + "\t\t円\n"));
  EXPECT_NE(toCsv(table).find("\r\n\r\n見積条件,,,\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kelvane::job
