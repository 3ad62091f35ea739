#include "tools/batch_run.h"

#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "tools/batch.h"
#include "tools/batch_csv.h"
#include "tools/batch_encoding.h"

namespace kelvane::batch {
namespace {

// Rows computed as one task: enough to make handing them over cheap, few
// enough to keep all threads busy to the end.
constexpr std::size_t kRowsPerPart = 256;
// Parts read ahead of the one being written, per thread.
constexpr std::size_t kPartsPerThread = 4;
constexpr std::size_t kReadBytes = 1 << 16;

struct Part {
  std::string csv;
  std::uint64_t rows = 0;
  std::uint64_t failedRows = 0;
};

// Threads that run tasks in the order they are handed over.
class WorkerPool {
 public:
  explicit WorkerPool(unsigned threads) {
    for (unsigned i = 0; i < threads; ++i) threads_.emplace_back([this] { work(); });
  }
  // Tasks not yet begun are dropped.
  ~WorkerPool() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_) t.join();
  }

  std::future<Part> submit(std::function<Part()> task) {
    std::packaged_task<Part()> packaged(std::move(task));
    std::future<Part> result = packaged.get_future();
    {
      std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(packaged));
    }
    wake_.notify_one();
    return result;
  }

 private:
  void work() {
    for (;;) {
      std::packaged_task<Part()> task;
      {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
        if (stopping_) return;
        task = std::move(tasks_.front());
        tasks_.pop_front();
      }
      task();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::packaged_task<Part()>> tasks_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

// The records of the input as they are read.
class RecordSource {
 public:
  explicit RecordSource(const ReadBytes& read) : read_(read), buffer_(kReadBytes) {}

  // Reads until at least `count` records wait or the input ends.
  std::optional<std::string> fill(std::size_t count) {
    while (records_.size() < count && !ended_) {
      const Expected<std::size_t> n = read_(buffer_.data(), buffer_.size());
      if (!n) return n.message();
      if (*n == 0) {
        reader_.feed(decoder_.finish(), records_);
        reader_.finish(records_);
        ended_ = true;
      } else {
        bytesRead_ += *n;
        reader_.feed(decoder_.decode(std::string_view(buffer_.data(), *n)), records_);
      }
    }
    return std::nullopt;
  }

  // Takes up to `count` of the waiting records.
  std::vector<CsvRecord> take(std::size_t count) {
    count = std::min(count, records_.size());
    std::vector<CsvRecord> taken(std::make_move_iterator(records_.begin()),
                                 std::make_move_iterator(records_.begin() + count));
    records_.erase(records_.begin(), records_.begin() + count);
    return taken;
  }

  bool empty() const { return records_.empty(); }
  std::uint64_t bytesRead() const { return bytesRead_; }
  // What the records taken so far were written in.
  TextEncoding encoding() const { return decoder_.encoding(); }

 private:
  const ReadBytes& read_;
  std::vector<char> buffer_;
  InputDecoder decoder_;
  CsvReader reader_;
  std::vector<CsvRecord> records_;
  bool ended_ = false;
  std::uint64_t bytesRead_ = 0;
};

}  // namespace

Expected<BatchSummary> runBatch(const ReadBytes& read, const WriteBytes& write,
                                const BatchOptions& options) {
  RecordSource source(read);
  if (auto error = source.fill(1)) return Failure{*error};
  if (source.empty()) {
    return Failure{
        "the input is empty: its first line must name the columns "
        "(kelvane-batch --header prints them)"};
  }
  const CsvRecord header = std::move(source.take(1).front());
  if (header.fault != CsvFault::None) return Failure{"the first line is not readable as CSV"};
  const Expected<ColumnLayout> layout = ColumnLayout::fromHeader(header.fields);
  if (!layout) return layout.failure();
  if (auto error = write("\xEF\xBB\xBF" + outputHeader(*layout))) return Failure{*error};

  // Every row starts from the form as the window opens.
  const form::Form1 fresh;
  const unsigned threads =
      options.threads ? options.threads : std::max(1u, std::thread::hardware_concurrency());
  BatchSummary summary;
  std::deque<std::future<Part>> parts;
  std::uint64_t nextNumber = 2;  // the header is row 1

  auto writeFirstPart = [&]() -> std::optional<std::string> {
    const Part part = parts.front().get();
    parts.pop_front();
    summary.rows += part.rows;
    summary.failedRows += part.failedRows;
    if (auto error = write(part.csv)) return error;
    if (options.progress) options.progress(summary.rows, source.bytesRead());
    return std::nullopt;
  };

  {
    WorkerPool pool(threads);
    for (;;) {
      if (auto error = source.fill(kRowsPerPart)) return Failure{*error};
      if (source.empty()) break;
      std::vector<CsvRecord> rows = source.take(kRowsPerPart);
      const std::uint64_t first = nextNumber;
      nextNumber += rows.size();
      const TextEncoding encoding = source.encoding();
      parts.push_back(pool.submit([&, rows = std::move(rows), first, encoding] {
        Part part;
        part.rows = rows.size();
        for (std::size_t i = 0; i < rows.size(); ++i) {
          const RowResult result = computeRow(*layout, rows[i], first + i, fresh, encoding);
          if (result.failed) ++part.failedRows;
          appendOutputRow(part.csv, *layout, rows[i], result);
        }
        return part;
      }));
      while (parts.size() >= threads * kPartsPerThread) {
        if (auto error = writeFirstPart()) return Failure{*error};
      }
    }
    while (!parts.empty()) {
      if (auto error = writeFirstPart()) return Failure{*error};
    }
  }
  return summary;
}

}  // namespace kelvane::batch
