#pragma once

// What the register's files share: reading rows, a transaction that rolls
// back unless committed, the columns of an issue, and the words the two
// databases spell apart. Not for the register's users.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/expected.h"
#include "job/issue_record.h"
#include "ledger/database.h"
#include "ledger/register.h"

namespace kelvane::ledger::sql {

// The schema this program writes; older registers are brought up to it.
inline constexpr int kSchemaVersion = 2;

// Makes the register's tables in an empty database, or brings an older
// schema up to kSchemaVersion; refuses a newer one.
Expected<void> bringSchemaUp(Database& db);

Failure failed(const DatabaseError& error);
Expected<std::vector<Row>> run(Database& db, std::string_view sql,
                               const std::vector<Value>& params = {});

std::int64_t whole(const Value& value);  // 0 for NULL
std::string text(const Value& value);    // "" for NULL; a BLOB's bytes

// A transaction from begin() to commit(); left without commit (a failure, an
// exception thrown by the caller's document), it is rolled back.
class Transaction {
 public:
  explicit Transaction(Database& db) : db_(db) {}
  ~Transaction() {
    if (open_) db_.rollback();
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  Result<std::monostate> begin();
  Result<std::monostate> commit();

 private:
  Database& db_;
  bool open_ = false;
};

// The word for a column of bytes in the connection's database.
std::string_view bytesType(const Database& db);
// "instr(column, needle) > 0" as the database spells it: a substring, the
// letters' case as typed.
std::string contains(const Database& db, std::string_view column, std::string_view needle);

// The columns of an issue's row (table alias i) in the order issueFromRow reads them.
inline constexpr std::string_view kIssueColumns =
    "i.quotation_number, i.revision, i.issued_on, i.valid_until, i.customer, i.subject, "
    "i.person_in_charge, i.subtotal_yen, i.tax_yen, i.total_yen, i.recorded_at";
StoredIssue issueFromRow(const Row& row);

// The text the text search looks in (見積番号, 顧客名, 件名, 担当者 and each
// line's 品番 and 品名) and the 品番 alone, each field apart from the next by
// a unit separator, so that no match spans two fields.
std::string searchText(const job::IssueRecord& record);
std::string partNumbers(const job::IssueRecord& record);

// The lines of one issue, in their order.
Expected<std::vector<job::IssuedLine>> lines(Database& db, std::string_view number, int revision);
// One issue with its lines (and its job unless asked not to), none when not there.
Expected<std::optional<StoredIssue>> storedIssue(Database& db, std::string_view number,
                                                 int revision, bool withJob = true);

// Whether a text is a date "2026-12-09" of the calendar.
bool isDate(std::string_view text);
// The sequence the next new quotation of `pattern` gets on `today` among the
// numbers the register holds (one more than the highest of that pattern and
// period).
Expected<std::int64_t> nextSequence(Database& db, std::string_view pattern, std::string_view today);

// The sentence for an issue the register does not hold.
std::string notInRegister(std::string_view number, int revision);

}  // namespace kelvane::ledger::sql
