#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/batch_csv.h"
#include "tools/batch_run.h"

namespace kelvane::batch {

// What a batch wrote for an input handed over `piece` bytes at a time.
struct BatchRun {
  Expected<BatchSummary> summary = Failure{"not run"};
  std::string output;
};
BatchRun runOn(std::string_view input, std::size_t piece = 1 << 16, unsigned threads = 3);

// The records of a whole CSV text.
std::vector<CsvRecord> readAll(std::string_view text, std::size_t piece = 1 << 16);

// The output's rows below its byte order mark and header, as field lists.
std::vector<std::vector<std::string>> outputRows(const std::string& output);

}  // namespace kelvane::batch
