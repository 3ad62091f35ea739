// The CSV the command line must write for a job, made by the job layer alone:
// the job read, opened on a form model, its results table as CSV on stdout,
// with the time given as its 作成日時, and its quotation when it has terms.
// Usage: kelvane_expected_csv JOB CREATED-AT
#include <cstdio>

#include "form/form_job.h"
#include "job/file_io.h"
#include "job/quotation_rows.h"
#include "job/results_table.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const auto job = kelvane::job::readJobFile(argv[1]);
  if (!job) return 1;
  kelvane::form::Form1 form;
  kelvane::form::applyJob(*job, form);
  kelvane::job::ResultsTable table =
      kelvane::job::resultsTable(kelvane::form::shownCoil(form), job->fields, argv[2]);
  kelvane::job::addQuotation(table, kelvane::form::shownCoil(form), job->terms);
  const std::string csv = kelvane::job::toCsv(table);
  return std::fwrite(csv.data(), 1, csv.size(), stdout) == csv.size() ? 0 : 1;
}
