#include "batch_test_support.h"

#include <algorithm>
#include <cstring>

namespace kelvane::batch {

namespace {

BatchRun run(std::string_view input, std::size_t piece, BatchOptions options) {
  BatchRun run;
  const ReadBytes read = [&](char* buffer, std::size_t size) -> Expected<std::size_t> {
    const std::size_t n = std::min({size, piece, input.size()});
    std::memcpy(buffer, input.data(), n);
    input.remove_prefix(n);
    return n;
  };
  const WriteBytes write = [&](std::string_view bytes) -> Expected<void> {
    run.output += bytes;
    return {};
  };
  options.notice = [&](const std::string& line) { run.notices.push_back(line); };
  run.summary = runBatch(read, write, options);
  return run;
}

}  // namespace

BatchRun runOn(std::string_view input, std::size_t piece, unsigned threads, ResultStyle style) {
  BatchOptions options;
  options.threads = threads;
  options.results = style;
  return run(input, piece, std::move(options));
}

BatchRun runWith(std::string_view input, BatchOptions options) {
  return run(input, 1 << 16, std::move(options));
}

std::vector<CsvRecord> readAll(std::string_view text, std::size_t piece) {
  CsvReader reader;
  std::vector<CsvRecord> records;
  for (std::size_t at = 0; at < text.size(); at += piece)
    reader.feed(text.substr(at, piece), records);
  reader.finish(records);
  return records;
}

namespace {

std::vector<std::vector<std::string>> allRows(const std::string& output) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  std::string_view text = output;
  if (text.starts_with(kBom)) text.remove_prefix(kBom.size());
  std::vector<std::vector<std::string>> rows;
  for (CsvRecord& r : readAll(text)) rows.push_back(std::move(r.fields));
  return rows;
}

}  // namespace

std::vector<std::vector<std::string>> outputRows(const std::string& output) {
  std::vector<std::vector<std::string>> rows = allRows(output);
  if (!rows.empty()) rows.erase(rows.begin());
  return rows;
}

std::vector<std::string> outputHeader(const std::string& output) {
  std::vector<std::vector<std::string>> rows = allRows(output);
  return rows.empty() ? std::vector<std::string>() : std::move(rows.front());
}

}  // namespace kelvane::batch
