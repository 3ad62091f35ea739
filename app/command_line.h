#pragma once

#include <QString>
#include <filesystem>
#include <variant>

namespace kelvane::app {

// Exit statuses of the program.
inline constexpr int kSucceeded = 0;
inline constexpr int kFailed = 1;    // a job or an output that could not be handled
inline constexpr int kBadUsage = 2;  // options or arguments that make no sense

// What the command line asks for. Files are kept as the system's bytes, as
// given, so a name that is no valid UTF-8 still names its file.
struct Request {
  QString job;                          // the job to open in the window; empty for a new one
  std::filesystem::path jobFile;        // the same job, as given
  std::filesystem::path reportFile;     // --report: the quotation sheet as PDF
  std::filesystem::path csvFile;        // --export-csv: the results table as CSV
  std::filesystem::path quotationFile;  // --quotation: the customer's quotation as PDF
  bool draft = false;                   // --draft: the quotation as a sample, recorded nowhere
  QString registerLocation;             // --register: the register the issue goes into
  // Outputs are written without a window.
  bool headless() const {
    return !reportFile.empty() || !csvFile.empty() || !quotationFile.empty();
  }
};

// The request, or the exit status once the command line has been answered
// without a display: --help, --version, or bad usage told in one line on
// standard error.
std::variant<Request, int> readCommandLine(int argc, char** argv);

// Opens the job on a form of its own, computes it, and writes what the
// request asks for. Needs a running QApplication (the sheet's fonts). The
// outputs are made in memory and written together: all of them or none. An
// output that is the job itself, or two outputs one file, is refused as bad
// usage. A failure is one Japanese line on standard error naming the file,
// and kFailed; a job whose press is refused writes nothing, nor does one
// that cannot be priced when its quotation is asked for.
//
// The customer's quotation is priced with the job's 見積条件, or the user's
// price list for a job that has none (a list that cannot be read is then a
// failure: no quotation goes out on prices nobody chose). It is issued into
// the quotation register as the window issues it (ui::issueQuotation): the
// next 版 of its number, or the register's next number, recorded with its
// PDF, and the file written in the same transaction; a job unchanged since
// its latest 版 prints that 版 again. The job file records the new 版 in its
// history, written in the same transaction. With --draft it is a 見本,
// recorded nowhere, and the job file is not changed.
int writeOutputs(const Request& request);

}  // namespace kelvane::app
