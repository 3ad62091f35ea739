#include "ui/sheet_cost.h"

#include "form/boxes.h"
#include "form/control_table.h"
#include "form/form_job.h"
#include "job/item_stack.h"

namespace kelvane::ui {

SheetCost sheetCostOf(const form::Form1& form, const job::QuotationTerms& terms) {
  SheetCost cost{terms, materialText(form.state().material), QString()};
  if (Expected<job::CoilPrice> price = job::priceOfCoil(form::shownCoil(form), terms)) {
    cost.price = std::move(price.value());
  } else {
    cost.price = QString::fromStdString(price.message());
  }
  return cost;
}

SheetCost sheetCostOfStack(const job::Item& item, const std::optional<StackResult>& result,
                           const job::QuotationTerms& terms,
                           const std::function<Expected<job::PriceList>()>& list) {
  SheetCost cost{terms, materialText(item.coil.material), QString()};
  if (Expected<job::StackPrice> price = job::priceOfStack(item, result, terms, list)) {
    cost.price = std::move(price.value());
  } else {
    cost.price = QString::fromStdString(price.message());
  }
  return cost;
}

QString materialText(ConductorMaterial material) {
  return QString::fromUtf8(kelvane::materialName(material));
}

}  // namespace kelvane::ui
