#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <variant>

#include "core/materials.h"
#include "form/form1.h"
#include "job/coil_price.h"
#include "job/job.h"
#include "job/price_list.h"
#include "job/quotation.h"
#include "job/stack_price.h"

namespace kelvane::ui {

// The cost the quotation sheet gives: the job's terms with the material its
// wire price is for, and the price they give, or the sentence saying why
// there is none.
struct SheetCost {
  job::QuotationTerms terms;
  QString materialName;
  std::variant<job::CoilPrice, job::StackPrice, QString> price;
};

// The sheet's cost of the form's coil under the terms (job::priceOfCoil).
SheetCost sheetCostOf(const form::Form1& form, const job::QuotationTerms& terms);

// The sheet's cost of an item of several windings as last computed (none
// when not all its windings are current) under the item's terms
// (job::priceOfStack).
SheetCost sheetCostOfStack(const job::Item& item, const std::optional<StackResult>& result,
                           const job::QuotationTerms& terms,
                           const std::function<Expected<job::PriceList>()>& list);

// The material's name for a Qt text: 銅線.
QString materialText(ConductorMaterial material);

}  // namespace kelvane::ui
