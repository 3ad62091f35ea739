#include "tools/batch/batch_costs.h"

#include "core/typed_number.h"
#include "job/coil_price.h"
#include "job/quotation_text.h"
#include "tools/batch/batch_results.h"

namespace kelvane::batch {
namespace {

// The lot sizes of a 数量 cell, apart by "/" or its full-width form; parts
// left empty are skipped, as empty 数量 boxes of the pane are.
Expected<std::vector<std::int64_t>> readQuantities(std::string_view cell) {
  const std::string name = termColumns()[kQuantitiesTerm];
  std::vector<std::int64_t> lots;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = cell.find('/', start);
    std::size_t next = end + 1;
    if (const std::size_t wide = cell.find("／", start); wide < end) {
      end = wide;
      next = wide + std::string_view("／").size();
    }
    const Expected<std::optional<std::int64_t>> lot =
        job::readQuantity(name, cell.substr(start, end - start));
    if (!lot) return lot.failure();
    if (*lot) lots.push_back(**lot);
    if (end == std::string_view::npos) break;
    start = next;
  }
  if (lots.empty()) return Failure{"「" + name + "」に、見積もる数量を入力してください。"};
  if (lots.size() > job::kMaxQuantities) {
    return Failure{"「" + name + "」は " + std::to_string(job::kMaxQuantities) + " つまでです（「" +
                   visibleText(cell) + "」）。"};
  }
  return lots;
}

std::string senText(std::int64_t sen) {
  const std::string cents = std::to_string(sen % 100);
  return std::to_string(sen / 100) + (cents.size() < 2 ? ".0" : ".") + cents;
}

}  // namespace

bool RowTerms::any() const {
  for (const std::optional<double>& figure : figures) {
    if (figure) return true;
  }
  return quantities.has_value();
}

Expected<void> readTermCell(int term, std::string_view cell, RowTerms& into) {
  if (readTypedNumber(cell).blank) return {};
  if (term == kQuantitiesTerm) {
    Expected<std::vector<std::int64_t>> lots = readQuantities(cell);
    if (!lots) return lots.failure();
    into.quantities = std::move(lots.value());
    return {};
  }
  const job::TermFigure figure = job::kTermFigures[static_cast<std::size_t>(term)];
  const Expected<double> value =
      job::readTermFigure(job::termName(figure), cell, job::termUnits(figure));
  if (!value) return value.failure();
  into.figures[static_cast<std::size_t>(term)] = *value;
  return {};
}

Expected<job::QuotationTerms> rowTerms(const job::PriceList& prices, const job::ShownCoil& coil,
                                       const RowTerms& own) {
  // The row is a coil without terms of its own in a job: all of them from
  // the list, the wire at the list's price for its material and diameter.
  const Expected<job::PricingTerms> listTerms =
      job::pricingTerms(std::nullopt, coil.typed.material, job::bareDiameterMm(coil.typed), prices);
  if (!listTerms) return listTerms.failure();
  job::QuotationTerms terms = listTerms->terms;
  for (std::size_t i = 0; i < own.figures.size(); ++i) {
    if (own.figures[i]) job::termValue(terms, job::kTermFigures[i]) = *own.figures[i];
  }
  if (own.quantities) terms.quantities = *own.quantities;
  return terms;
}

std::vector<std::string> costColumns(const job::PriceList& prices, bool byPosition) {
  std::vector<std::string> columns;
  if (byPosition) {
    for (std::size_t lot = 1; lot <= job::kMaxQuantities; ++lot) {
      const std::string n = " " + std::to_string(lot);
      columns.push_back("数量" + n + " [個]");
      for (const char* name : {"原価", "単価", "金額"}) columns.push_back(name + n + " [円]");
    }
    return columns;
  }
  for (const std::int64_t q : prices.defaults.quantities) {
    const std::string lot = " (" + std::to_string(q) + " 個) [円]";
    for (const char* name : {"原価", "単価", "金額"}) columns.push_back(name + lot);
  }
  return columns;
}

Expected<std::vector<std::string>> costCells(const job::ShownCoil& coil,
                                             const job::QuotationTerms& terms, bool byPosition) {
  const Expected<job::CoilPrice> price = job::priceOfCoil(coil, terms);
  if (!price) return price.failure();
  return quoteCells(price->quote, byPosition);
}

std::vector<std::string> quoteCells(const job::Quote& quote, bool byPosition) {
  std::vector<std::string> cells;
  for (const job::LotPrice& lot : quote.lots) {
    if (byPosition) cells.push_back(std::to_string(lot.quantity));
    cells.push_back(numberCell(lot.costYen, 4));
    cells.push_back(senText(lot.unitPriceSen));
    cells.push_back(std::to_string(lot.amountYen));
  }
  if (byPosition) cells.resize(4 * job::kMaxQuantities);
  return cells;
}

}  // namespace kelvane::batch
