#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "job/issue_record.h"
#include "job/job.h"
#include "job/request_quote.h"

namespace kelvane::job {

// The most 版 a quotation's history keeps: one for each of its revisions.
inline constexpr std::size_t kMaxIssues = 999;

// The day `days` after `day` ("2026-12-09" + 30 → "2027-01-08"); none for a
// text that is no day of the calendar.
std::optional<std::string> dayAfter(std::string_view day, int days);

// What the 見積書 of the priced request hands the customer, issued on
// `issuedOn` under the job's number (empty until the register gives one):
// its names, every item's basis line and the totals. The 版 is left at 0 for
// the register to give.
IssueRecord issueRecord(const JobFields& fields, const RequestQuote& request,
                        const std::string& issuedOn);

// Whether a job quotes what an issued one of its number quoted: the same
// fields and the same items, whatever was saved when, under which 版, or
// issued since.
bool quotesTheSame(const Job& issued, const Job& now);

// The job after an issue: the record kept as its latest, its number, 版 and
// 発行日 taken from it.
Job withIssue(Job job, const IssueRecord& record);

}  // namespace kelvane::job
