#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "job/issue_record.h"

namespace kelvane::ledger {

// What became of an item line from one 版 of a quotation to a later one.
enum class LineChange {
  Added,    // 追加: only in the newer 版
  Removed,  // 削除: only in the older 版
  Changed,  // 変更: in both, with another 品番, 品名, 数量, 単価 or 金額
  Same,     // 同じ: in both, as it was
};

// The word the ledger shows for a change: 追加, 削除, 変更, 同じ.
std::string_view changeWord(LineChange change);

// One item of either 版: its line in each (none where it is missing).
struct LineComparison {
  LineChange change = LineChange::Same;
  std::optional<job::IssuedLine> older;
  std::optional<job::IssuedLine> newer;
  bool operator==(const LineComparison&) const = default;
};

// A figure in both 版.
struct FigurePair {
  std::int64_t older = 0;
  std::int64_t newer = 0;
  [[nodiscard]] std::int64_t difference() const { return newer - older; }
  bool operator==(const FigurePair&) const = default;
};

// Two 版 side by side: every item of either, in the newer 版's order with an
// item it dropped where it stood before, and the totals of both.
struct IssueComparison {
  std::vector<LineComparison> lines;
  FigurePair subtotalYen;  // 小計
  FigurePair taxYen;       // 消費税
  FigurePair totalYen;     // 合計
  bool operator==(const IssueComparison&) const = default;
};

// Which items, quantities and prices changed from `older` to `newer`. Two
// lines are one item when they have the same 品番; else, when one of them has
// no 品番, the same 品名; lines with neither, the unnamed items, are taken in
// their order. Two lines with different 品番 are never one item, whatever
// their names; of several lines alike, the first is matched first.
IssueComparison compareIssues(const job::IssueRecord& older, const job::IssueRecord& newer);

}  // namespace kelvane::ledger
