// The quotation register: recording an issue (the 見積書's PDF made
// beforehand, ~30 kB of bytes) and searching a register of 100,000 issues,
// on a SQLite file in a temporary folder and, where KELVANE_BENCH_POSTGRES_URL
// names one, on a PostgreSQL database (its tables are made there when missing
// and the 100,000 issues added once).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "ledger/register.h"

namespace {

using kelvane::job::IssueRecord;
using kelvane::ledger::IssueQuery;
using kelvane::ledger::Register;
using kelvane::ledger::StoredIssue;

constexpr int kIssues = 100000;

std::string day(int n) {  // day n after 2020-01-01, in years of 12 × 28 days: always a date
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", 2020 + n / 336, n % 336 / 28 + 1, n % 28 + 1);
  return text;
}

IssueRecord issueNumber(int i) {
  IssueRecord r;
  r.quotationNumber = "Q" + day(i / 60).substr(0, 4) + "-" + std::to_string(100000 + i);
  r.revision = 1 + i % 3;
  r.issuedOn = day(i / 60);
  r.validUntil = day(i / 60 + 30);
  r.customer = "株式会社サンプル" + std::to_string(i % 700) + "電機";
  r.subject = i % 2 == 0 ? "電源トランス用コイル" : "チョークコイル試作";
  r.personInCharge = "担当" + std::to_string(i % 25);
  for (int k = 0; k < 3; ++k) {
    const std::int64_t quantity = 100 * (1 + (i + k) % 20);
    const std::int64_t sen = 1000 + (i * 37 + k * 11) % 90000;
    r.lines.push_back({"P-" + std::to_string(i % 3000) + "-" + std::to_string(k),
                       k == 0 ? "電源トランス" : "チョーク", quantity, sen, quantity * sen / 100});
    r.subtotalYen += r.lines.back().amountYen;
  }
  r.taxYen = r.subtotalYen / 10;
  r.totalYen = r.subtotalYen + r.taxYen;
  return r;
}

struct Location {
  std::string name;
  std::string location;
};

std::vector<Location> locations() {
  static const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("kelvane-ledger-bench-" + std::to_string(getpid()));
  std::vector<Location> out = {{"sqlite", (folder / "register.sqlite3").string()}};
  if (const char* url = std::getenv("KELVANE_BENCH_POSTGRES_URL"); url != nullptr && *url != 0)
    out.push_back({"postgresql", url});
  return out;
}

Register& opened(const std::string& location) {
  static std::map<std::string, std::unique_ptr<Register>> registers;
  auto& reg = registers[location];
  if (!reg) {
    auto made = Register::open(location);
    if (!made) {
      std::fprintf(stderr, "%s\n", made.message().c_str());
      std::exit(1);
    }
    reg = std::move(made.value());
  }
  return *reg;
}

// The 100,000 issues, added in one import the first time.
Register& filled(const std::string& location) {
  Register& reg = opened(location);
  static std::set<std::string> done;
  if (!done.insert(location).second) return reg;
  IssueQuery all;
  all.limit = kIssues;
  if (auto there = reg.search(all); there && there->size() >= kIssues) return reg;
  std::vector<StoredIssue> issues;
  issues.reserve(kIssues);
  for (int i = 0; i < kIssues; ++i) issues.push_back({issueNumber(i), "", "2026-01-01T00:00:00Z"});
  if (auto imported = reg.import(issues); !imported) {
    std::fprintf(stderr, "%s\n", imported.message().c_str());
    std::exit(1);
  }
  return reg;
}

void recordAnIssue(benchmark::State& state, const std::string& location) {
  Register& reg = opened(location);
  const std::string pdf(30000, '%');
  IssueRecord record = issueNumber(7);
  record.quotationNumber.clear();
  for (auto _ : state) {
    auto recorded =
        reg.record({record, R"({"format": "kelvane-job"})", "B{yyyy}-{nnnnnn}"},
                   [&pdf](const IssueRecord&) -> kelvane::Expected<std::string> { return pdf; });
    if (!recorded) state.SkipWithError(recorded.message().c_str());
    benchmark::DoNotOptimize(recorded);
  }
}

void search(benchmark::State& state, const std::string& location, const IssueQuery& query) {
  Register& reg = filled(location);
  std::size_t found = 0;
  for (auto _ : state) {
    auto result = reg.search(query);
    if (!result) state.SkipWithError(result.message().c_str());
    found = result ? result->size() : 0;
  }
  state.counters["found"] = static_cast<double>(found);
}

const bool registered = [] {
  for (const Location& at : locations()) {
    benchmark::RegisterBenchmark(("ledger/record_issue/" + at.name).c_str(), recordAnIssue,
                                 at.location)
        ->Unit(benchmark::kMillisecond);
    IssueQuery text;
    text.text = "サンプル137電";
    IssueQuery part;
    part.partNumber = "P-2999-";
    IssueQuery range;
    range.issuedFrom = "2022-03-01";
    range.issuedTo = "2022-05-30";
    range.totalFromYen = 500000;
    range.totalToYen = 800000;
    IssueQuery newest;
    newest.latestOnly = true;
    for (const auto& [name, query] :
         {std::pair("text", text), std::pair("part_number", part),
          std::pair("date_and_amount", range), std::pair("latest_1000", newest)}) {
      benchmark::RegisterBenchmark(
          ("ledger/search_100000/" + std::string(name) + "/" + at.name).c_str(), search,
          at.location, query)
          ->Unit(benchmark::kMillisecond);
    }
  }
  return true;
}();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(locations().front().location).parent_path(),
                              ignored);
  return 0;
}
