#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/expected.h"
#include "job/price_list.h"
#include "tools/batch/batch.h"
#include "tools/batch/batch_columns.h"

namespace kelvane::batch {

// Reads up to `size` bytes into `buffer`: how many, 0 at the end of the
// input, or why it could not.
using ReadBytes = std::function<Expected<std::size_t>(char* buffer, std::size_t size)>;
// Writes all the bytes, or says why it could not.
using WriteBytes = std::function<Expected<void>(std::string_view bytes)>;

struct BatchOptions {
  unsigned threads = 0;  // the threads computing rows; 0 for one a core
  ResultStyle results = ResultStyle::Readable;
  // With a price list, every row is priced with it too (ColumnLayout::priceWith).
  std::optional<job::PriceList> prices;
  // Told once each, before the rows they concern, lines about the input for
  // the person running the batch: which input columns the header lacks (see
  // ColumnLayout::missingInputs), and which encoding the input was taken for
  // when that was guessed (see InputDecoder::guess).
  std::function<void(const std::string& line)> notice;
  // Told after each part of the output is written: the rows written and the
  // input bytes read so far.
  std::function<void(std::uint64_t rows, std::uint64_t bytesRead)> progress;
  // Told of every row below the header, in the input's order, on the thread
  // that called runBatch: its number in the file (the header is 1) and its
  // result with its item and fields kept (computeRow's keepItem).
  std::function<void(std::uint64_t number, const RowResult& row)> row;
};

struct BatchSummary {
  std::uint64_t rows = 0;  // below the header
  std::uint64_t failedRows = 0;
};

// Reads a CSV of coils, one a row under a header line, and writes the CSV of
// their results: UTF-8 with a byte order mark, RFC 4180, CR LF. The rows are
// read, computed (see computeRow) and written in parts, so memory stays the
// same however long the input is: the rows read and not yet written take
// some tens of megabytes at most, however long or wide they are, on any
// number of threads. The parts are computed side by side and written in the
// input's order. Fails, in a line for the command line, when
// the input cannot be read, has no usable header line (or one with columns
// of the 見積条件 but no price list to lay them over), or the output cannot
// be written; rows that fail are only counted.
Expected<BatchSummary> runBatch(const ReadBytes& read, const WriteBytes& write,
                                const BatchOptions& options = {});

}  // namespace kelvane::batch
