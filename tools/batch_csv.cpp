#include "tools/batch_csv.h"

#include <csv.h>

#include <algorithm>

namespace kelvane::batch {
namespace {

// Blanks are data: " 12" is what the box would hold.
int noBlanks(unsigned char) { return 0; }

// Grows a long field in large steps rather than the library's 128 bytes.
constexpr std::size_t kFieldBlock = 4096;

}  // namespace

CsvReader::CsvReader() : parser_(new csv_parser{}) {
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
  recordBytes_ = 0;
}

void CsvReader::endField(void* data, std::size_t size, void* reader) {
  auto* self = static_cast<CsvReader*>(reader);
  CsvRecord& record = self->record_;
  self->recordBytes_ += size;
  if (record.fault == CsvFault::None && self->recordBytes_ > kMaxRecordBytes) {
    record.fault = CsvFault::TooLong;
    record.faultField = record.fields.size();
  }
  // The fields of a record too long are not kept.
  if (record.fault != CsvFault::None) size = 0;
  record.fields.emplace_back(static_cast<const char*>(data), data ? size : 0);
}

void CsvReader::endRecord(int, void* reader) {
  auto* self = static_cast<CsvReader*>(reader);
  self->out_->push_back(std::move(self->record_));
  self->record_ = CsvRecord{};
  self->recordBytes_ = 0;
}

void CsvReader::fail(CsvFault fault, std::vector<CsvRecord>& records) {
  record_.fault = fault;
  record_.faultField = record_.fields.size();
  records.push_back(std::move(record_));
  restart();
}

void CsvReader::feed(std::string_view text, std::vector<CsvRecord>& records) {
  out_ = &records;
  while (!text.empty()) {
    if (skippingLine_) {
      const std::size_t end = text.find_first_of("\r\n");
      if (end == std::string_view::npos) return;
      skippingLine_ = false;
      text.remove_prefix(end);
    }
    // In pieces, so that a record growing past the limit is caught early.
    const std::string_view piece = text.substr(0, kMaxRecordBytes / 4);
    const std::size_t read =
        csv_parse(parser_, piece.data(), piece.size(), endField, endRecord, this);
    if (read < piece.size()) {
      // The parser stopped at the byte it could not take.
      fail(CsvFault::StrayQuote, records);
      skippingLine_ = true;
      text.remove_prefix(read);
      continue;
    }
    text.remove_prefix(read);
    // A record still growing past the limit, such as one in a quote that is
    // never closed (entry_pos: the bytes of the field being read).
    if (recordBytes_ + parser_->entry_pos > kMaxRecordBytes) {
      fail(CsvFault::TooLong, records);
      skippingLine_ = true;
    }
  }
}

void CsvReader::finish(std::vector<CsvRecord>& records) {
  out_ = &records;
  if (!skippingLine_ && csv_fini(parser_, endField, endRecord, this) != 0) {
    fail(CsvFault::UnclosedQuote, records);
  }
  restart();
  skippingLine_ = false;
}

void appendCsvField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace kelvane::batch
