#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/expected.h"
#include "job/job.h"
#include "tools/batch/batch.h"

namespace kelvane::batch {

// The job --job writes: the customer's request with one item for each row
// the batch computed, or for each stack of rows (its windings), in the
// input's order. A row that failed is no item.
class BatchJob {
 public:
  // Takes a row as the batch tells it (BatchOptions::row): its number in the
  // file and its result with the item and fields kept.
  void add(std::uint64_t number, const RowResult& row);

  std::uint64_t computedRows() const { return computed_; }
  std::uint64_t items() const { return itemCount_; }
  std::uint64_t failedRows() const { return failed_; }
  // The messages of the first rows that failed (at most kToldFailures), each
  // beginning with the row's place: "5 行目: 素線径(d)を入力してください。".
  static constexpr std::size_t kToldFailures = 10;
  const std::vector<std::string>& failures() const { return failures_; }

  // The job: its fields from the first row that could be read (顧客名,
  // 見積番号, 担当者, 使用温度), `customer` and `quotationNumber` over them
  // when given; its items the rows computed. Refused, in a line for the
  // command line, when no row was computed or more items than a job holds
  // (job::kMaxItems).
  Expected<job::Job> job(const std::optional<std::string>& customer,
                         const std::optional<std::string>& quotationNumber) const;

 private:
  std::vector<job::Item> items_;  // the first kMaxItems + 1 of them
  std::optional<job::JobFields> fields_;
  std::uint64_t computed_ = 0;
  std::uint64_t itemCount_ = 0;
  std::uint64_t failed_ = 0;
  std::vector<std::string> failures_;
};

}  // namespace kelvane::batch
