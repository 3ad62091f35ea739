#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/expected.h"
#include "job/issue_record.h"

namespace kelvane::ledger {

class Database;

// Where the register lives: a file path (SQLite) or a PostgreSQL URL
// ("postgresql://…" or "postgres://…", as libpq reads it).
// The register of one PC when nothing else is named:
// $XDG_DATA_HOME/kelvane/register.sqlite3, else ~/.local/share/kelvane/….
std::string defaultRegisterLocation();
// The location the command line and the window use when the user named
// none: $KELVANE_REGISTER when set and not empty, else the default.
std::string registerLocationFromEnvironment();

// One issue as the register keeps it: the record, the job as it was issued
// (its .kelvane text) and when it was recorded.
struct StoredIssue {
  job::IssueRecord record;
  std::string jobText;     // the .kelvane text of the job as issued
  std::string recordedAt;  // ISO 8601, UTC, when the register took it
  bool operator==(const StoredIssue&) const = default;
};

// What a search asks for; every field left empty asks nothing.
struct IssueQuery {
  // Found in any of 見積番号, 顧客名, 件名, 担当者 or an item's 品番 / 品名
  // (a substring, letters' case and width as typed).
  std::string text;
  std::string quotationNumber;  // these: a substring of that field alone
  std::string customer;
  std::string subject;
  std::string personInCharge;
  std::string partNumber;                    // of any item
  std::string issuedFrom;                    // 発行日 from (inclusive), "2026-01-01"
  std::string issuedTo;                      // … to (inclusive)
  std::optional<std::int64_t> totalFromYen;  // 合計 from (inclusive)
  std::optional<std::int64_t> totalToYen;    // … to (inclusive)
  // Only the latest 版 of each quotation.
  bool latestOnly = false;
  std::size_t limit = 1000;  // the most rows returned, newest first
};

// A row of the ledger: an issue without its lines, job and PDF.
struct IssueSummary {
  std::string quotationNumber;
  int revision = 0;
  std::string issuedOn;
  std::string validUntil;
  std::string customer;
  std::string subject;
  std::string personInCharge;
  std::int64_t totalYen = 0;
  bool operator==(const IssueSummary&) const = default;
};

// What the one issuing hands over: the record with its number (empty: the
// register gives the next free one of `numberPattern`) and its 版 left to
// the register, and the job as issued.
struct IssueRequest {
  job::IssueRecord record;  // quotationNumber may be empty; revision is ignored
  std::string jobText;
  std::string numberPattern;  // for an empty number, e.g. "Q{yyyy}-{nnnn}"
};

// Makes the 見積書 of the record as numbered (its 版 and number final within
// the transaction): the PDF's bytes, after the caller has readied whatever
// else must happen with the issue (its file written but not yet in place, the
// pages sent to the printer). A failure leaves nothing recorded.
using IssueDocument = std::function<Expected<std::string>(const job::IssueRecord& numbered)>;

// The quotation register (見積台帳): every issued 版 of every quotation, in a
// database that one PC or a team shares. Every operation is one transaction;
// a failure is one Japanese sentence and changes nothing.
class Register {
 public:
  // Opens the register at `location` (see above), making it when it is a
  // file not there yet, and bringing an older schema up to this version.
  static Expected<std::unique_ptr<Register>> open(const std::string& location);
  // The same over a connection already made (a test's, which may stand
  // between the register and its database).
  static Expected<std::unique_ptr<Register>> open(std::unique_ptr<Database> database);
  ~Register();
  Register(const Register&) = delete;
  Register& operator=(const Register&) = delete;

  // Records the next issue of the request's quotation: 版 1 for a number the
  // register has not seen, else one more than its latest. The document is
  // made inside the transaction; the issue is recorded with its bytes only
  // when the document succeeds. Two issuing at once never get the same
  // number or 版 (a conflict is tried again). The record as recorded.
  Expected<job::IssueRecord> record(const IssueRequest& request, const IssueDocument& document);

  // The latest issue of a quotation number, none when it was never issued.
  Expected<std::optional<StoredIssue>> latest(std::string_view quotationNumber);
  // One issue, or the sentence saying it is not in the register.
  Expected<StoredIssue> issue(std::string_view quotationNumber, int revision);
  // The PDF's bytes of one issue.
  Expected<std::string> pdf(std::string_view quotationNumber, int revision);
  // The issues a query finds, newest 発行日 first (then number, then 版 down).
  Expected<std::vector<IssueSummary>> search(const IssueQuery& query);
  // The number the next new quotation of `pattern` would get on `today`
  // ("2026-12-09"): offered, not reserved.
  Expected<std::string> nextNumber(std::string_view pattern, std::string_view today);
  // Every issue with its lines (without the job and the PDF), oldest 発行日
  // first, then by number and 版: the whole ledger, for its CSV.
  Expected<std::vector<StoredIssue>> ledger();

  // Records issues from another register's ledger as they are, with their
  // own numbers and 版, in one transaction: an issue already here with the
  // same figures is skipped; one with other figures refuses the whole import,
  // naming it. An issue so taken has no job and no PDF.
  struct ImportSummary {
    std::size_t recorded = 0;
    std::size_t skipped = 0;
  };
  Expected<ImportSummary> import(const std::vector<StoredIssue>& issues);

 private:
  explicit Register(std::unique_ptr<Database> database);
  std::unique_ptr<Database> database_;
};

// The number `pattern` gives the `sequence`-th quotation on `today`:
// {yyyy} the year, {yy} its last two digits, {mm} the month, {n…n} the
// sequence with at least as many digits as n's. A pattern without {n…n}, or
// with a brace not of these, is refused.
Expected<std::string> numberFromPattern(std::string_view pattern, std::string_view today,
                                        std::int64_t sequence);

// The ledger as a spreadsheet reads it: UTF-8 with a BOM, CRLF, one row per
// item line of every issue (the issue's columns repeated on each).
std::string ledgerCsv(const std::vector<StoredIssue>& issues);
// The issues of a ledger's CSV as ledgerCsv writes it (a spreadsheet may
// have dropped the BOM or written LF alone); a malformed file is refused
// with a sentence naming its line.
Expected<std::vector<StoredIssue>> importLedgerCsv(std::string_view text);

}  // namespace kelvane::ledger
