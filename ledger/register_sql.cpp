#include "ledger/register_sql.h"

namespace kelvane::ledger::sql {

namespace {
constexpr char kFieldSeparator = '\x1f';
}

Failure failed(const DatabaseError& error) { return Failure{error.message}; }

Expected<std::vector<Row>> run(Database& db, std::string_view sql,
                               const std::vector<Value>& params) {
  auto result = db.query(sql, params);
  if (auto* error = std::get_if<DatabaseError>(&result)) return failed(*error);
  return std::move(std::get<std::vector<Row>>(result));
}

std::int64_t whole(const Value& value) {
  if (const auto* n = std::get_if<std::int64_t>(&value)) return *n;
  return 0;
}

std::string text(const Value& value) {
  if (const auto* s = std::get_if<std::string>(&value)) return *s;
  if (const auto* b = std::get_if<Bytes>(&value)) return b->data;
  if (const auto* n = std::get_if<std::int64_t>(&value)) return std::to_string(*n);
  return {};
}

Result<std::monostate> Transaction::begin() {
  auto begun = db_.begin();
  open_ = std::holds_alternative<std::monostate>(begun);
  return begun;
}

Result<std::monostate> Transaction::commit() {
  auto committed = db_.commit();
  if (std::holds_alternative<std::monostate>(committed)) open_ = false;
  return committed;
}

std::string_view bytesType(const Database& db) {
  return db.dialect() == "postgresql" ? "BYTEA" : "BLOB";
}

std::string contains(const Database& db, std::string_view column, std::string_view needle) {
  if (db.dialect() == "postgresql") {
    return "strpos(" + std::string(column) + ", " + std::string(needle) + ") > 0";
  }
  // SQLite's instr counts characters through a text; through bytes it only
  // compares them, several times faster on a register of 100,000 issues.
  return "instr(CAST(" + std::string(column) + " AS BLOB), CAST(" + std::string(needle) +
         " AS BLOB)) > 0";
}

StoredIssue issueFromRow(const Row& row) {
  StoredIssue issue;
  job::IssueRecord& r = issue.record;
  r.quotationNumber = text(row.at(0));
  r.revision = static_cast<int>(whole(row.at(1)));
  r.issuedOn = text(row.at(2));
  r.validUntil = text(row.at(3));
  r.customer = text(row.at(4));
  r.subject = text(row.at(5));
  r.personInCharge = text(row.at(6));
  r.subtotalYen = whole(row.at(7));
  r.taxYen = whole(row.at(8));
  r.totalYen = whole(row.at(9));
  issue.recordedAt = text(row.at(10));
  return issue;
}

std::string searchText(const job::IssueRecord& record) {
  std::string out;
  for (const std::string* field :
       {&record.quotationNumber, &record.customer, &record.subject, &record.personInCharge}) {
    out += *field;
    out += kFieldSeparator;
  }
  for (const job::IssuedLine& line : record.lines) {
    out += line.partNumber;
    out += kFieldSeparator;
    out += line.name;
    out += kFieldSeparator;
  }
  return out;
}

std::string partNumbers(const job::IssueRecord& record) {
  std::string out;
  for (const job::IssuedLine& line : record.lines) {
    out += line.partNumber;
    out += kFieldSeparator;
  }
  return out;
}

Expected<std::vector<job::IssuedLine>> lines(Database& db, std::string_view number, int revision) {
  auto rows = run(db,
                  "SELECT part_number, name, quantity, unit_price_sen, amount_yen FROM issue_lines "
                  "WHERE quotation_number = $1 AND revision = $2 ORDER BY line",
                  {std::string(number), std::int64_t{revision}});
  if (!rows) return rows.failure();
  std::vector<job::IssuedLine> out;
  out.reserve(rows->size());
  for (const Row& row : *rows) {
    out.push_back(job::IssuedLine{text(row.at(0)), text(row.at(1)), whole(row.at(2)),
                                  whole(row.at(3)), whole(row.at(4))});
  }
  return out;
}

Expected<std::optional<StoredIssue>> storedIssue(Database& db, std::string_view number,
                                                 int revision, bool withJob) {
  const std::string sql = "SELECT " + std::string(kIssueColumns) +
                          (withJob ? ", d.job_text FROM issues AS i LEFT JOIN issue_documents AS d "
                                     "ON d.quotation_number = i.quotation_number AND d.revision = "
                                     "i.revision"
                                   : " FROM issues AS i") +
                          " WHERE i.quotation_number = $1 AND i.revision = $2";
  auto rows = run(db, sql, {std::string(number), std::int64_t{revision}});
  if (!rows) return rows.failure();
  if (rows->empty()) return std::optional<StoredIssue>();
  StoredIssue issue = issueFromRow(rows->front());
  if (withJob) issue.jobText = text(rows->front().at(11));
  auto itsLines = lines(db, number, revision);
  if (!itsLines) return itsLines.failure();
  issue.record.lines = std::move(itsLines.value());
  return std::optional<StoredIssue>(std::move(issue));
}

std::string notInRegister(std::string_view number, int revision) {
  return "見積番号「" + std::string(number) + "」の第" + std::to_string(revision) +
         "版は見積台帳にありません。";
}

}  // namespace kelvane::ledger::sql
