// kelvane-register: the quotation register (見積台帳) from the command line:
// its issues listed, searched and shown, an issue's PDF saved again, and the
// ledger written to and read from the CSV a spreadsheet keeps.
#include <CLI/CLI.hpp>
#include <iostream>

#include "job/file_io.h"
#include "job/money_text.h"
#include "job/output_file.h"
#include "job/platform_files.h"
#include "job/printable_text.h"
#include "job/quotation_rows.h"
#include "job/system_reason.h"
#include "ledger/register.h"

namespace {

namespace ledger = kelvane::ledger;
namespace platform = kelvane::job::platform;

// Exit statuses: done, the work failed (the register, a file, an issue not
// there), the command line could not be read.
constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kBadUsage = 2;

// One line on standard error; a name from the register cannot work the terminal.
int fail(const std::string& line, int status = kFailed) {
  std::cerr << "kelvane-register: " << kelvane::job::withControlsEscaped(line) << "\n";
  return status;
}

std::string shown(std::string_view text) { return kelvane::job::withControlsEscaped(text); }

// Writes to a file as every output of the program is written (whole or not
// at all), or to standard output for "-".
kelvane::Expected<void> writeOut(const std::string& file, std::string_view bytes) {
  if (file != "-") return kelvane::job::writeFileAtomically(file, bytes);
  if (const int error = platform::writeAll(platform::kStandardOutput, bytes)) {
    return kelvane::Failure{"標準出力に書き込めません（" + kelvane::job::systemReason(error) +
                            "）。"};
  }
  return {};
}

kelvane::Expected<std::string> readIn(const std::string& file) {
  platform::OpenFile opened;
  platform::Descriptor in = platform::kStandardInput;
  const auto unreadable = [&file](int error) {
    const std::string reason = "読み込めません（" + kelvane::job::systemReason(error) + "）。";
    return kelvane::Failure{file == "-" ? "標準入力を" + reason
                                        : kelvane::job::openFailureMessage(file, reason)};
  };
  if (file != "-") {
    if (const int error =
            platform::open(file, platform::Access::Read, platform::Peer::Await, opened.get())) {
      return unreadable(error);
    }
    in = opened.get();
  }
  std::string text;
  char buffer[65536];
  for (;;) {
    std::size_t got = 0;
    if (const int error = platform::read(in, buffer, sizeof buffer, got)) return unreadable(error);
    if (got == 0) return text;
    text.append(buffer, got);
  }
}

bool isDay(const std::string& text) {
  return text.size() == 10 && text[4] == '-' && text[7] == '-' &&
         std::all_of(text.begin(), text.end(),
                     [](char c) { return (c >= '0' && c <= '9') || c == '-'; });
}

void printSummaries(const std::vector<ledger::IssueSummary>& found) {
  std::string out = "見積番号\t版\t発行日\t有効期限\t顧客名\t件名\t担当者\t合計\n";
  for (const ledger::IssueSummary& s : found) {
    out += shown(s.quotationNumber) + "\t" + std::to_string(s.revision) + "\t" + shown(s.issuedOn) +
           "\t" + shown(s.validUntil) + "\t" + shown(s.customer) + "\t" + shown(s.subject) + "\t" +
           shown(s.personInCharge) + "\t" + kelvane::job::yenText(s.totalYen) + "\n";
  }
  std::cout << out << std::flush;
}

std::string issueText(const ledger::StoredIssue& issue) {
  const kelvane::job::IssueRecord& r = issue.record;
  std::string out;
  const auto field = [&out](const char* name, const std::string& value) {
    out += std::string(name) + ": " + shown(value) + "\n";
  };
  field("見積番号", r.quotationNumber);
  field("版", "第" + std::to_string(r.revision) + "版");
  field("発行日", r.issuedOn);
  field("有効期限", r.validUntil);
  field("顧客名", r.customer);
  field("件名", r.subject);
  field("担当者", r.personInCharge);
  field("記録日時", issue.recordedAt);
  out += "\n行\t品番\t品名\t数量\t単価\t金額\n";
  for (std::size_t i = 0; i < r.lines.size(); ++i) {
    const kelvane::job::IssuedLine& line = r.lines[i];
    out += std::to_string(i + 1) + "\t" + shown(line.partNumber) + "\t" + shown(line.name) + "\t" +
           kelvane::job::wholeText(line.quantity) + "\t" +
           kelvane::job::unitPriceText(line.unitPriceSen) + "\t" +
           kelvane::job::yenText(line.amountYen) + "\n";
  }
  out += "\n";
  field("小計", kelvane::job::yenText(r.subtotalYen));
  field("消費税", kelvane::job::yenText(r.taxYen));
  field("合計", kelvane::job::yenText(r.totalYen));
  return out;
}

int run(int argc, char** argv) {
  CLI::App app{
      "見積台帳（発行した見積書の記録）を一覧・検索・表示し、PDF を保存し直し、"
      "台帳を CSV に書き出し、CSV から取り込みます。"};
  app.footer(
      "台帳の場所: --register、なければ環境変数 KELVANE_REGISTER、なければ\n"
      "~/.local/share/kelvane/register.sqlite3。PostgreSQL の台帳は postgresql://… の URL で。\n"
      "終了ステータス: できたとき 0、台帳やファイルを読み書きできなかったとき・版がないとき 1、\n"
      "コマンドラインを読めないとき 2。");
  app.get_formatter()->label("Usage", "使い方");
  app.get_formatter()->label("OPTIONS", "オプション");
  app.get_formatter()->label("Positionals", "引数");
  app.get_formatter()->label("SUBCOMMAND", "コマンド");
  app.get_formatter()->label("SUBCOMMANDS", "コマンド");
  app.get_formatter()->label("Subcommands", "コマンド");
  app.option_defaults()->group("オプション");
  app.set_help_flag("-h,--help", "この使い方を表示します");
  app.require_subcommand(1);
  app.fallthrough();
  std::string location;
  app.add_option("--register", location, "台帳の場所（SQLite のファイルか PostgreSQL の URL）");

  std::size_t limit = 1000;
  const auto addLimit = [&limit](CLI::App* command) {
    command->add_option("--limit", limit, "表示する最大の件数（既定 1000）")
        ->check(CLI::Range(std::size_t{1}, std::size_t{100000000}));
  };
  const auto helpOf = [](CLI::App* command) {
    command->set_help_flag("-h,--help", "この使い方を表示します");
  };

  CLI::App* list = app.add_subcommand("list", "発行したすべての版を、発行日の新しい順に表示します");
  helpOf(list);
  addLimit(list);

  ledger::IssueQuery query;
  std::int64_t minimum = 0;
  std::int64_t maximum = 0;
  CLI::App* search = app.add_subcommand("search", "条件に合う版を、発行日の新しい順に表示します");
  helpOf(search);
  search->add_option("--text", query.text,
                     "見積番号・顧客名・件名・担当者・品番・品名のどれかに含まれる文字");
  search->add_option("--number", query.quotationNumber, "見積番号に含まれる文字");
  search->add_option("--customer", query.customer, "顧客名に含まれる文字");
  search->add_option("--subject", query.subject, "件名に含まれる文字");
  search->add_option("--person", query.personInCharge, "担当者に含まれる文字");
  search->add_option("--part", query.partNumber, "どれかの品目の品番に含まれる文字");
  search->add_option("--from", query.issuedFrom, "発行日がこの日（2026-01-01）以後");
  search->add_option("--to", query.issuedTo, "発行日がこの日以前");
  search->add_option("--min", minimum, "合計（円、税込）がこの額以上");
  search->add_option("--max", maximum, "合計（円、税込）がこの額以下");
  search->add_flag("--latest", query.latestOnly, "見積番号ごとに最新の版だけ");
  addLimit(search);

  std::string number;
  int revision = 0;
  CLI::App* show = app.add_subcommand("show", "1 つの版の記録を表示します（版を省くと最新の版）");
  helpOf(show);
  show->add_option("number", number, "見積番号")->required();
  show->add_option("revision", revision, "版")->check(CLI::PositiveNumber);

  std::string file;
  CLI::App* pdf =
      app.add_subcommand("pdf", "1 つの版の見積書の PDF を、発行したとおりに保存します");
  helpOf(pdf);
  pdf->add_option("number", number, "見積番号")->required();
  pdf->add_option("revision", revision, "版")->required()->check(CLI::PositiveNumber);
  pdf->add_option("output", file, "保存する PDF のファイル。- で標準出力")->required();

  CLI::App* exportCsv = app.add_subcommand(
      "export", "台帳全体を CSV（UTF-8、BOM 付き、品目 1 つに 1 行）に書き出します");
  helpOf(exportCsv);
  exportCsv->add_option("output", file, "CSV のファイル。- で標準出力")->required();

  CLI::App* importCsv = app.add_subcommand(
      "import", "export が書いた CSV の版を、その見積番号と版のまま台帳に取り込みます");
  helpOf(importCsv);
  importCsv->add_option("input", file, "CSV のファイル。- で標準入力")->required();

  for (CLI::App* command : app.get_subcommands({})) command->group("コマンド");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help
    return fail("コマンドラインを読めません（--help で使い方を表示します）", kBadUsage);
  }
  if (search->parsed()) {
    if (search->count("--min") > 0) query.totalFromYen = minimum;
    if (search->count("--max") > 0) query.totalToYen = maximum;
    for (const std::string* day : {&query.issuedFrom, &query.issuedTo}) {
      if (!day->empty() && !isDay(*day))
        return fail("日付「" + *day + "」を読めません（2026-01-01 の形で）。", kBadUsage);
    }
  }

  // CSV read before the register is opened: a malformed file changes nothing.
  std::vector<ledger::StoredIssue> imported;
  if (importCsv->parsed()) {
    auto text = readIn(file);
    if (!text) return fail(text.message());
    auto read = ledger::importLedgerCsv(text.value());
    if (!read) return fail(read.message());
    imported = std::move(read.value());
  }

  auto opened = ledger::Register::open(location.empty() ? ledger::registerLocationFromEnvironment()
                                                        : location);
  if (!opened) return fail(opened.message());
  ledger::Register& reg = *opened.value();

  if (list->parsed() || search->parsed()) {
    query.limit = limit;
    auto found = reg.search(query);
    if (!found) return fail(found.message());
    printSummaries(found.value());
    if (found->size() == limit) {
      fail("最初の " + std::to_string(limit) + " 件を表示しました（--limit で変えられます）。");
    }
    return kDone;
  }
  if (show->parsed()) {
    ledger::StoredIssue issue;
    if (revision == 0) {
      auto latest = reg.latest(number);
      if (!latest) return fail(latest.message());
      if (!latest->has_value()) return fail("見積番号「" + number + "」は見積台帳にありません。");
      issue = std::move(latest.value().value());
    } else {
      auto one = reg.issue(number, revision);
      if (!one) return fail(one.message());
      issue = std::move(one.value());
    }
    std::cout << issueText(issue) << std::flush;
    return kDone;
  }
  if (pdf->parsed()) {
    auto bytes = reg.pdf(number, revision);
    if (!bytes) return fail(bytes.message());
    if (auto written = writeOut(file, bytes.value()); !written.ok()) return fail(written.message());
    return kDone;
  }
  if (exportCsv->parsed()) {
    auto all = reg.ledger();
    if (!all) return fail(all.message());
    if (auto written = writeOut(file, ledger::ledgerCsv(all.value())); !written.ok())
      return fail(written.message());
    return kDone;
  }
  auto summary = reg.import(imported);
  if (!summary) return fail(summary.message());
  std::cerr << "kelvane-register: " << summary->recorded << " 件の版を取り込みました"
            << (summary->skipped > 0 ? "（台帳に同じ内容であった " +
                                           std::to_string(summary->skipped) + " 件は除きました）"
                                     : std::string())
            << "。\n";
  return kDone;
}

}  // namespace

int main(int argc, char** argv) {
  platform::ignoreBrokenPipes();
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    return fail(kelvane::job::stoppedBecause(e));
  } catch (...) {
    return fail("不明なエラーで止まりました。");
  }
}
