#include "tools/batch/batch_run.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <future>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "core/winding_stack.h"
#include "tools/batch/batch.h"
#include "tools/batch/batch_csv.h"
#include "tools/batch/batch_encoding.h"

namespace kelvane::batch {
namespace {

// Rows computed as one task: enough to make handing them over cheap, few
// enough to keep all threads busy to the end. A part of long rows closes
// early, at kPartBytes.
constexpr std::size_t kRowsPerPart = 256;
constexpr std::size_t kPartBytes = std::size_t{1} << 20;
// Parts read ahead of the one being written, per thread, as long as their
// rows and output rows take no more than kBytesInFlight in all. Typical rows
// are a few hundred bytes: on a few threads only long or wide rows meet that
// bound, and it keeps them from filling memory however many threads there
// are.
constexpr std::size_t kPartsPerThread = 4;
constexpr std::size_t kBytesInFlight = std::size_t{32} << 20;
constexpr std::size_t kReadBytes = 1 << 16;
// The result cells of an output row, near enough.
constexpr std::size_t kResultRowBytes = 512;

// What a record takes in memory, near enough: a line of nothing but commas
// is a field of 32 bytes for every byte of its text.
std::size_t footprint(const CsvRecord& record) {
  std::size_t bytes = sizeof(CsvRecord) + record.fields.capacity() * sizeof(std::string);
  for (const std::string& field : record.fields) bytes += field.size();
  return bytes;
}

struct Part {
  std::string csv;
  std::uint64_t rows = 0;
  std::uint64_t failedRows = 0;
  std::vector<RowResult> kept;  // the rows' results, when BatchOptions::row asks for them
};

// The most threads started for each core, whatever -j asks for.
constexpr unsigned kThreadsPerCore = 4;

// Threads that run tasks in the order they are handed over.
class WorkerPool {
 public:
  // Starts as many of the threads as the system gives (a limit on memory or
  // processes may give fewer than asked, or none).
  explicit WorkerPool(unsigned threads) {
    try {
      for (unsigned i = 0; i < threads; ++i) threads_.emplace_back([this] { work(); });
    } catch (const std::system_error&) {
      // The threads started go on; a failed start leaves no thread behind.
    }
  }
  bool started() const { return !threads_.empty(); }
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

  // Reads until at least `count` records or `bytes` of them wait, or the
  // input ends.
  Expected<void> fill(std::size_t count, std::size_t bytes) {
    while (records_.size() < count && waitingBytes_ < bytes && !ended_) {
      const std::size_t before = records_.size();
      const Expected<std::size_t> n = read_(buffer_.data(), buffer_.size());
      if (!n) return n.failure();
      if (*n == 0) {
        reader_.feed(decoder_.finish(), records_);
        reader_.finish(records_);
        ended_ = true;
      } else {
        bytesRead_ += *n;
        reader_.feed(decoder_.decode(std::string_view(buffer_.data(), *n)), records_);
      }
      for (std::size_t i = before; i < records_.size(); ++i)
        waitingBytes_ += footprint(records_[i]);
    }
    return {};
  }

  // Takes the waiting records up to `count` of them or until they take
  // `bytes`, at least one, each with `rowBytes` on top for its output row;
  // `taken` is what they take.
  std::vector<CsvRecord> take(std::size_t count, std::size_t bytes, std::size_t rowBytes,
                              std::size_t& taken) {
    std::size_t n = 0;
    taken = 0;
    while (n < std::min(count, records_.size()) && (n == 0 || taken < bytes)) {
      const std::size_t record = footprint(records_[n++]);
      waitingBytes_ -= record;
      taken += record + rowBytes;
    }
    std::vector<CsvRecord> rows(std::make_move_iterator(records_.begin()),
                                std::make_move_iterator(records_.begin() + n));
    records_.erase(records_.begin(), records_.begin() + n);
    return rows;
  }

  // Takes on into `rows` the records that may be windings over the stack
  // their last row is part of, reading them first where they are not read
  // yet: a stack is never cut between two parts. A stack has no more rows
  // above its last row than kMostWindings - 1; a record beyond that cannot
  // join it whatever it holds.
  Expected<void> takeStackRows(std::vector<CsvRecord>& rows,
                               const std::function<bool(const CsvRecord&)>& continues,
                               std::size_t rowBytes, std::size_t& taken) {
    for (std::size_t more = 0; more + 1 < kMostWindings; ++more) {
      if (auto filled = fill(1, SIZE_MAX); !filled.ok()) return filled;
      if (records_.empty() || !continues(records_.front())) break;
      const std::size_t record = footprint(records_.front());
      waitingBytes_ -= record;
      taken += record + rowBytes;
      rows.push_back(std::move(records_.front()));
      records_.erase(records_.begin());
    }
    return {};
  }

  bool empty() const { return records_.empty(); }
  std::uint64_t bytesRead() const { return bytesRead_; }
  // What the records taken so far were written in.
  TextEncoding encoding() const { return decoder_.encoding(); }
  // The line telling which encoding was guessed, once it is (see
  // InputDecoder::guess); empty until then, and when none was.
  const std::string& encodingGuess() const { return decoder_.guess(); }

 private:
  const ReadBytes& read_;
  std::vector<char> buffer_;
  InputDecoder decoder_;
  CsvReader reader_;
  std::vector<CsvRecord> records_;
  std::size_t waitingBytes_ = 0;  // the footprint of records_
  bool ended_ = false;
  std::uint64_t bytesRead_ = 0;
};

}  // namespace

Expected<BatchSummary> runBatch(const ReadBytes& read, const WriteBytes& write,
                                const BatchOptions& options) {
  RecordSource source(read);
  if (auto filled = source.fill(1, kPartBytes); !filled.ok()) return filled.failure();
  if (source.empty()) {
    return Failure{
        "入力が空です。1 行目に列の名前を書いてください（kelvane-batch --header で出せます）。"};
  }
  const Expected<ColumnLayout> layout = [&]() -> Expected<ColumnLayout> {
    std::size_t bytes = 0;
    const CsvRecord header = std::move(source.take(1, 0, 0, bytes).front());
    if (header.fault != CsvFault::None) {
      return Failure{"1 行目の見出しが CSV として読めません。"};
    }
    Expected<ColumnLayout> read = ColumnLayout::fromHeader(header.fields, options.results);
    if (read && options.prices) read.value().priceWith(*options.prices);
    if (read && read->hasTerms() && !options.prices) {
      return Failure{
          "見出しに見積条件の列（線材単価、数量 など）があります。行ごとの見積条件は単価表の"
          "条件に重ねて使うので、--prices で単価表を指定してください。"};
    }
    return read;
  }();
  if (!layout) return layout.failure();
  if (auto missing = layout->missingInputs(); missing && options.notice) options.notice(*missing);
  // Which encoding the input was taken for, when the bytes only suggested
  // it, told as soon as it is settled: before the rows it was settled for.
  bool encodingTold = false;
  const auto tellEncoding = [&] {
    if (encodingTold || source.encodingGuess().empty()) return;
    encodingTold = true;
    if (options.notice) options.notice(source.encodingGuess());
  };
  tellEncoding();
  if (auto written = write("\xEF\xBB\xBF" + outputHeader(*layout)); !written.ok())
    return written.failure();

  // What an output row takes at least besides the row's own cells: a comma
  // for every column of the header, and the results. A header of many
  // columns makes even a short row long.
  const std::size_t outputRowBytes = layout->width() + kResultRowBytes;
  // Rows are computed, never waited for: beyond a few threads a core more
  // threads only cost memory (a stack each), and a huge -j would spend it all.
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const unsigned threads =
      options.threads ? std::min(options.threads, kThreadsPerCore * cores) : cores;
  BatchSummary summary;
  struct PartInFlight {
    std::future<Part> part;
    std::size_t bytes;  // the footprint of its rows
  };
  std::deque<PartInFlight> parts;
  std::size_t bytesInFlight = 0;
  std::uint64_t nextNumber = 2;  // the header is row 1

  auto writeFirstPart = [&]() -> Expected<void> {
    const Part part = parts.front().part.get();
    bytesInFlight -= parts.front().bytes;
    parts.pop_front();
    summary.rows += part.rows;
    summary.failedRows += part.failedRows;
    for (std::size_t i = 0; i < part.kept.size(); ++i)
      options.row(summary.rows - part.rows + 2 + i, part.kept[i]);
    if (auto written = write(part.csv); !written.ok()) return written;
    if (options.progress) options.progress(summary.rows, source.bytesRead());
    return {};
  };

  {
    WorkerPool pool(threads);
    if (!pool.started()) return Failure{"計算のスレッドを起動できません（システムの制限です）。"};
    for (;;) {
      if (auto filled = source.fill(kRowsPerPart, kPartBytes); !filled.ok())
        return filled.failure();
      tellEncoding();
      if (source.empty()) break;
      std::size_t bytes = 0;
      std::vector<CsvRecord> rows = source.take(kRowsPerPart, kPartBytes, outputRowBytes, bytes);
      if (layout->windingColumn()) {
        const auto continues = [&](const CsvRecord& r) { return mayContinueStack(*layout, r); };
        if (auto more = source.takeStackRows(rows, continues, outputRowBytes, bytes); !more.ok())
          return more.failure();
        tellEncoding();
      }
      const std::uint64_t first = nextNumber;
      nextNumber += rows.size();
      const TextEncoding encoding = source.encoding();
      const bool keep = static_cast<bool>(options.row);
      std::future<Part> computed = pool.submit([&, rows = std::move(rows), first, encoding, keep] {
        Part part;
        part.rows = rows.size();
        std::vector<RowResult> results = computeRows(*layout, rows, first, encoding, keep);
        for (std::size_t i = 0; i < rows.size(); ++i) {
          RowResult& result = results[i];
          if (result.failed) ++part.failedRows;
          appendOutputRow(part.csv, *layout, rows[i], result);
          if (keep) part.kept.push_back(std::move(result));
        }
        return part;
      });
      parts.push_back({std::move(computed), bytes});
      bytesInFlight += bytes;
      while (parts.size() >= threads * kPartsPerThread || bytesInFlight > kBytesInFlight) {
        if (auto written = writeFirstPart(); !written.ok()) return written.failure();
      }
    }
    while (!parts.empty()) {
      if (auto written = writeFirstPart(); !written.ok()) return written.failure();
    }
  }
  return summary;
}

}  // namespace kelvane::batch
