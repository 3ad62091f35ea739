// The register against real servers: two processes issuing at once, and a
// PostgreSQL server killed between and inside issues.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "ledger/database.h"
#include "ledger/register.h"
#include "tests/ledger/register_locations.h"

extern char** environ;

namespace kelvane::ledger {
namespace {

// Starts the issuing program for `count` issues; its process id.
pid_t startIssuing(const std::string& location, int count) {
  std::string program = KELVANE_TEST_ISSUE_MANY;
  std::string countText = std::to_string(count);
  std::string where = location;
  char* argv[] = {program.data(), where.data(), countText.data(), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return -1;
  return pid;
}

int exitStatus(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

class RegisterIssuedAtOnce : public ::testing::TestWithParam<std::string> {};

// Two engineers issuing 100 quotations each at the same moment: 200
// numbers, none twice, none skipped, each its quotation's 版 1.
TEST_P(RegisterIssuedAtOnce, TwoProcessesGetDistinctNumbersWithoutGaps) {
  if (!test::canTest(GetParam())) GTEST_SKIP() << "no " << GetParam() << " server here";
  const test::FreshRegister place(GetParam());
  constexpr int kEach = 100;
  const pid_t first = startIssuing(place.location(), kEach);
  const pid_t second = startIssuing(place.location(), kEach);
  ASSERT_GT(first, 0);
  ASSERT_GT(second, 0);
  EXPECT_EQ(exitStatus(first), 0);
  EXPECT_EQ(exitStatus(second), 0);

  auto opened = Register::open(place.location());
  ASSERT_TRUE(opened) << opened.message();
  IssueQuery all;
  all.limit = 10'000;
  auto found = (*opened)->search(all);
  ASSERT_TRUE(found) << found.message();
  std::set<std::string> numbers;
  for (const IssueSummary& issue : *found) {
    EXPECT_EQ(issue.revision, 1) << issue.quotationNumber;
    numbers.insert(issue.quotationNumber);
  }
  EXPECT_EQ(found->size(), 2u * kEach);
  std::set<std::string> expected;
  for (int n = 1; n <= 2 * kEach; ++n) {
    expected.insert(*numberFromPattern("Q{yyyy}-{nnnn}", "2026-12-09", n));
  }
  EXPECT_EQ(numbers, expected);
}

INSTANTIATE_TEST_SUITE_P(Registers, RegisterIssuedAtOnce, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& info) { return info.param; });

// Where in an issue the server goes down.
enum class Kill {
  BetweenIssues,   // after one issue, before the next is begun
  WhileDocument,   // while the 見積書 is being made, the transaction open
  AfterFirstLine,  // the issue's row and its first line written, not the rest
  BeforeCommit,    // everything written, COMMIT not yet sent
};

void PrintTo(Kill kill, std::ostream* out) {
  constexpr const char* names[] = {"BetweenIssues", "WhileDocument", "AfterFirstLine",
                                   "BeforeCommit"};
  *out << names[static_cast<int>(kill)];
}

// The tests' server, through its script: its folder is the host of its URL
// (the folder of its socket).
struct Cluster {
  std::string folder = []() -> std::string {
    const char* url = std::getenv("KELVANE_TEST_POSTGRES_URL");
    const std::string_view text = url ? url : "";
    const auto host = text.find("host=/");
    if (host == std::string_view::npos) return "";
    const auto from = host + 5;
    return std::string(text.substr(from, text.find('&', from) - from));
  }();
  void run(const char* command) const {
    const std::string line =
        std::string("sh '") + KELVANE_TEST_POSTGRES_CLUSTER + "' " + command + " '" + folder + "'";
    ASSERT_EQ(std::system(line.c_str()), 0) << line;
  }
  void crash() const { run("crash"); }
  void start() const { run("start"); }
};

// The register's connection, with the server killed at one point of the
// next issue.
class KillingDatabase final : public Database {
 public:
  KillingDatabase(std::unique_ptr<Database> inner, const Cluster& cluster)
      : inner_(std::move(inner)), cluster_(cluster) {}
  std::optional<Kill> armed;

  std::string_view dialect() const override { return inner_->dialect(); }
  Result<std::vector<Row>> query(std::string_view sql, const std::vector<Value>& params) override {
    auto result = inner_->query(sql, params);
    if (armed == Kill::AfterFirstLine && sql.starts_with("INSERT INTO issue_lines")) fire();
    return result;
  }
  Result<std::monostate> begin() override { return inner_->begin(); }
  Result<std::monostate> commit() override {
    if (armed == Kill::BeforeCommit) fire();
    return inner_->commit();
  }
  Result<std::monostate> rollback() override { return inner_->rollback(); }
  void fire() {
    armed.reset();
    cluster_.crash();
  }

 private:
  std::unique_ptr<Database> inner_;
  const Cluster& cluster_;
};

IssueRequest requestOfTwoLines(const std::string& number) {
  IssueRequest request;
  request.record.quotationNumber = number;
  request.record.issuedOn = "2026-12-09";
  request.record.validUntil = "2027-01-08";
  request.record.customer = "北星電機";
  request.record.subject = "トロイダルコイル";
  request.record.lines = {{"T-1", "トロイダル 1", 50, 80000, 40000},
                          {"T-2", "トロイダル 2", 20, 125000, 25000}};
  request.record.subtotalYen = 65000;
  request.record.taxYen = 6500;
  request.record.totalYen = 71500;
  request.jobText = "{\"items\":2}";
  return request;
}

std::string pdfOf(const job::IssueRecord& numbered) {
  return "%PDF " + numbered.quotationNumber + " 第" + std::to_string(numbered.revision) + "版";
}

class RegisterServerKilled : public ::testing::TestWithParam<Kill> {};

// A server killed at any point of an issue: that issue fails with a
// sentence and leaves nothing; the issues before it are whole after the
// restart, and the same register issues again once the server is back.
TEST_P(RegisterServerKilled, LeavesOnlyWholeIssues) {
  const Cluster cluster;
  if (cluster.folder.empty()) GTEST_SKIP() << "no PostgreSQL server of the tests' own to kill";
  const test::FreshRegister place("postgresql");
  auto connection = openPostgresql(place.location());
  ASSERT_TRUE(connection) << connection.message();
  auto database = std::make_unique<KillingDatabase>(std::move(connection.value()), cluster);
  KillingDatabase& killing = *database;
  auto opened = Register::open(std::move(database));
  ASSERT_TRUE(opened) << opened.message();
  Register& register_ = **opened;

  auto document = [](const job::IssueRecord& numbered) -> Expected<std::string> {
    return pdfOf(numbered);
  };
  ASSERT_TRUE(register_.record(requestOfTwoLines("Q2026-0001"), document));
  ASSERT_TRUE(register_.record(requestOfTwoLines("Q2026-0002"), document));

  const Kill kill = GetParam();
  Expected<job::IssueRecord> during = Failure{""};
  if (kill == Kill::BetweenIssues) {
    cluster.crash();
    during = register_.record(requestOfTwoLines("Q2026-0001"), document);
  } else if (kill == Kill::WhileDocument) {
    during = register_.record(requestOfTwoLines("Q2026-0001"),
                              [&](const job::IssueRecord& numbered) -> Expected<std::string> {
                                cluster.crash();
                                return pdfOf(numbered);
                              });
  } else {
    killing.armed = kill;
    during = register_.record(requestOfTwoLines("Q2026-0001"), document);
  }
  ASSERT_FALSE(during) << "an issue recorded with its server killed";
  EXPECT_NE(during.message().find("台帳のサーバー"), std::string::npos) << during.message();
  EXPECT_TRUE(during.message().ends_with("。")) << during.message();
  cluster.start();

  // Back up, the same register goes on: the failed issue's 版 is free.
  auto after = register_.record(requestOfTwoLines("Q2026-0001"), document);
  ASSERT_TRUE(after) << after.message();
  EXPECT_EQ(after->revision, 2);

  IssueQuery all;
  auto found = register_.search(all);
  ASSERT_TRUE(found) << found.message();
  std::map<std::string, std::set<int>> revisions;
  for (const IssueSummary& summary : *found) {
    revisions[summary.quotationNumber].insert(summary.revision);
    auto stored = register_.issue(summary.quotationNumber, summary.revision);
    ASSERT_TRUE(stored) << stored.message();
    EXPECT_EQ(stored->record.lines, requestOfTwoLines("").record.lines);
    auto pdf = register_.pdf(summary.quotationNumber, summary.revision);
    ASSERT_TRUE(pdf) << pdf.message();
    EXPECT_EQ(*pdf, pdfOf(stored->record));
  }
  const std::map<std::string, std::set<int>> expected{{"Q2026-0001", {1, 2}}, {"Q2026-0002", {1}}};
  EXPECT_EQ(revisions, expected);
}

INSTANTIATE_TEST_SUITE_P(Points, RegisterServerKilled,
                         ::testing::Values(Kill::BetweenIssues, Kill::WhileDocument,
                                           Kill::AfterFirstLine, Kill::BeforeCommit),
                         [](const auto& info) {
                           switch (info.param) {
                             case Kill::BetweenIssues:
                               return "BetweenIssues";
                             case Kill::WhileDocument:
                               return "WhileDocument";
                             case Kill::AfterFirstLine:
                               return "AfterFirstLine";
                             case Kill::BeforeCommit:
                               return "BeforeCommit";
                           }
                           return "";
                         });

}  // namespace
}  // namespace kelvane::ledger
