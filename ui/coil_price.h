#pragma once

#include <QString>
#include <variant>

#include "job/quotation.h"

namespace kelvane::ui {

// A coil as priced: what its price is worked out from (the wire's mass, the
// larger, predicted column's total weight, and the turns) and the quote.
struct CoilPrice {
  double wireMassKg = 0;
  double turns = 0;
  job::Quote quote;
};

// The cost the quotation sheet gives: the job's terms with the material its
// wire price is for, and the price they give, or the sentence saying why
// there is none.
struct SheetCost {
  job::QuotationTerms terms;
  QString materialName;
  std::variant<CoilPrice, QString> price;
};

}  // namespace kelvane::ui
