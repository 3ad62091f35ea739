#include "tools/batch/batch_job.h"

#include "core/number_text.h"

namespace kelvane::batch {

void BatchJob::add(std::uint64_t number, const RowResult& row) {
  if (!fields_ && row.fields) fields_ = row.fields;
  if (row.failed) {
    ++failed_;
    if (failures_.size() < kToldFailures) {
      // A row that could not be read names its place; the press's refusal
      // of a coil does not.
      const std::string place = std::to_string(number) + " 行目";
      const std::string& message = row.cells.back();
      failures_.push_back(message.starts_with(place) ? message : place + ": " + message);
    }
    return;
  }
  // A winding above the first is in the item of its stack's first row.
  if (row.upperWinding) ++computed_;
  if (!row.item) return;  // a spacer, or a winding above the first
  ++computed_;
  ++itemCount_;
  // Beyond what a job holds the items are only counted: the job is refused.
  if (items_.size() <= job::kMaxItems) items_.push_back(*row.item);
}

Expected<job::Job> BatchJob::job(const std::optional<std::string>& customer,
                                 const std::optional<std::string>& quotationNumber) const {
  if (computed_ == 0) {
    return Failure{"計算できた行がないので、見積ファイルは書きませんでした。"};
  }
  if (itemCount_ > job::kMaxItems) {
    const std::string max = std::to_string(job::kMaxItems);
    const std::string rows = groupThousands(std::to_string(computed_));
    if (itemCount_ == computed_) {
      return Failure{"計算できた行が " + rows + " 行あります。一つの見積ファイルに入る品目は " +
                     max + " までなので、見積ファイルは書きませんでした。入力を " + max +
                     " 行ずつに分けてください。"};
    }
    return Failure{"計算できた行が " + rows + " 行、品目にして " +
                   groupThousands(std::to_string(itemCount_)) +
                   " あります。一つの見積ファイルに入る品目は " + max +
                   " までなので、見積ファイルは書きませんでした。入力を " + max +
                   " 品目ずつに分けてください。"};
  }
  job::Job job;
  if (fields_) job.fields = *fields_;
  if (customer) job.fields.customer = *customer;
  if (quotationNumber) job.fields.quotationNumber = *quotationNumber;
  job.items = items_;
  return job;
}

}  // namespace kelvane::batch
