#include "ledger/issue_compare.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <tuple>

namespace kelvane::ledger {

std::string_view changeWord(LineChange change) {
  switch (change) {
    case LineChange::Added:
      return "追加";
    case LineChange::Removed:
      return "削除";
    case LineChange::Changed:
      return "変更";
    case LineChange::Same:
      break;
  }
  return "同じ";
}

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

bool unnamed(const job::IssuedLine& line) { return line.partNumber.empty() && line.name.empty(); }

bool samePartNumber(const job::IssuedLine& a, const job::IssuedLine& b) {
  return !a.partNumber.empty() && a.partNumber == b.partNumber;
}

// The same name, where the 品番 do not tell the two apart.
bool sameName(const job::IssuedLine& a, const job::IssuedLine& b) {
  return (a.partNumber.empty() || b.partNumber.empty()) && !a.name.empty() && a.name == b.name;
}

bool bothUnnamed(const job::IssuedLine& a, const job::IssuedLine& b) {
  return unnamed(a) && unnamed(b);
}

}  // namespace

IssueComparison compareIssues(const job::IssueRecord& older, const job::IssueRecord& newer) {
  const auto& was = older.lines;
  const auto& now = newer.lines;
  // partnerOf[n]: the older line the newer line n is, kNone for a new one.
  std::vector<std::size_t> partnerOf(now.size(), kNone);
  std::vector<bool> taken(was.size(), false);
  // Each pass pairs every newer line still alone with the first older line
  // still alone that the rule calls the same item.
  const auto pass =
      [&](const std::function<bool(const job::IssuedLine&, const job::IssuedLine&)>& sameItem) {
        for (std::size_t n = 0; n < now.size(); ++n) {
          if (partnerOf[n] != kNone) continue;
          for (std::size_t o = 0; o < was.size(); ++o) {
            if (!taken[o] && sameItem(was[o], now[n])) {
              partnerOf[n] = o;
              taken[o] = true;
              break;
            }
          }
        }
      };
  pass(samePartNumber);
  pass(sameName);
  pass(bothUnnamed);

  // Rows in the newer 版's order; a dropped line right after the row of the
  // older line before it that is still there (at the top when none is).
  struct Placed {
    std::size_t anchor;  // the newer row it follows, +1 (0: the top)
    std::size_t order;   // 0 for the newer row itself, else 1 + its older index
    LineComparison row;
  };
  std::vector<Placed> placed;
  placed.reserve(now.size() + was.size());
  std::vector<std::size_t> rowOfOlder(was.size(), kNone);
  for (std::size_t n = 0; n < now.size(); ++n) {
    LineComparison row;
    row.newer = now[n];
    if (partnerOf[n] == kNone) {
      row.change = LineChange::Added;
    } else {
      row.older = was[partnerOf[n]];
      row.change = *row.older == *row.newer ? LineChange::Same : LineChange::Changed;
      rowOfOlder[partnerOf[n]] = n;
    }
    placed.push_back({n + 1, 0, std::move(row)});
  }
  std::size_t anchor = 0;
  for (std::size_t o = 0; o < was.size(); ++o) {
    if (taken[o]) {
      anchor = rowOfOlder[o] + 1;
      continue;
    }
    LineComparison row;
    row.change = LineChange::Removed;
    row.older = was[o];
    placed.push_back({anchor, o + 1, std::move(row)});
  }
  std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
    return std::tie(a.anchor, a.order) < std::tie(b.anchor, b.order);
  });

  IssueComparison comparison;
  comparison.lines.reserve(placed.size());
  for (Placed& p : placed) comparison.lines.push_back(std::move(p.row));
  comparison.subtotalYen = {older.subtotalYen, newer.subtotalYen};
  comparison.taxYen = {older.taxYen, newer.taxYen};
  comparison.totalYen = {older.totalYen, newer.totalYen};
  return comparison;
}

}  // namespace kelvane::ledger
