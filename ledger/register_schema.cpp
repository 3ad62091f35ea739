// The register's tables, written once for both databases, and the way every
// older register is brought up to them.
//
// Version 1: issues (the figures of each 版; a number and 版 once),
// issue_lines (its item lines) and issue_documents (the job as issued and the
// PDF's bytes, apart, so that a search scanning the issues never reads them).
// Version 2: each issue knows whether it is its quotation's latest 版, and
// carries the texts the searches look in, with indexes for the amount and
// the latest 版.
#include <functional>

#include "ledger/register_sql.h"

namespace kelvane::ledger::sql {

namespace {

Expected<void> runAll(Database& db, const std::vector<std::string>& statements) {
  for (const std::string& statement : statements) {
    if (auto done = run(db, statement); !done) return done.failure();
  }
  return {};
}

Expected<void> createVersion1(Database& db) {
  const std::string bytes(bytesType(db));
  return runAll(
      db,
      {"CREATE TABLE issues ("
       "quotation_number TEXT NOT NULL, revision INTEGER NOT NULL, "
       "issued_on TEXT NOT NULL, valid_until TEXT NOT NULL, customer TEXT NOT NULL, "
       "subject TEXT NOT NULL, person_in_charge TEXT NOT NULL, subtotal_yen BIGINT NOT NULL, "
       "tax_yen BIGINT NOT NULL, total_yen BIGINT NOT NULL, recorded_at TEXT NOT NULL, "
       "PRIMARY KEY (quotation_number, revision))",
       "CREATE TABLE issue_lines ("
       "quotation_number TEXT NOT NULL, revision INTEGER NOT NULL, line INTEGER NOT NULL, "
       "part_number TEXT NOT NULL, name TEXT NOT NULL, quantity BIGINT NOT NULL, "
       "unit_price_sen BIGINT NOT NULL, amount_yen BIGINT NOT NULL, "
       "PRIMARY KEY (quotation_number, revision, line), "
       "FOREIGN KEY (quotation_number, revision) REFERENCES issues (quotation_number, revision))",
       "CREATE TABLE issue_documents ("
       "quotation_number TEXT NOT NULL, revision INTEGER NOT NULL, job_text TEXT NOT NULL, "
       "pdf " +
           bytes +
           " NOT NULL, PRIMARY KEY (quotation_number, revision), "
           "FOREIGN KEY (quotation_number, revision) REFERENCES issues (quotation_number, "
           "revision))",
       "CREATE INDEX issues_issued_on ON issues (issued_on)"});
}

Expected<void> migrateToVersion2(Database& db) {
  auto added =
      runAll(db, {"ALTER TABLE issues ADD COLUMN is_latest INTEGER NOT NULL DEFAULT 0",
                  "ALTER TABLE issues ADD COLUMN search_text TEXT NOT NULL DEFAULT ''",
                  "ALTER TABLE issues ADD COLUMN part_numbers TEXT NOT NULL DEFAULT ''",
                  std::string("UPDATE issues SET is_latest = 1 WHERE revision = (SELECT ") +
                      "MAX(o.revision) FROM issues AS o WHERE o.quotation_number = "
                      "issues.quotation_number)",
                  "CREATE INDEX issues_total ON issues (total_yen)",
                  "CREATE INDEX issues_latest ON issues (is_latest, issued_on)"});
  if (!added.ok()) return added;
  // The search texts of the issues already there, from their lines.
  auto issues = run(db, "SELECT " + std::string(kIssueColumns) + " FROM issues AS i");
  if (!issues) return issues.failure();
  for (const Row& row : *issues) {
    StoredIssue issue = issueFromRow(row);
    auto itsLines = lines(db, issue.record.quotationNumber, issue.record.revision);
    if (!itsLines) return itsLines.failure();
    issue.record.lines = std::move(itsLines.value());
    auto updated = run(db,
                       "UPDATE issues SET search_text = $1, part_numbers = $2 "
                       "WHERE quotation_number = $3 AND revision = $4",
                       {searchText(issue.record), partNumbers(issue.record),
                        issue.record.quotationNumber, std::int64_t{issue.record.revision}});
    if (!updated) return updated.failure();
  }
  return {};
}

// migrations[v] brings a register of version v to v + 1 (version 0: empty).
const std::vector<std::function<Expected<void>(Database&)>>& migrations() {
  static const std::vector<std::function<Expected<void>(Database&)>> steps = {createVersion1,
                                                                              migrateToVersion2};
  return steps;
}

Expected<int> schemaVersion(Database& db) {
  auto rows = run(db, "SELECT version FROM register_schema");
  if (!rows) return rows.failure();
  return rows->empty() ? 0 : static_cast<int>(whole(rows->front().at(0)));
}

}  // namespace

Expected<void> bringSchemaUp(Database& db) {
  static_assert(kSchemaVersion == 2, "a new schema version needs its migration");
  // A register up to date opens without its write lock. One not made yet
  // (the read fails) or older is made or brought up under it: two programs
  // opening a new register at once would otherwise both make its tables,
  // and PostgreSQL refuses the second.
  auto version = schemaVersion(db);
  if (version && *version == kSchemaVersion) return {};

  Transaction transaction(db);
  if (auto begun = transaction.begin(); auto* error = std::get_if<DatabaseError>(&begun)) {
    return failed(*error);
  }
  if (auto made = run(db, "CREATE TABLE IF NOT EXISTS register_schema (version INTEGER NOT NULL)");
      !made) {
    return made.failure();
  }
  // Two programs opening a new register at once: the second waits here and
  // finds it made.
  if (db.dialect() == "postgresql") {
    if (auto locked = run(db, "LOCK TABLE register_schema IN EXCLUSIVE MODE"); !locked)
      return locked.failure();
  }
  version = schemaVersion(db);
  if (!version) return version.failure();
  if (*version > kSchemaVersion) {
    return Failure{"この見積台帳は新しい Kelvane の形式（第" + std::to_string(*version) +
                   "版）です。Kelvane を新しくしてから開いてください。"};
  }
  for (int v = *version; v < kSchemaVersion; ++v) {
    if (auto migrated = migrations().at(static_cast<std::size_t>(v))(db); !migrated.ok())
      return migrated;
  }
  for (const char* statement :
       {"DELETE FROM register_schema", "INSERT INTO register_schema (version) VALUES ($1)"}) {
    const bool insert = std::string_view(statement).starts_with("INSERT");
    auto done =
        run(db, statement,
            insert ? std::vector<Value>{std::int64_t{kSchemaVersion}} : std::vector<Value>{});
    if (!done) return done.failure();
  }
  if (auto committed = transaction.commit(); auto* error = std::get_if<DatabaseError>(&committed)) {
    return failed(*error);
  }
  return {};
}

}  // namespace kelvane::ledger::sql
