// The register's operations: where it lives, recording an issue, reading
// one back, and the whole ledger in and out.
#include "ledger/register.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "job/job_json.h"
#include "ledger/database.h"
#include "ledger/register_sql.h"

namespace kelvane::ledger {

namespace {

// How often an issue that lost a race with another writer is tried again,
// and the longest pause before the next try (a random part of it, so that
// two who collided do not collide again).
constexpr int kAttempts = 8;
constexpr int kLongestPauseMs = 40;

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string nowUtc() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

void pauseBeforeTry(int attempt) {
  thread_local std::minstd_rand random{std::random_device{}()};
  std::uniform_int_distribution<int> ms(1, kLongestPauseMs * attempt / kAttempts + 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(ms(random)));
}

// What stopped one try at recording: a sentence, and whether another try
// may succeed.
struct Stop {
  Failure failure;
  bool retry = false;
};
Stop stop(const DatabaseError& error) { return Stop{Failure{error.message}, error.conflict}; }

template <typename T>
std::optional<DatabaseError> errorOf(const Result<T>& result) {
  if (const auto* error = std::get_if<DatabaseError>(&result)) return *error;
  return std::nullopt;
}

// Inserts the issue's rows: its figures, its lines, and its job and PDF when
// it has them (an issue taken from a ledger's CSV has neither).
std::optional<Stop> insertIssue(Database& db, const StoredIssue& issue,
                                const std::optional<std::string>& pdf) {
  const job::IssueRecord& r = issue.record;
  const std::string number = r.quotationNumber;
  const std::int64_t revision = r.revision;
  if (const auto error = errorOf(db.query(
          "INSERT INTO issues (quotation_number, revision, issued_on, valid_until, customer, "
          "subject, person_in_charge, subtotal_yen, tax_yen, total_yen, recorded_at, is_latest, "
          "search_text, part_numbers) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, 0, "
          "$12, $13)",
          {number, revision, r.issuedOn, r.validUntil, r.customer, r.subject, r.personInCharge,
           r.subtotalYen, r.taxYen, r.totalYen, issue.recordedAt, sql::searchText(r),
           sql::partNumbers(r)}))) {
    return stop(*error);
  }
  std::int64_t lineNumber = 0;
  for (const job::IssuedLine& line : r.lines) {
    if (const auto error = errorOf(db.query(
            "INSERT INTO issue_lines (quotation_number, revision, line, part_number, name, "
            "quantity, unit_price_sen, amount_yen) VALUES ($1, $2, $3, $4, $5, $6, $7, $8)",
            {number, revision, ++lineNumber, line.partNumber, line.name, line.quantity,
             line.unitPriceSen, line.amountYen}))) {
      return stop(*error);
    }
  }
  if (pdf) {
    if (const auto error = errorOf(
            db.query("INSERT INTO issue_documents (quotation_number, revision, job_text, pdf) "
                     "VALUES ($1, $2, $3, $4)",
                     {number, revision, issue.jobText, Bytes{*pdf}}))) {
      return stop(*error);
    }
  }
  return std::nullopt;
}

// Marks the highest 版 of a quotation as its latest, and only that one.
std::optional<Stop> markLatest(Database& db, const std::string& number) {
  if (const auto error = errorOf(db.query(
          "UPDATE issues SET is_latest = CASE WHEN revision = (SELECT MAX(o.revision) FROM issues "
          "AS o WHERE o.quotation_number = $1) THEN 1 ELSE 0 END WHERE quotation_number = $1",
          {number}))) {
    return stop(*error);
  }
  return std::nullopt;
}

std::string validated(const job::IssueRecord& record, bool numbered) {
  if (numbered && record.quotationNumber.empty()) return "見積番号のない版があります。";
  if (numbered && record.revision < 1) {
    return "見積番号「" + record.quotationNumber + "」の版（" + std::to_string(record.revision) +
           "）は 1 からの数ではありません。";
  }
  if (!sql::isDate(record.issuedOn)) return "発行日「" + record.issuedOn + "」を読めません。";
  if (!record.validUntil.empty() && !sql::isDate(record.validUntil))
    return "有効期限「" + record.validUntil + "」を読めません。";
  return {};
}

}  // namespace

std::string defaultRegisterLocation() {
  std::string data = environment("XDG_DATA_HOME");
  // A relative XDG_DATA_HOME is to be ignored, as every desktop program does.
  if (data.empty() || data.front() != '/') {
    const std::string home = environment("HOME");
    data = (home.empty() ? std::string(".") : home) + "/.local/share";
  }
  return data + "/kelvane/register.sqlite3";
}

std::string registerLocationFromEnvironment() {
  std::string named = environment("KELVANE_REGISTER");
  return named.empty() ? defaultRegisterLocation() : named;
}

Register::Register(std::unique_ptr<Database> database) : database_(std::move(database)) {}
Register::~Register() = default;

Expected<std::unique_ptr<Register>> Register::open(const std::string& location) {
  auto database = connect(location);
  if (!database) return database.failure();
  return open(std::move(database.value()));
}

Expected<std::unique_ptr<Register>> Register::open(std::unique_ptr<Database> database) {
  if (auto schema = sql::bringSchemaUp(*database); !schema.ok()) return schema.failure();
  return std::unique_ptr<Register>(new Register(std::move(database)));
}

Expected<job::IssueRecord> Register::record(const IssueRequest& request,
                                            const IssueDocument& document) {
  if (const std::string refusal = validated(request.record, false); !refusal.empty())
    return Failure{refusal};
  if (request.record.quotationNumber.empty()) {
    // The pattern is checked before anything is begun.
    if (auto checked = numberFromPattern(request.numberPattern, request.record.issuedOn, 1);
        !checked) {
      return checked.failure();
    }
  }
  Database& db = *database_;
  const auto attempt = [&]() -> std::variant<job::IssueRecord, Stop> {
    sql::Transaction transaction(db);
    if (const auto error = errorOf(transaction.begin())) return stop(*error);
    job::IssueRecord numbered = request.record;
    if (numbered.quotationNumber.empty()) {
      auto sequence = sql::nextSequence(db, request.numberPattern, numbered.issuedOn);
      if (!sequence) return Stop{sequence.failure(), false};
      auto number = numberFromPattern(request.numberPattern, numbered.issuedOn, *sequence);
      if (!number) return Stop{number.failure(), false};
      numbered.quotationNumber = *number;
    }
    const auto latestRevision = db.query(
        "SELECT MAX(revision) FROM issues WHERE quotation_number = $1", {numbered.quotationNumber});
    if (const auto error = errorOf(latestRevision)) return stop(*error);
    const auto& rows = std::get<std::vector<Row>>(latestRevision);
    const std::int64_t recordedBefore = rows.empty() ? 0 : sql::whole(rows.front().at(0));
    const std::int64_t before =
        request.record.quotationNumber.empty()
            ? recordedBefore
            : std::max<std::int64_t>(recordedBefore, request.revisionBefore);
    if (before >= job::kMaxRevision)
      return Stop{Failure{"見積番号「" + numbered.quotationNumber + "」は第" +
                          std::to_string(job::kMaxRevision) +
                          "版まで発行済みです。新しい見積番号で作成してください。"},
                  false};
    numbered.revision = static_cast<int>(before + 1);

    auto pdf = document(numbered);
    if (!pdf) return Stop{pdf.failure(), false};
    StoredIssue issue{numbered, request.jobText, nowUtc()};
    if (auto stopped = insertIssue(db, issue, pdf.value())) return *stopped;
    if (auto stopped = markLatest(db, numbered.quotationNumber)) return *stopped;
    if (const auto error = errorOf(transaction.commit())) return stop(*error);
    return numbered;
  };
  for (int tries = 1;; ++tries) {
    auto outcome = attempt();
    if (auto* recorded = std::get_if<job::IssueRecord>(&outcome)) return std::move(*recorded);
    Stop& stopped = std::get<Stop>(outcome);
    if (!stopped.retry || tries == kAttempts) return stopped.failure;
    pauseBeforeTry(tries);
  }
}

Expected<std::optional<StoredIssue>> Register::latest(std::string_view quotationNumber) {
  auto rows = sql::run(*database_, "SELECT MAX(revision) FROM issues WHERE quotation_number = $1",
                       {std::string(quotationNumber)});
  if (!rows) return rows.failure();
  if (rows->empty() || std::holds_alternative<std::monostate>(rows->front().at(0)))
    return std::optional<StoredIssue>();
  return sql::storedIssue(*database_, quotationNumber,
                          static_cast<int>(sql::whole(rows->front().at(0))));
}

Expected<StoredIssue> Register::issue(std::string_view quotationNumber, int revision) {
  auto found = sql::storedIssue(*database_, quotationNumber, revision);
  if (!found) return found.failure();
  if (!found->has_value()) return Failure{sql::notInRegister(quotationNumber, revision)};
  return std::move(found.value().value());
}

Expected<std::string> Register::pdf(std::string_view quotationNumber, int revision) {
  auto rows = sql::run(
      *database_, "SELECT pdf FROM issue_documents WHERE quotation_number = $1 AND revision = $2",
      {std::string(quotationNumber), std::int64_t{revision}});
  if (!rows) return rows.failure();
  if (!rows->empty()) return sql::text(rows->front().at(0));
  auto issue = sql::storedIssue(*database_, quotationNumber, revision, false);
  if (!issue) return issue.failure();
  if (!issue->has_value()) return Failure{sql::notInRegister(quotationNumber, revision)};
  return Failure{"見積番号「" + std::string(quotationNumber) + "」の第" + std::to_string(revision) +
                 "版には PDF がありません（台帳の CSV から取り込んだ版です）。"};
}

Expected<std::vector<StoredIssue>> Register::ledger() {
  auto issueRows = sql::run(*database_, "SELECT " + std::string(sql::kIssueColumns) +
                                            " FROM issues AS i ORDER BY i.issued_on, "
                                            "i.quotation_number, i.revision");
  if (!issueRows) return issueRows.failure();
  std::vector<StoredIssue> issues;
  issues.reserve(issueRows->size());
  std::map<std::pair<std::string, int>, std::size_t> index;
  for (const Row& row : *issueRows) {
    issues.push_back(sql::issueFromRow(row));
    index.emplace(std::pair(issues.back().record.quotationNumber, issues.back().record.revision),
                  issues.size() - 1);
  }
  auto lineRows = sql::run(*database_,
                           "SELECT quotation_number, revision, part_number, name, quantity, "
                           "unit_price_sen, amount_yen FROM issue_lines ORDER BY quotation_number, "
                           "revision, line");
  if (!lineRows) return lineRows.failure();
  for (const Row& row : *lineRows) {
    const auto found =
        index.find(std::pair(sql::text(row.at(0)), static_cast<int>(sql::whole(row.at(1)))));
    if (found == index.end()) continue;
    issues[found->second].record.lines.push_back(
        job::IssuedLine{sql::text(row.at(2)), sql::text(row.at(3)), sql::whole(row.at(4)),
                        sql::whole(row.at(5)), sql::whole(row.at(6))});
  }
  // The databases order texts each by its own collation; the ledger is in
  // the order of the bytes, the same from both.
  std::stable_sort(issues.begin(), issues.end(), [](const StoredIssue& a, const StoredIssue& b) {
    return std::tie(a.record.issuedOn, a.record.quotationNumber, a.record.revision) <
           std::tie(b.record.issuedOn, b.record.quotationNumber, b.record.revision);
  });
  return issues;
}

Expected<Register::ImportSummary> Register::import(const std::vector<StoredIssue>& issues) {
  for (const StoredIssue& issue : issues) {
    if (const std::string refusal = validated(issue.record, true); !refusal.empty())
      return Failure{refusal};
  }
  Database& db = *database_;
  for (int tries = 1;; ++tries) {
    const auto attempt = [&]() -> std::variant<ImportSummary, Stop> {
      sql::Transaction transaction(db);
      if (const auto error = errorOf(transaction.begin())) return stop(*error);
      ImportSummary summary;
      std::set<std::string> numbers;
      for (const StoredIssue& issue : issues) {
        const job::IssueRecord& r = issue.record;
        auto there = sql::storedIssue(db, r.quotationNumber, r.revision, false);
        if (!there) return Stop{there.failure(), false};
        if (there->has_value()) {
          if ((*there)->record != r) {
            return Stop{
                Failure{"見積番号「" + r.quotationNumber + "」の第" + std::to_string(r.revision) +
                        "版は、台帳に別の内容で記録されています。何も取り込みませんでした。"},
                false};
          }
          ++summary.skipped;
          continue;
        }
        StoredIssue taken = issue;
        if (taken.recordedAt.empty()) taken.recordedAt = nowUtc();
        if (auto stopped = insertIssue(db, taken, std::nullopt)) return *stopped;
        numbers.insert(r.quotationNumber);
        ++summary.recorded;
      }
      for (const std::string& number : numbers) {
        if (auto stopped = markLatest(db, number)) return *stopped;
      }
      if (const auto error = errorOf(transaction.commit())) return stop(*error);
      return summary;
    };
    auto outcome = attempt();
    if (auto* done = std::get_if<ImportSummary>(&outcome)) return *done;
    Stop& stopped = std::get<Stop>(outcome);
    if (!stopped.retry || tries == kAttempts) return stopped.failure;
    pauseBeforeTry(tries);
  }
}

}  // namespace kelvane::ledger
