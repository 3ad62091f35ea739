#pragma once

#include <QString>
#include <variant>

#include "core/materials.h"
#include "form/form1.h"
#include "job/coil_price.h"
#include "job/quotation.h"

namespace kelvane::ui {

// The cost the quotation sheet gives: the job's terms with the material its
// wire price is for, and the price they give, or the sentence saying why
// there is none.
struct SheetCost {
  job::QuotationTerms terms;
  QString materialName;
  std::variant<job::CoilPrice, QString> price;
};

// The sheet's cost of the form's coil under the terms (job::priceOfCoil).
SheetCost sheetCostOf(const form::Form1& form, const job::QuotationTerms& terms);

// The material's name for a Qt text: 銅線.
QString materialText(ConductorMaterial material);

}  // namespace kelvane::ui
