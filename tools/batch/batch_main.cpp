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
#include "tools/batch/batch_job.h"
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
    std::string line = "\rkelvane-batch: " + grouped(rows) + " 行";
    if (inputBytes_ > 0) line += " (" + std::to_string(bytesRead * 100 / inputBytes_) + " %)";
    std::cerr << line << std::flush;
    drawn_ = true;
  }
  void finish(std::uint64_t rows) {
    if (drawn_) std::cerr << "\rkelvane-batch: " << grouped(rows) << " 行        \n";
  }

 private:
  std::uint64_t inputBytes_;
  std::chrono::steady_clock::time_point shown_{};
  bool drawn_ = false;
};

int run(int argc, char** argv) {
  CLI::App app{
      "コイルを 1 行に 1 つ書いた CSV を、Kelvane のウィンドウの「計算」と同じに計算し、"
      "結果の CSV を書き出します。"};
  app.footer(
      "終了ステータス: すべての行を計算できたとき 0、計算できない行や読めない行があったとき 1\n"
      "（その行のメッセージはエラー列にあります）、一括計算を始められなかったとき、\n"
      "--job の見積ファイルを書けなかったとき 2。");
  // CLI11's headings in Japanese, as the rest of the help.
  app.get_formatter()->label("Usage", "使い方");
  app.get_formatter()->label("OPTIONS", "オプション");
  app.get_formatter()->label("Positionals", "引数");
  app.set_help_flag("-h,--help", "この使い方を表示します");
  std::string input = "-";
  std::string output = "-";
  bool header = false;
  bool boxTexts = false;
  unsigned threads = 0;
  std::string prices;
  std::string jobFile;
  std::string customer;
  std::string quotationNumber;
  app.add_option("input", input, "コイルの CSV。- か省略で標準入力");
  app.add_option("-o,--output", output,
                 "結果の CSV。- か省略で標準出力（--job のときは -o を指定したときだけ書きます）");
  app.add_flag("--header", header, "入力ファイルの見出し行を表示して終わります");
  app.add_flag("--box-texts", boxTexts,
               "結果をウィンドウの欄の表示のとおりに書きます（欄の文字と単位の見出し）");
  app.add_option("--prices", prices,
                 "単価表（ウィンドウの単価表が保存する JSON）: 数量ごとに原価・単価・金額を、"
                 "行の材質の価格で加えます");
  app.add_option(
      "--job", jobFile,
      "計算できた行を 1 行 1 品目（巻線の続く行は合わせて 1 品目）とする見積ファイル（.kelvane）"
      "を書きます（100 品目まで）");
  app.add_option("--customer", customer,
                 "--job の見積ファイルの顧客名（1 行目の顧客名の列より優先）");
  app.add_option("--quotation-number", quotationNumber,
                 "--job の見積ファイルの見積番号（1 行目の見積番号の列より優先）");
  app.add_option("-j,--jobs", threads,
                 "行を計算するスレッドの数（既定: コア 1 つに 1 つ。多くてコア 1 つに 4 つ）")
      ->check(CLI::Range(1u, 1024u));
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help
    return refuse("コマンドラインを読めません（--help で使い方を表示します）");
  }

  if (header) {
    std::string line;
    for (const auto* names : {&kelvane::batch::inputColumns(), &kelvane::batch::stackColumns()}) {
      for (const std::string& name : *names) line += (line.empty() ? "" : ",") + name;
    }
    std::cout << line << "\n" << std::flush;
    return std::cout ? kAllRows : refuse("見出し行を書き出せません。");
  }

  const bool makeJob = app.count("--job") > 0;
  if (makeJob && jobFile.empty()) return refuse("--job には見積ファイルの名前が要ります。");
  if (!makeJob && (app.count("--customer") > 0 || app.count("--quotation-number") > 0))
    return refuse("--customer と --quotation-number は --job と一緒に使います。");
  // With --job, the results CSV is written only where -o asks for it.
  const bool writeCsv = !makeJob || app.count("--output") > 0;

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
  if (writeCsv && output != "-" && outputIsInput) {
    return refuse("出力「" + kelvane::job::displayName(output) +
                  "」は入力と同じファイルです。別の名前を選んでください。");
  }
  if (makeJob) {
    const bool jobIsInput = input == "-" ? platform::isFileAt(platform::kStandardInput, jobFile)
                                         : kelvane::job::sameFile(input, jobFile);
    const bool jobIsOutput = writeCsv && output != "-" && kelvane::job::sameFile(output, jobFile);
    if (jobIsInput || jobIsOutput || (writeCsv && output == jobFile)) {
      return refuse("見積ファイル「" + kelvane::job::displayName(jobFile) + "」は" +
                    (jobIsInput ? "入力" : "結果の CSV") +
                    "と同じファイルです。別の名前を選んでください。");
    }
  }
  if (writeCsv && output != "-") {
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
    if (!writeCsv) return {};
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

  kelvane::batch::BatchJob job;
  if (makeJob) {
    options.row = [&job](std::uint64_t number, const kelvane::batch::RowResult& row) {
      job.add(number, row);
    };
  }

  const auto summary = kelvane::batch::runBatch(read, write, options);
  if (!summary) return refuse(summary.message());
  progress.finish(summary->rows);
  const std::string failedRows = grouped(summary->rows) + " 行のうち " +
                                 grouped(summary->failedRows) + " 行を計算できませんでした。";
  if (summary->failedRows > 0 && !writeCsv) {
    // No CSV to hold their messages: the first rows' are told here.
    tell(failedRows);
    for (const std::string& line : job.failures()) tell("  " + line);
    if (summary->failedRows > job.failures().size())
      tell("  ほか " + grouped(summary->failedRows - job.failures().size()) + " 行");
  }
  // The job first: when it cannot be written, neither is the CSV.
  if (makeJob) {
    const auto given = [&app](const char* option, const std::string& value) {
      return app.count(option) > 0 ? std::optional<std::string>(value) : std::nullopt;
    };
    const auto request =
        job.job(given("--customer", customer), given("--quotation-number", quotationNumber));
    if (!request) return refuse(request.message());
    if (auto saved = kelvane::job::saveJobFile(jobFile, *request); !saved.ok())
      return refuse(saved.message());
  }
  if (writeCsv && output != "-") {
    if (auto committed = file.commit(); !committed.ok()) return refuse(committed.message());
  }
  if (summary->failedRows > 0 && writeCsv) tell(failedRows + "メッセージはエラー列にあります。");
  if (makeJob && summary->failedRows > 0) {
    const std::string items = job.items() == job.computedRows()
                                  ? " 行を品目として"
                                  : " 行を " + grouped(job.items()) + " 品目として";
    tell("見積ファイル「" + kelvane::job::displayName(jobFile) + "」には計算できた " +
         grouped(job.computedRows()) + items + "書きました。計算できなかった " +
         grouped(summary->failedRows) + " 行は入っていません。");
  }
  return summary->failedRows > 0 ? kRowsFailed : kAllRows;
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
    return refuse("不明なエラーで一括計算が止まりました。");
  }
}
