#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct csv_parser;

namespace kelvane::batch {

// Why a record could not be read as CSV.
enum class CsvFault {
  None,
  StrayQuote,     // a double quote inside an unquoted field, or text after a closing one
  UnclosedQuote,  // the text ended inside a quoted field
  TooLong,        // longer than kMaxRecordBytes
};

// A record of a CSV text, its fields as written (quotes removed, doubled
// quotes made single). A record that could not be read holds the fields
// read before the fault, and the field the fault was found in.
struct CsvRecord {
  std::vector<std::string> fields;
  CsvFault fault = CsvFault::None;
  std::size_t faultField = 0;  // from 0
};

// No record is longer, counting every byte of its text (commas, quotes and
// line breaks inside quotes too; not the line break that ends it): a file
// that never closes a quote, or a line of nothing but commas, costs no more
// memory than this.
inline constexpr std::size_t kMaxRecordBytes = 1 << 20;

// Reads the records of an RFC 4180 text handed over in pieces of any size:
// fields separated by commas, records by CR LF, LF or CR, a field in double
// quotes may hold commas, line breaks and doubled quotes. Blanks around a
// field belong to it. Lines without any character are no records. A record
// with a fault is handed on with it, and reading goes on after the end of
// that record: after its closing quote and line break, where it has them
// (a double quote inside an unquoted field, or text after a closing one,
// counts as a character there), so one bad record is one record told.
class CsvReader {
 public:
  // A reader of records up to `maxRecordBytes` long; only the fuzzer asks
  // for another limit than the batch's.
  explicit CsvReader(std::size_t maxRecordBytes = kMaxRecordBytes);
  ~CsvReader();
  CsvReader(const CsvReader&) = delete;
  CsvReader& operator=(const CsvReader&) = delete;

  // Reads the text; the records it completes are appended to `records`.
  void feed(std::string_view text, std::vector<CsvRecord>& records);
  // The end of the text: a last record without a line break is appended.
  void finish(std::vector<CsvRecord>& records);

 private:
  // Where the text read so far stands, for finding where a record ends
  // without the parser: the same grammar, but forgiving the faults the
  // parser stops at.
  enum class Place { RecordStart, FieldStart, Unquoted, Quoted, QuoteInQuoted };

  static void endField(void* data, std::size_t size, void* reader);
  static void endRecord(int terminator, void* reader);
  // How many bytes of `text`, at most `limit`, belong to the record being
  // read, and whether they end it (its line break is the last of them).
  std::size_t scan(std::string_view text, std::size_t limit, bool& ended);
  void restart();
  void fail(CsvFault fault, std::vector<CsvRecord>& records);

  csv_parser* parser_;
  std::size_t maxRecordBytes_;
  CsvRecord record_;             // the record being read
  std::size_t recordBytes_ = 0;  // the bytes of its text so far
  Place place_ = Place::RecordStart;
  std::vector<CsvRecord>* out_ = nullptr;
  bool skipping_ = false;  // after a fault: the rest of the record is no record
};

}  // namespace kelvane::batch
