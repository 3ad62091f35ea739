#include "ledger/issue_compare.h"

#include <gtest/gtest.h>

#include <cctype>

#include <string>
#include <vector>

namespace kelvane::ledger {
namespace {

using job::IssuedLine;
using job::IssueRecord;

IssuedLine line(std::string partNumber, std::string name, std::int64_t quantity,
                std::int64_t unitPriceSen) {
  return {std::move(partNumber), std::move(name), quantity, unitPriceSen,
          quantity * unitPriceSen / 100};
}

IssueRecord issueOf(std::vector<IssuedLine> lines) {
  IssueRecord record;
  record.quotationNumber = "Q2026-0001";
  for (const IssuedLine& l : lines) record.subtotalYen += l.amountYen;
  record.taxYen = record.subtotalYen / 10;
  record.totalYen = record.subtotalYen + record.taxYen;
  record.lines = std::move(lines);
  return record;
}

// A row as the test writes it: the change, then the 品番 or 品名 of the
// older line and of the newer one ("-" where there is none).
struct Row {
  LineChange change;
  std::string older;
  std::string newer;
  bool operator==(const Row&) const = default;
};

std::string nameOf(const std::optional<IssuedLine>& l) {
  if (!l) return "-";
  if (!l->partNumber.empty()) return l->partNumber;
  if (!l->name.empty()) return l->name;
  return "#" + std::to_string(l->quantity);  // an unnamed line, told by its 数量
}

std::vector<Row> rowsOf(const IssueComparison& c) {
  std::vector<Row> rows;
  for (const LineComparison& l : c.lines)
    rows.push_back({l.change, nameOf(l.older), nameOf(l.newer)});
  return rows;
}

void PrintTo(const Row& r, std::ostream* os) {
  *os << changeWord(r.change) << " " << r.older << " → " << r.newer;
}

struct Case {
  const char* name;
  std::vector<IssuedLine> older;
  std::vector<IssuedLine> newer;
  std::vector<Row> rows;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class CompareIssues : public testing::TestWithParam<Case> {};

TEST_P(CompareIssues, MatchesItemsAndSaysWhatChanged) {
  const Case& c = GetParam();
  EXPECT_EQ(rowsOf(compareIssues(issueOf(c.older), issueOf(c.newer))), c.rows);
}

using enum LineChange;

INSTANTIATE_TEST_SUITE_P(
    Rows, CompareIssues,
    testing::Values(Case{"unchanged",
                         {line("A-1", "コイル", 100, 12000), line("B-2", "トランス", 5, 99900)},
                         {line("A-1", "コイル", 100, 12000), line("B-2", "トランス", 5, 99900)},
                         {{Same, "A-1", "A-1"}, {Same, "B-2", "B-2"}}},
                    Case{"price and quantity changed, items reordered",
                         {line("A-1", "コイル", 100, 12000), line("B-2", "トランス", 5, 99900)},
                         {line("B-2", "トランス", 5, 99900), line("A-1", "コイル", 120, 11000)},
                         {{Same, "B-2", "B-2"}, {Changed, "A-1", "A-1"}}},
                    // A renamed item is still the item of its 品番.
                    Case{"renamed under its part number",
                         {line("A-1", "コイル", 100, 12000)},
                         {line("A-1", "コイル（改）", 100, 12000)},
                         {{Changed, "A-1", "A-1"}}},
                    // Two different 品番 are two items even under one name.
                    Case{"one name, two part numbers",
                         {line("A-1", "コイル", 100, 12000)},
                         {line("A-2", "コイル", 100, 12000)},
                         {{Removed, "A-1", "-"}, {Added, "-", "A-2"}}},
                    Case{"a part number given later to a named item",
                         {line("", "コイル", 100, 12000)},
                         {line("A-1", "コイル", 100, 12000)},
                         {{Changed, "コイル", "A-1"}}},
                    Case{"matched by name without part numbers",
                         {line("", "チョーク", 10, 5000), line("", "コイル", 100, 12000)},
                         {line("", "コイル", 100, 12500), line("", "チョーク", 10, 5000)},
                         {{Changed, "コイル", "コイル"}, {Same, "チョーク", "チョーク"}}},
                    Case{"unnamed items by position",
                         {line("", "", 1, 100), line("", "", 2, 100)},
                         {line("", "", 1, 100), line("", "", 3, 100), line("", "", 4, 100)},
                         {{Same, "#1", "#1"}, {Changed, "#2", "#3"}, {Added, "-", "#4"}}},
                    // A dropped item stays where it stood, after the item before it.
                    Case{"dropped in the middle and at the top",
                         {line("X", "", 1, 100), line("A", "", 1, 100), line("B", "", 1, 100),
                          line("C", "", 1, 100)},
                         {line("A", "", 1, 100), line("C", "", 1, 100), line("D", "", 1, 100)},
                         {{Removed, "X", "-"},
                          {Same, "A", "A"},
                          {Removed, "B", "-"},
                          {Same, "C", "C"},
                          {Added, "-", "D"}}},
                    // The same 品番 twice: the first with the first.
                    Case{"a part number twice",
                         {line("A", "", 1, 100), line("A", "", 2, 100)},
                         {line("A", "", 2, 100)},
                         {{Changed, "A", "A"}, {Removed, "A", "-"}}},
                    Case{"everything new", {}, {line("A", "", 1, 100)}, {{Added, "-", "A"}}},
                    Case{"everything dropped", {line("A", "", 1, 100)}, {}, {{Removed, "A", "-"}}}),
    [](const testing::TestParamInfo<Case>& info) {
      std::string name;
      for (const char* c = info.param.name; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
      return name;
    });

TEST(CompareIssues, KeepsBothLinesAndTheTotals) {
  const IssueRecord older = issueOf({line("A-1", "コイル", 100, 12000)});
  const IssueRecord newer = issueOf({line("A-1", "コイル", 120, 11000)});
  const IssueComparison c = compareIssues(older, newer);
  ASSERT_EQ(c.lines.size(), 1u);
  EXPECT_EQ(c.lines[0].older, older.lines[0]);
  EXPECT_EQ(c.lines[0].newer, newer.lines[0]);
  EXPECT_EQ(c.subtotalYen, (FigurePair{12000, 13200}));
  EXPECT_EQ(c.totalYen.difference(), 1320);
  EXPECT_EQ(c.taxYen, (FigurePair{1200, 1320}));
}

}  // namespace
}  // namespace kelvane::ledger
