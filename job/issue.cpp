#include "job/issue.h"

#include <chrono>
#include <cstdio>

#include "job/json_fields.h"

namespace kelvane::job {

std::optional<std::string> dayAfter(std::string_view day, int days) {
  using namespace std::chrono;
  if (!isCalendarDate(day)) return std::nullopt;
  const auto digits = [&](std::size_t at, std::size_t count) {
    unsigned n = 0;
    for (std::size_t i = at; i < at + count; ++i) n = n * 10 + unsigned(day[i] - '0');
    return n;
  };
  const year_month_day from{year{int(digits(0, 4))}, month{digits(5, 2)},
                            std::chrono::day{digits(8, 2)}};
  const year_month_day to{sys_days{from} + std::chrono::days{days}};
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", int(to.year()), unsigned(to.month()),
                unsigned(to.day()));
  return std::string(text);
}

IssueRecord issueRecord(const JobFields& fields, const RequestQuote& request,
                        const std::string& issuedOn) {
  IssueRecord record;
  record.quotationNumber = fields.quotationNumber;
  record.issuedOn = issuedOn;
  record.validUntil = dayAfter(issuedOn, fields.validDays).value_or("");
  record.customer = fields.customer;
  record.subject = fields.subject;
  record.personInCharge = fields.personInCharge;
  record.lines.reserve(request.items.size());
  for (const QuotedItem& item : request.items) {
    const LotPrice& lot = item.basis();
    record.lines.push_back(
        {item.partNumber, item.name, lot.quantity, lot.unitPriceSen, lot.amountYen});
  }
  record.subtotalYen = request.subtotalYen;
  record.taxYen = request.taxYen;
  record.totalYen = request.totalYen;
  return record;
}

namespace {

// The job without what an issue or a save changes (the number too: a job
// issued without one is given it by the register).
Job quoted(Job job) {
  job.fields.quotationNumber.clear();
  job.programVersion.clear();
  job.savedAt.clear();
  job.fields.revision = 0;
  job.fields.issuedOn.clear();
  job.issues.clear();
  return job;
}

}  // namespace

bool quotesTheSame(const Job& issued, const Job& now) { return quoted(issued) == quoted(now); }

Job withIssue(Job job, const IssueRecord& record) {
  job.fields.quotationNumber = record.quotationNumber;
  job.fields.revision = record.revision;
  job.fields.issuedOn = record.issuedOn;
  // A 版 issued again is the same issue: the history keeps it once.
  if (job.issues.empty() || job.issues.back().revision != record.revision ||
      job.issues.back().quotationNumber != record.quotationNumber)
    job.issues.push_back(record);
  if (job.issues.size() > kMaxIssues) job.issues.erase(job.issues.begin());
  return job;
}

}  // namespace kelvane::job
