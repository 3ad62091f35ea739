#pragma once

#include <optional>
#include <string_view>

#include "form/form1.h"
#include "form/form_job.h"
#include "job/coil_price.h"
#include "job/quotation_rows.h"
#include "job/results_table.h"

namespace kelvane::job {

// The tests open jobs on the window's form, and take its tables and price
// from the coil it shows.
using form::applyJob;
using form::jobFromForm;
using form::jobToSave;
inline ResultsTable resultsTable(const form::Form1& f, double workingCelsius) {
  return resultsTable(form::shownCoil(f), workingCelsius);
}
inline ResultsTable resultsTable(const form::Form1& f, const JobFields& fields, const Item& item,
                                 std::string_view createdAt) {
  return resultsTable(form::shownCoil(f), fields, item, createdAt);
}
inline Expected<CoilPrice> priceOfForm(const form::Form1& f, const QuotationTerms& terms) {
  return priceOfCoil(form::shownCoil(f), terms);
}
inline void addQuotation(ResultsTable& table, const form::Form1& f,
                         const std::optional<QuotationTerms>& terms) {
  addQuotation(table, form::shownCoil(f), terms);
}

}  // namespace kelvane::job
