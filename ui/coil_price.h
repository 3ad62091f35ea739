#pragma once

#include <QString>
#include <variant>

#include "core/expected.h"
#include "core/materials.h"
#include "form/form1.h"
#include "job/quotation.h"

namespace kelvane::ui {

// A coil as priced: what its price is worked out from (the wire's mass, the
// larger, predicted column's total weight, and the turns) and the quote.
struct CoilPrice {
  double wireMassKg = 0;
  double turns = 0;
  job::Quote quote;
};

// The form's coil priced under the terms, from the results of its last
// press; the failure is the sentence saying what cannot be priced.
Expected<CoilPrice> coilPriceOf(const form::Form1& form, const job::QuotationTerms& terms);

// The cost the quotation sheet gives: the job's terms with the material its
// wire price is for, and the price they give, or the sentence saying why
// there is none.
struct SheetCost {
  job::QuotationTerms terms;
  QString materialName;
  std::variant<CoilPrice, QString> price;
};

// The sheet's cost of the form's coil under the terms: priced only when the
// results belong to the inputs as they stand.
SheetCost sheetCostOf(const form::Form1& form, const job::QuotationTerms& terms);

// The name of the material as its option button gives it: 銅線.
QString materialName(ConductorMaterial material);

}  // namespace kelvane::ui
