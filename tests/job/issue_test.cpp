#include "job/issue.h"

#include <gtest/gtest.h>

#include "job_fixtures.h"

namespace kelvane::job {
namespace {

TEST(DayAfter, CountsOverMonthsYearsAndLeapDays) {
  const struct {
    const char* day;
    int days;
    std::optional<std::string> after;
  } rows[] = {{"2026-12-09", 30, "2027-01-08"},   {"2028-02-28", 1, "2028-02-29"},
              {"2100-02-28", 1, "2100-03-01"},    {"2026-12-09", 0, "2026-12-09"},
              {"2026-01-31", 3650, "2036-01-29"}, {"2026-02-30", 1, std::nullopt},
              {"2026/12/09", 1, std::nullopt},    {"", 1, std::nullopt}};
  for (const auto& row : rows) EXPECT_EQ(dayAfter(row.day, row.days), row.after) << row.day;
}

TEST(IssueRecord, HoldsEveryItemsBasisLineAndTheTotals) {
  JobFields fields;
  fields.quotationNumber = "Q2026-0012";
  fields.customer = "東和電機";
  fields.validDays = 30;
  RequestQuote request;
  Quote quote;
  quote.lots = {{100, 0, 0, 0, 0, 5050, 5050}, {1000, 0, 0, 0, 0, 4000, 40000}};
  request.items = {{"KC-1", "一次", quote, 1}, {"KC-2", "二次", quote, 0}};
  request.subtotalYen = 45050;
  request.taxYen = 4505;
  request.totalYen = 49555;
  const IssueRecord record = issueRecord(fields, request, "2026-12-09");
  EXPECT_EQ(record.validUntil, "2027-01-08");
  ASSERT_EQ(record.lines.size(), 2u);
  EXPECT_EQ(record.lines[0], (IssuedLine{"KC-1", "一次", 1000, 4000, 40000}));
  EXPECT_EQ(record.lines[1], (IssuedLine{"KC-2", "二次", 100, 5050, 5050}));
  EXPECT_EQ(record.totalYen, 49555);
  EXPECT_EQ(record.revision, 0);  // the register gives it
}

// A job quotes the same after a save or an issue; any change to what the
// customer reads or to an item makes it another 版.
TEST(QuotesTheSame, OnlyWhatTheCustomerIsQuotedCounts) {
  const Job issued = test::sampleJobs()[5].job;
  Job same = issued;
  same.savedAt = "2027-01-01T00:00:00Z";
  same.fields.revision = 9;
  same.fields.issuedOn = "2027-01-01";
  same.fields.quotationNumber.clear();  // issued before the register numbered it
  same.issues.clear();
  EXPECT_TRUE(quotesTheSame(issued, same));
  Job quantity = issued;
  quantity.items[1].terms->quantities[0] = 101;
  Job subject = issued;
  subject.fields.subject += "（改）";
  Job turns = issued;
  turns.items[0].input(InputBox::Turns) = "401";
  for (const Job& changed : {quantity, subject, turns})
    EXPECT_FALSE(quotesTheSame(issued, changed));
}

TEST(WithIssue, KeepsEachVersionOnceAndTheLatestInTheFields) {
  Job job = test::designJob();
  IssueRecord first;
  first.quotationNumber = "Q2026-0001";
  first.revision = 1;
  first.issuedOn = "2026-12-09";
  first.validUntil = "2027-01-08";
  first.lines = {{"KC", "", 1, 100, 1}};
  job = withIssue(job, first);
  job = withIssue(job, first);  // printed again
  IssueRecord second = first;
  second.revision = 2;
  second.issuedOn = "2026-12-10";
  job = withIssue(job, second);
  ASSERT_EQ(job.issues.size(), 2u);
  EXPECT_EQ(job.fields.quotationNumber, "Q2026-0001");
  EXPECT_EQ(job.fields.revision, 2);
  EXPECT_EQ(job.fields.issuedOn, "2026-12-10");
}

}  // namespace
}  // namespace kelvane::job
