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

// The sheet's cost of the form's coil under the terms (job::priceOfForm).
SheetCost sheetCostOf(const form::Form1& form, const job::QuotationTerms& terms);

// The name of the material as its option button gives it: 銅線.
QString materialName(ConductorMaterial material);

}  // namespace kelvane::ui
