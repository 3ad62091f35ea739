// The CSV the command line must write for a job, made by the job layer alone:
// the job read, each item opened on a form model, their results tables as
// CSV on stdout, with the time given as its 作成日時, and each item's
// quotation when it has terms.
// Usage: kelvane_expected_csv JOB CREATED-AT
#include <cstdio>
#include <vector>

#include "form/form_job.h"
#include "job/file_io.h"
#include "job/quotation_rows.h"
#include "job/results_table.h"

int main(int argc, char** argv) try {
  if (argc != 3) return 2;
  const auto job = kelvane::job::readJobFile(argv[1]);
  if (!job) return 1;
  std::vector<kelvane::job::ResultsTable> tables;
  for (const kelvane::job::Item& item : job->items) {
    kelvane::form::Form1 form;
    kelvane::form::applyCoil(item.coil, form);
    const kelvane::job::ShownCoil coil = kelvane::form::shownCoil(form);
    tables.push_back(kelvane::job::resultsTable(coil, job->fields, item, argv[2]));
    kelvane::job::addQuotation(tables.back(), coil, item.terms);
  }
  const std::string csv = kelvane::job::toCsv(tables);
  return std::fwrite(csv.data(), 1, csv.size(), stdout) == csv.size() ? 0 : 1;
} catch (...) {
  return 1;
}
