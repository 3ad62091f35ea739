#include "ui/sheet_cost.h"

#include "form/boxes.h"
#include "form/control_table.h"

namespace kelvane::ui {

SheetCost sheetCostOf(const form::Form1& form, const job::QuotationTerms& terms) {
  SheetCost cost{terms, materialName(form.state().material), QString()};
  if (Expected<job::CoilPrice> price = job::priceOfForm(form, terms)) {
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
