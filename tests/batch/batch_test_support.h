#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/batch/batch_csv.h"
#include "tools/batch/batch_run.h"

namespace kelvane::batch {

// What a batch wrote for an input handed over `piece` bytes at a time.
struct BatchRun {
  Expected<BatchSummary> summary = Failure{"not run"};
  std::string output;
  std::vector<std::string> notices;
};
BatchRun runOn(std::string_view input, std::size_t piece = 1 << 16, unsigned threads = 3,
               ResultStyle style = ResultStyle::Readable);
// The same with options of its own, the input handed over whole.
BatchRun runWith(std::string_view input, BatchOptions options);
// The same with the window's box texts as results.
inline BatchRun runForBoxTexts(std::string_view input, std::size_t piece = 1 << 16) {
  return runOn(input, piece, 3, ResultStyle::BoxTexts);
}

// The records of a whole CSV text.
std::vector<CsvRecord> readAll(std::string_view text, std::size_t piece = 1 << 16);

// The output's rows below its byte order mark and header, as field lists.
std::vector<std::vector<std::string>> outputRows(const std::string& output);
// The output's header, as a field list.
std::vector<std::string> outputHeader(const std::string& output);

}  // namespace kelvane::batch
