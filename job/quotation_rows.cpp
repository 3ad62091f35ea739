#include "job/quotation_rows.h"

#include <string_view>

#include "core/number_text.h"
#include "job/quotation_text.h"

namespace kelvane::job {
namespace {

TableRow row(std::string item, std::string value, std::string unit) {
  return {std::move(item), std::move(value), "", std::move(unit)};
}

}  // namespace

std::string wholeText(std::int64_t n) { return groupThousands(std::to_string(n)); }

std::string senText(std::int64_t sen) {
  const std::string cents = std::to_string(sen % 100);
  return wholeText(sen / 100) + "." + (cents.size() < 2 ? "0" : "") + cents;
}

std::string breakdownText(double yen) { return formatFixed4(yen); }

namespace {

// The terms in the order the window lists them, the parts after 賃率.
std::vector<TableRow> termRows(const QuotationTerms& terms) {
  std::vector<TableRow> rows = {row("見積条件", "", "")};
  for (const TermFigure figure : kTermFigures) {
    if (figure == TermFigure::Overhead) {
      if (terms.parts.empty()) rows.push_back(row("部材", "なし", ""));
      for (const PartPrice& part : terms.parts)
        rows.push_back(row("部材「" + part.name + "」", plainDecimal(part.yenPerPiece), "円/個"));
    }
    rows.push_back(row(std::string(termName(figure)), termText(termValue(terms, figure)),
                       std::string(termUnit(figure))));
  }
  return rows;
}

// For each lot its breakdown, then the totals of the first.
void addQuoteRows(std::vector<TableRow>& rows, const Quote& quote) {
  for (const LotPrice& lot : quote.lots) {
    rows.push_back(row("数量", wholeText(lot.quantity), "個"));
    rows.push_back(row("材料費", breakdownText(lot.materialYen), "円"));
    rows.push_back(row("加工費", breakdownText(lot.processingYen), "円"));
    rows.push_back(row("部材費", breakdownText(lot.partsYen), "円"));
    rows.push_back(row("原価", breakdownText(lot.costYen), "円"));
    rows.push_back(row("単価", senText(lot.unitPriceSen), "円"));
    rows.push_back(row("金額", wholeText(lot.amountYen), "円"));
  }
  rows.push_back(row("小計 (数量 " + wholeText(quote.lots.front().quantity) + ")",
                     wholeText(quote.subtotalYen), "円"));
  rows.push_back(row(std::string(kTaxCaption), wholeText(quote.taxYen), "円"));
  rows.push_back(row("合計", wholeText(quote.totalYen), "円"));
}

}  // namespace

std::vector<TableRow> quotationRows(const QuotationTerms& terms, const Expected<CoilPrice>& price) {
  std::vector<TableRow> rows = termRows(terms);
  if (!price) {
    rows.push_back(row("見積", price.message(), ""));
    return rows;
  }
  rows.push_back(row("線材重量 (予測)", plainDecimal(price->wireMassKg), "kg"));
  rows.push_back(row("巻き数", plainDecimal(price->turns), ""));
  addQuoteRows(rows, price->quote);
  return rows;
}

std::vector<TableRow> stackQuotationRows(const QuotationTerms& terms,
                                         const Expected<StackPrice>& price) {
  std::vector<TableRow> rows = termRows(terms);
  if (!price) {
    rows.push_back(row("見積", price.message(), ""));
    return rows;
  }
  for (std::size_t k = 0; k < price->costs.size(); ++k) {
    const WindingCost& cost = price->costs[k];
    const std::string winding = windingLabel(k, cost.name) + " ";
    rows.push_back(row(winding + "線材重量 (予測)", plainDecimal(cost.wireMassKg), "kg"));
    rows.push_back(row(winding + "巻き数", plainDecimal(cost.turns), ""));
    rows.push_back(row(winding + "線材単価", termText(cost.wireYenPerKg), "円/kg"));
    rows.push_back(row(winding + "巻線速度", termText(cost.windingRpm), "min⁻¹"));
  }
  rows.push_back(row("層間テープ", breakdownText(price->tapeYen), "円/個"));
  addQuoteRows(rows, price->quote);
  return rows;
}

void addQuotation(ResultsTable& table, const ShownCoil& coil,
                  const std::optional<QuotationTerms>& terms) {
  if (terms) table.quotation = quotationRows(*terms, priceOfCoil(coil, *terms));
}

}  // namespace kelvane::job
