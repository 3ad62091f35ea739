#include "tools/batch/batch_csv.h"

#include <csv.h>

#include <algorithm>

namespace kelvane::batch {
namespace {

// Blanks are data: " 12" is what the box would hold.
int noBlanks(unsigned char) { return 0; }

// Grows a long field in large steps rather than the library's 128 bytes.
constexpr std::size_t kFieldBlock = 4096;

}  // namespace

CsvReader::CsvReader(std::size_t maxRecordBytes)
    : parser_(new csv_parser{}), maxRecordBytes_(maxRecordBytes) {
  csv_init(parser_, 0);
  restart();
}

CsvReader::~CsvReader() {
  csv_free(parser_);
  delete parser_;
}

void CsvReader::restart() {
  csv_free(parser_);
  csv_init(parser_, CSV_STRICT | CSV_STRICT_FINI);
  csv_set_space_func(parser_, noBlanks);
  csv_set_blk_size(parser_, kFieldBlock);
  record_ = CsvRecord{};
}

void CsvReader::endField(void* data, std::size_t size, void* reader) {
  auto* self = static_cast<CsvReader*>(reader);
  self->record_.fields.emplace_back(static_cast<const char*>(data), data ? size : 0);
}

void CsvReader::endRecord(int, void* reader) {
  auto* self = static_cast<CsvReader*>(reader);
  self->out_->push_back(std::move(self->record_));
  self->record_ = CsvRecord{};
}

void CsvReader::fail(CsvFault fault, std::vector<CsvRecord>& records) {
  record_.fault = fault;
  record_.faultField = record_.fields.size();
  records.push_back(std::move(record_));
  restart();
  recordBytes_ = 0;
}

std::size_t CsvReader::scan(std::string_view text, std::size_t limit, bool& ended) {
  ended = false;
  const std::size_t end = std::min(text.size(), limit);
  std::size_t i = 0;
  while (i < end) {
    const char c = text[i++];
    const bool lineBreak = c == '\r' || c == '\n';
    switch (place_) {
      case Place::RecordStart:
      case Place::FieldStart:
        if (lineBreak) {
          ended = true;
        } else if (c == '"') {
          place_ = Place::Quoted;
        } else if (c != ',') {
          place_ = Place::Unquoted;
        } else {
          place_ = Place::FieldStart;
        }
        break;
      case Place::Unquoted:
        if (lineBreak) ended = true;
        if (c == ',') place_ = Place::FieldStart;
        break;
      case Place::Quoted:
        if (c == '"') place_ = Place::QuoteInQuoted;
        break;
      case Place::QuoteInQuoted:
        if (lineBreak) {
          ended = true;
        } else if (c == '"') {
          place_ = Place::Quoted;  // a doubled quote
        } else {
          place_ = c == ',' ? Place::FieldStart : Place::Unquoted;
        }
        break;
    }
    if (ended) {
      place_ = Place::RecordStart;
      return i;
    }
  }
  return i;
}

void CsvReader::feed(std::string_view text, std::vector<CsvRecord>& records) {
  out_ = &records;
  while (!text.empty()) {
    bool ended = false;
    if (skipping_) {
      text.remove_prefix(scan(text, text.size(), ended));
      if (ended) skipping_ = false;
      continue;
    }
    // One byte past the limit tells a record too long; its line break may
    // come on top.
    const std::size_t n = scan(text, maxRecordBytes_ - recordBytes_ + 1, ended);
    const std::string_view piece = text.substr(0, n);
    text.remove_prefix(n);
    recordBytes_ += ended ? n - 1 : n;
    if (recordBytes_ > maxRecordBytes_) {
      // The fields that fit are kept for the output row; the rest of the
      // record is read past. A fault in the part that fits comes first.
      const std::size_t fits = piece.size() - 1;
      const bool stray = csv_parse(parser_, piece.data(), fits, endField, endRecord, this) < fits;
      fail(stray ? CsvFault::StrayQuote : CsvFault::TooLong, records);
      skipping_ = true;
      continue;
    }
    const std::size_t read =
        csv_parse(parser_, piece.data(), piece.size(), endField, endRecord, this);
    if (read < piece.size()) {
      // The parser stopped at a byte it could not take.
      fail(CsvFault::StrayQuote, records);
      skipping_ = !ended;
    }
    if (ended) recordBytes_ = 0;
  }
}

void CsvReader::finish(std::vector<CsvRecord>& records) {
  out_ = &records;
  if (!skipping_ && csv_fini(parser_, endField, endRecord, this) != 0) {
    fail(CsvFault::UnclosedQuote, records);
  }
  restart();
  recordBytes_ = 0;
  place_ = Place::RecordStart;
  skipping_ = false;
}

}  // namespace kelvane::batch
