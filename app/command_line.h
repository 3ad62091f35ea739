#pragma once

#include <QString>
#include <variant>

namespace kelvane::app {

// Exit statuses of the program.
inline constexpr int kSucceeded = 0;
inline constexpr int kFailed = 1;    // a job or an output that could not be handled
inline constexpr int kBadUsage = 2;  // options or arguments that make no sense

// What the command line asks for.
struct Request {
  QString job;         // the job to open; empty for a new one
  QString reportPath;  // --report: the quotation sheet as PDF
  QString csvPath;     // --export-csv: the results table as CSV
  // Outputs are written without a window.
  bool headless() const { return !reportPath.isEmpty() || !csvPath.isEmpty(); }
};

// The request, or the exit status once the command line has been answered
// without a display: --help, --version, or bad usage told in one line on
// standard error.
std::variant<Request, int> readCommandLine(int argc, char** argv);

// Opens the job on a form of its own, computes it, and writes what the
// request asks for. Needs a running QApplication (the sheet's fonts). A
// failure is one Japanese line on standard error naming the file, and
// kFailed; a job whose press is refused writes nothing.
int writeOutputs(const Request& request);

}  // namespace kelvane::app
