#include "ui/coil_price.h"

#include "core/number_text.h"
#include "form/boxes.h"
#include "form/control_table.h"

namespace kelvane::ui {

Expected<CoilPrice> coilPriceOf(const form::Form1& form, const job::QuotationTerms& terms) {
  const form::FormState& state = form.state();
  if (!state.pressed) return Failure{"計算結果がないため、見積できません。"};
  const double wireMassKg = state.pressed->weights.totalWeightMid / 1000;  // g to kg
  const double turns = readLeadingNumber(state.text(form::box::Turns));
  Expected<job::Quote> quote = job::priceCoil(wireMassKg, turns, terms);
  if (!quote) return quote.failure();
  return CoilPrice{wireMassKg, turns, std::move(quote.value())};
}

SheetCost sheetCostOf(const form::Form1& form, const job::QuotationTerms& terms) {
  SheetCost cost{terms, materialName(static_cast<ConductorMaterial>(form.state().option3)),
                 QString()};
  if (!form.state().resultsCurrent) {
    cost.price = QStringLiteral("計算結果が入力と一致していないため、価格を出していません。");
  } else if (Expected<CoilPrice> price = coilPriceOf(form, terms)) {
    cost.price = std::move(price.value());
  } else {
    cost.price = QString::fromStdString(price.message());
  }
  return cost;
}

QString materialName(ConductorMaterial material) {
  return QString::fromStdString(form::findControl(form::idOf(material))->text);
}

}  // namespace kelvane::ui
