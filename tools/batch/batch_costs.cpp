#include "tools/batch/batch_costs.h"

#include "job/coil_price.h"
#include "tools/batch/batch_results.h"

namespace kelvane::batch {

std::vector<std::string> costColumns(const job::PriceList& prices) {
  std::vector<std::string> columns;
  for (const std::int64_t q : prices.defaults.quantities) {
    const std::string lot = " (" + std::to_string(q) + " 個) [円]";
    for (const char* name : {"原価", "単価", "金額"}) columns.push_back(name + lot);
  }
  return columns;
}

Expected<std::vector<std::string>> costCells(const job::ShownCoil& coil,
                                             const job::PriceList& prices) {
  // A row is a coil without terms of its own: all of them from the list.
  const Expected<job::PricingTerms> terms =
      job::pricingTerms(std::nullopt, coil.typed.material, job::bareDiameterMm(coil.typed), prices);
  if (!terms) return terms.failure();
  const Expected<job::CoilPrice> price = job::priceOfCoil(coil, terms->terms);
  if (!price) return price.failure();
  std::vector<std::string> cells;
  for (const job::LotPrice& lot : price->quote.lots) {
    const std::string sen = std::to_string(lot.unitPriceSen % 100);
    cells.push_back(numberCell(lot.costYen, 4));
    cells.push_back(std::to_string(lot.unitPriceSen / 100) + (sen.size() < 2 ? ".0" : ".") + sen);
    cells.push_back(std::to_string(lot.amountYen));
  }
  return cells;
}

}  // namespace kelvane::batch
