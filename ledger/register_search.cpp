// The ledger's search: one statement made of the conditions asked, over the
// issues' own columns (the texts of their lines are carried on each issue),
// so that a search reads one table and the indexes of 発行日 and 合計.
#include "ledger/register.h"
#include "ledger/register_sql.h"

namespace kelvane::ledger {

Expected<std::vector<IssueSummary>> Register::search(const IssueQuery& query) {
  Database& db = *database_;
  std::string where;
  std::vector<Value> params;
  const auto condition = [&](const std::string& text) {
    where += where.empty() ? " WHERE " : " AND ";
    where += text;
  };
  const auto parameter = [&params](Value value) {
    params.push_back(std::move(value));
    return "$" + std::to_string(params.size());
  };
  bool texts = false;
  const auto substring = [&](std::string_view column, const std::string& needle) {
    if (needle.empty()) return;
    condition(sql::contains(db, column, parameter(needle)));
    texts = true;
  };
  substring("i.search_text", query.text);
  substring("i.quotation_number", query.quotationNumber);
  substring("i.customer", query.customer);
  substring("i.subject", query.subject);
  substring("i.person_in_charge", query.personInCharge);
  substring("i.part_numbers", query.partNumber);
  if (!query.issuedFrom.empty()) condition("i.issued_on >= " + parameter(query.issuedFrom));
  if (!query.issuedTo.empty()) condition("i.issued_on <= " + parameter(query.issuedTo));
  if (query.totalFromYen) condition("i.total_yen >= " + parameter(*query.totalFromYen));
  if (query.totalToYen) condition("i.total_yen <= " + parameter(*query.totalToYen));
  if (query.latestOnly) condition("i.is_latest = 1");
  const std::int64_t limit =
      static_cast<std::int64_t>(std::min<std::size_t>(query.limit, INT64_MAX));
  const std::string statement =
      "SELECT i.quotation_number, i.revision, i.issued_on, i.valid_until, i.customer, i.subject, "
      "i.person_in_charge, i.total_yen FROM issues AS i" +
      where +
      // With a text to find, the whole table is read once and what it finds
      // sorted; walking the 発行日 index instead would fetch every issue's
      // row by its key, one at a time. (SQLite's way of saying so; PostgreSQL
      // weighs the two itself and has no + for a text.)
      (texts && db.dialect() == "sqlite" ? " ORDER BY +i.issued_on DESC"
                                         : " ORDER BY i.issued_on DESC") +
      ", i.quotation_number DESC, i.revision DESC LIMIT " + parameter(limit);
  auto rows = sql::run(db, statement, params);
  if (!rows) return rows.failure();
  std::vector<IssueSummary> found;
  found.reserve(rows->size());
  for (const Row& row : *rows) {
    found.push_back(IssueSummary{sql::text(row.at(0)), static_cast<int>(sql::whole(row.at(1))),
                                 sql::text(row.at(2)), sql::text(row.at(3)), sql::text(row.at(4)),
                                 sql::text(row.at(5)), sql::text(row.at(6)),
                                 sql::whole(row.at(7))});
  }
  return found;
}

}  // namespace kelvane::ledger
