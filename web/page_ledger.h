#pragma once

// The page's own 見積台帳: every 版 the page issued, kept in the browser's
// storage as one JSON text, numbered by the register's rule, listed and
// written as the register's CSV, so that the desktop's register can take
// the issues of a PC that has only the page.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/expected.h"
#include "job/job.h"
#include "job/request_quote.h"
#include "ledger/register.h"

namespace kelvane::web {

// The ledger's text: {"format": "kelvane-page-ledger", "formatVersion": 1,
// "issues": [{"issue": the record as a job's "issues" hold it, "job": the
// job's text as issued, "recordedAt"}]}, oldest first. An empty text is an
// empty ledger; one that cannot be read is refused, never taken as empty.
Expected<std::vector<ledger::StoredIssue>> readPageLedger(std::string_view text);
std::string writePageLedger(const std::vector<ledger::StoredIssue>& issues);

// What 見積書を印刷 hands the customer: a new 版 to record, or the latest 版
// of the job's number printed again (再発行) because the job quotes what it
// quoted; that one records nothing.
struct PageIssue {
  job::IssueRecord record;
  bool reissue = false;
};

// The issue of `job`, priced as `request`, on `today` ("2026-12-09"): its
// number (the job's, or the next of `pattern` among the ledger's) and its 版
// (one above the ledger's latest of that number and the job's own), or the
// latest again when nothing has changed since. Refused past the last 版.
Expected<PageIssue> nextIssue(const std::vector<ledger::StoredIssue>& ledger, const job::Job& job,
                              const job::RequestQuote& request, const std::string& today,
                              std::string_view pattern);

// A row of the 見積台帳 dialog.
struct LedgerRow {
  ledger::IssueSummary summary;
  bool expired = false;  // 有効期限 before today
};

// The issues whose 見積番号, 顧客名, 件名, 担当者 or an item's 品番 / 品名
// hold `text` (all for an empty text), as the register lists them: newest
// 発行日 first, then the later number, then 版 down.
std::vector<LedgerRow> findIssues(const std::vector<ledger::StoredIssue>& ledger,
                                  std::string_view text, std::string_view today);

// The ledger as ledgerCsv wants it: oldest 発行日 first, then by number and 版.
std::vector<ledger::StoredIssue> inLedgerOrder(std::vector<ledger::StoredIssue> issues);

}  // namespace kelvane::web
