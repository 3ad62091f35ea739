// The ledger as a spreadsheet reads it: one row per item line of every
// issue, the issue's columns repeated on each, money as the sheets write it
// ("149,300"; 単価 "149.30"). No CSV library: the browser page writes it too.
#include "job/csv_cell.h"
#include "job/quotation_rows.h"
#include "ledger/ledger_csv_columns.h"
#include "ledger/register.h"

#include <cstdint>

namespace kelvane::ledger {

namespace {

// Money and counts are never negative on a 見積書; one that is keeps its sign.
std::string wholeCell(std::int64_t n) {
  if (n < 0 && n != INT64_MIN) return "-" + job::wholeText(-n);
  return n < 0 ? std::to_string(n) : job::wholeText(n);
}
std::string senCell(std::int64_t sen) {
  if (sen < 0 && sen != INT64_MIN) return "-" + job::senText(-sen);
  return sen < 0 ? std::to_string(sen) : job::senText(sen);
}

void appendRow(std::string& out, const std::vector<std::string>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out += ',';
    job::appendQuotedCell(out, job::inertCell(cells[i]));
  }
  out += "\r\n";
}

}  // namespace

std::string ledgerCsv(const std::vector<StoredIssue>& issues) {
  std::string out(kLedgerBom);
  appendRow(out, std::vector<std::string>(kLedgerColumns.begin(), kLedgerColumns.end()));
  for (const StoredIssue& issue : issues) {
    const job::IssueRecord& r = issue.record;
    const std::vector<std::string> head = {r.quotationNumber, std::to_string(r.revision),
                                           r.issuedOn,        r.validUntil,
                                           r.customer,        r.subject,
                                           r.personInCharge};
    const std::vector<std::string> totals = {wholeCell(r.subtotalYen), wholeCell(r.taxYen),
                                             wholeCell(r.totalYen)};
    const auto row = [&](std::vector<std::string> line) {
      std::vector<std::string> cells = head;
      cells.insert(cells.end(), line.begin(), line.end());
      cells.insert(cells.end(), totals.begin(), totals.end());
      appendRow(out, cells);
    };
    // An issue without lines still has its row, its line's cells empty.
    if (r.lines.empty()) row({"", "", "", "", "", ""});
    for (std::size_t i = 0; i < r.lines.size(); ++i) {
      const job::IssuedLine& line = r.lines[i];
      row({std::to_string(i + 1), line.partNumber, line.name, wholeCell(line.quantity),
           senCell(line.unitPriceSen), wholeCell(line.amountYen)});
    }
  }
  return out;
}

}  // namespace kelvane::ledger
