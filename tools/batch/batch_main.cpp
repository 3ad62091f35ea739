// kelvane-batch: computes a CSV of coils, one a row, as the window's 計算
// would, and writes the CSV of their results.
#include <CLI/CLI.hpp>
#include <chrono>
#include <iostream>

#include "core/number_text.h"
#include "job/file_io.h"
#include "job/output_file.h"
#include "job/platform_files.h"
#include "job/printable_text.h"
#include "job/system_reason.h"
#include "tools/batch/batch.h"
#include "tools/batch/batch_run.h"

namespace {

// Exit statuses: every row computed, some row failed, the batch could not run.
constexpr int kAllRows = 0;
constexpr int kRowsFailed = 1;
constexpr int kCannotRun = 2;

// One line on standard error; a name from a file cannot work the terminal.
void tell(const std::string& line) {
  std::cerr << "kelvane-batch: " << kelvane::job::withControlsEscaped(line) << "\n";
}

int refuse(const std::string& line) {
  tell(line);
  return kCannotRun;
}

std::string grouped(std::uint64_t n) { return kelvane::groupThousands(std::to_string(n)); }

// A line on the terminal that says how far the batch has come, rewritten at
// most a few times a second.
class ProgressLine {
 public:
  explicit ProgressLine(std::uint64_t inputBytes) : inputBytes_(inputBytes) {}

  void update(std::uint64_t rows, std::uint64_t bytesRead) {
    const auto now = std::chrono::steady_clock::now();
    if (now - shown_ < std::chrono::milliseconds(200)) return;
    shown_ = now;
    std::string line = "\rkelvane-batch: " + grouped(rows) + " rows";
    if (inputBytes_ > 0) line += " (" + std::to_string(bytesRead * 100 / inputBytes_) + " %)";
    std::cerr << line << std::flush;
    drawn_ = true;
  }
  void finish(std::uint64_t rows) {
    if (drawn_) std::cerr << "\rkelvane-batch: " << grouped(rows) << " rows        \n";
  }

 private:
  std::uint64_t inputBytes_;
  std::chrono::steady_clock::time_point shown_{};
  bool drawn_ = false;
};

int run(int argc, char** argv) {
  CLI::App app{
      "Computes a CSV of coils, one a row, as the Kelvane window's 計算 would, and writes the "
      "CSV of their results."};
  app.footer(
      "Exit status: 0 when every row was computed, 1 when some row was refused or unreadable\n"
      "(its message is in the エラー column), 2 when the batch could not run.");
  std::string input = "-";
  std::string output = "-";
  bool header = false;
  bool boxTexts = false;
  unsigned threads = 0;
  std::string prices;
  app.add_option("input", input, "CSV of coils; - or nothing for standard input");
  app.add_option("-o,--output", output, "CSV of results; - or nothing for standard output");
  app.add_flag("--header", header, "print the header line of an input file, then exit");
  app.add_flag("--box-texts", boxTexts,
               "give the results as the window's boxes show them: their texts and unit captions");
  app.add_option("--prices", prices,
                 "price list (JSON, as the window's 単価表 saves it): adds 原価, 単価 and 金額 "
                 "for each of its quantities, priced for the row's material");
  app.add_option("-j,--jobs", threads,
                 "threads computing rows (default: one a core; at most four a core)")
      ->check(CLI::Range(1u, 1024u));
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help
    return refuse(std::string(e.what()) + " (see --help)");
  }

  if (header) {
    std::string line;
    for (const std::string& name : kelvane::batch::inputColumns()) {
      line += (line.empty() ? "" : ",") + name;
    }
    std::cout << line << "\n" << std::flush;
    return std::cout ? kAllRows : refuse("the header could not be written");
  }

  std::optional<kelvane::job::PriceList> priceList;
  if (!prices.empty()) {
    auto read = kelvane::job::readPriceListFile(prices);
    if (!read) return refuse(read.message());
    priceList = std::move(read.value());
  }

  namespace platform = kelvane::job::platform;
  // The input's read failures in the words the window uses for a file.
  const auto unreadable = [&input](int error) {
    const std::string reason = "読み込めません（" + kelvane::job::systemReason(error) + "）。";
    if (input == "-") return "標準入力を" + reason;
    return kelvane::job::openFailureMessage(input, reason);
  };
  platform::OpenFile inputFile;
  platform::Descriptor in = platform::kStandardInput;
  if (input != "-") {
    const int error =
        platform::open(input, platform::Access::Read, platform::Peer::Await, inputFile.get());
    if (error != 0) return refuse(unreadable(error));
    in = inputFile.get();
  }
  platform::FileStatus inputStatus;
  const std::uint64_t inputBytes = platform::status(in, inputStatus) == 0 ? inputStatus.bytes : 0;

  kelvane::job::OutputFile file;
  // Standard input redirected from the output file is that file too.
  const bool outputIsInput = input == "-" ? platform::isFileAt(platform::kStandardInput, output)
                                          : kelvane::job::sameFile(input, output);
  if (output != "-" && outputIsInput) {
    return refuse("出力「" + kelvane::job::displayName(output) +
                  "」は入力と同じファイルです。別の名前を選んでください。");
  }
  if (output != "-") {
    if (auto opened = file.open(output, kelvane::job::OutputFile::Reader::Await); !opened.ok())
      return refuse(opened.message());
  }

  const kelvane::batch::ReadBytes read = [&](char* buffer,
                                             std::size_t size) -> kelvane::Expected<std::size_t> {
    std::size_t got = 0;
    if (const int error = platform::read(in, buffer, size, got)) {
      return kelvane::Failure{unreadable(error)};
    }
    return got;
  };
  const kelvane::batch::WriteBytes write = [&](std::string_view bytes) -> kelvane::Expected<void> {
    if (output != "-") return file.write(bytes);
    if (const int error = platform::writeAll(platform::kStandardOutput, bytes)) {
      return kelvane::Failure{"標準出力に書き込めません（" + kelvane::job::systemReason(error) +
                              "）。"};
    }
    return {};
  };

  kelvane::batch::BatchOptions options;
  options.threads = threads;
  options.prices = std::move(priceList);
  options.results =
      boxTexts ? kelvane::batch::ResultStyle::BoxTexts : kelvane::batch::ResultStyle::Readable;
  options.notice = tell;
  ProgressLine progress(inputBytes);
  if (platform::isTerminal(platform::kStandardError)) {
    options.progress = [&](std::uint64_t rows, std::uint64_t bytesRead) {
      progress.update(rows, bytesRead);
    };
  }

  const auto summary = kelvane::batch::runBatch(read, write, options);
  if (!summary) return refuse(summary.message());
  if (output != "-") {
    if (auto committed = file.commit(); !committed.ok()) return refuse(committed.message());
  }
  progress.finish(summary->rows);
  if (summary->failedRows > 0) {
    std::cerr << "kelvane-batch: " << grouped(summary->failedRows) << " of "
              << grouped(summary->rows)
              << " rows failed; their messages are in the エラー column\n";
    return kRowsFailed;
  }
  return kAllRows;
}

}  // namespace

int main(int argc, char** argv) {
  kelvane::job::platform::ignoreBrokenPipes();
  // Whatever the libraries throw (memory running out, say) ends the batch
  // with its reason in one line, and the output file as it was.
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    return refuse(kelvane::job::stoppedBecause(e));
  } catch (...) {
    return refuse("an unknown error stopped the batch");
  }
}
