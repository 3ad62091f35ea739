#include "page_ledger.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "job/issue.h"
#include "job/issue_json.h"
#include "job/job_json.h"
#include "ledger/number_pattern.h"

namespace kelvane::web {

using nlohmann::json;

namespace {

constexpr std::string_view kFormat = "kelvane-page-ledger";
constexpr int kFormatVersion = 1;

Failure unreadable(const std::string& why) {
  return Failure{"ブラウザーに保存された見積台帳を読めません（" + why + "）。"};
}

bool holds(const std::string& field, std::string_view text) {
  return field.find(text) != std::string::npos;
}

}  // namespace

Expected<std::vector<ledger::StoredIssue>> readPageLedger(std::string_view text) {
  std::vector<ledger::StoredIssue> issues;
  if (text.empty()) return issues;
  const json root = json::parse(text, nullptr, false);
  if (!root.is_object() || root.value("format", std::string()) != kFormat)
    return unreadable("見積台帳の形式ではありません");
  if (!root.contains("formatVersion") || !root["formatVersion"].is_number_integer() ||
      root["formatVersion"].get<int>() > kFormatVersion)
    return unreadable("新しい版の形式です");
  const auto list = root.find("issues");
  if (list == root.end() || !list->is_array()) return unreadable("issues がありません");
  for (std::size_t i = 0; i < list->size(); ++i) {
    const json& entry = (*list)[i];
    const std::string at = "issues[" + std::to_string(i) + "]";
    if (!entry.is_object() || !entry.contains("issue"))
      return unreadable(at + " に発行がありません");
    Expected<job::IssueRecord> record = job::readIssue(entry["issue"], at + ".issue");
    if (!record) return unreadable(record.message());
    ledger::StoredIssue issue{*record, entry.value("job", std::string()),
                              entry.value("recordedAt", std::string())};
    issues.push_back(std::move(issue));
  }
  return issues;
}

std::string writePageLedger(const std::vector<ledger::StoredIssue>& issues) {
  json list = json::array();
  for (const ledger::StoredIssue& issue : issues) {
    list.push_back({{"issue", job::issueJson(issue.record)},
                    {"job", issue.jobText},
                    {"recordedAt", issue.recordedAt}});
  }
  return json{{"format", kFormat}, {"formatVersion", kFormatVersion}, {"issues", list}}.dump(
      -1, ' ', false, json::error_handler_t::replace);
}

Expected<PageIssue> nextIssue(const std::vector<ledger::StoredIssue>& ledger, const job::Job& job,
                              const job::RequestQuote& request, const std::string& today,
                              std::string_view pattern) {
  PageIssue issue;
  issue.record = job::issueRecord(job.fields, request, today);
  const std::string& number = job.fields.quotationNumber;
  if (number.empty()) {
    // A new quotation: the next number of the pattern among the ledger's.
    auto expanded = ledger::expand(pattern, today);
    if (!expanded) return expanded.failure();
    std::vector<std::string> numbers;
    for (const ledger::StoredIssue& s : ledger) numbers.push_back(s.record.quotationNumber);
    auto sequence = ledger::nextSequenceAmong(pattern, *expanded, numbers);
    if (!sequence) return sequence.failure();
    auto given = ledger::numberFromPattern(pattern, today, *sequence);
    if (!given) return given.failure();
    issue.record.quotationNumber = *given;
    issue.record.revision = 1;
    return issue;
  }
  const ledger::StoredIssue* latest = nullptr;
  for (const ledger::StoredIssue& s : ledger) {
    if (s.record.quotationNumber == number &&
        (latest == nullptr || s.record.revision > latest->record.revision))
      latest = &s;
  }
  // A job issued before this page knew it goes on from its own 版.
  const int before = std::max(job.fields.revision, latest ? latest->record.revision : 0);
  if (before >= job::kMaxRevision)
    return Failure{"見積番号「" + number + "」は第" + std::to_string(job::kMaxRevision) +
                   "版まで発行済みです。新しい見積番号で作成してください。"};
  if (latest != nullptr && latest->record.revision >= before) {
    const Expected<job::Job> issued = job::readJob(latest->jobText);
    if (issued && job::quotesTheSame(*issued, job)) {
      issue.record = latest->record;
      issue.reissue = true;
      return issue;
    }
  }
  issue.record.revision = before + 1;
  return issue;
}

std::vector<LedgerRow> findIssues(const std::vector<ledger::StoredIssue>& ledger,
                                  std::string_view text, std::string_view today) {
  std::vector<LedgerRow> rows;
  for (const ledger::StoredIssue& s : ledger) {
    const job::IssueRecord& r = s.record;
    const bool found =
        text.empty() || holds(r.quotationNumber, text) || holds(r.customer, text) ||
        holds(r.subject, text) || holds(r.personInCharge, text) ||
        std::any_of(r.lines.begin(), r.lines.end(), [&](const job::IssuedLine& line) {
          return holds(line.partNumber, text) || holds(line.name, text);
        });
    if (!found) continue;
    rows.push_back({{r.quotationNumber, r.revision, r.issuedOn, r.validUntil, r.customer, r.subject,
                     r.personInCharge, r.totalYen},
                    !r.validUntil.empty() && r.validUntil < today});
  }
  std::stable_sort(rows.begin(), rows.end(), [](const LedgerRow& a, const LedgerRow& b) {
    const ledger::IssueSummary& x = a.summary;
    const ledger::IssueSummary& y = b.summary;
    if (x.issuedOn != y.issuedOn) return x.issuedOn > y.issuedOn;
    if (x.quotationNumber != y.quotationNumber) return x.quotationNumber > y.quotationNumber;
    return x.revision > y.revision;
  });
  return rows;
}

std::vector<ledger::StoredIssue> inLedgerOrder(std::vector<ledger::StoredIssue> issues) {
  std::stable_sort(issues.begin(), issues.end(),
                   [](const ledger::StoredIssue& a, const ledger::StoredIssue& b) {
                     const job::IssueRecord& x = a.record;
                     const job::IssueRecord& y = b.record;
                     if (x.issuedOn != y.issuedOn) return x.issuedOn < y.issuedOn;
                     if (x.quotationNumber != y.quotationNumber)
                       return x.quotationNumber < y.quotationNumber;
                     return x.revision < y.revision;
                   });
  return issues;
}

}  // namespace kelvane::web
