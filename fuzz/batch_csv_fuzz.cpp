// The batch's CSV reader on arbitrary text: the same records however the
// text is cut into pieces, records that write back and read the same, and
// no record beyond the limit — never a crash, a hang or a leak. The first
// byte chooses the size of the pieces (its low five bits) and the limit on
// the length of a record (its high three: the batch's, or a few bytes to a
// few hundred, so that records over it are common).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_checks.h"
#include "job/csv_cell.h"
#include "tools/batch/batch_csv.h"

using namespace kelvane::batch;

namespace {

std::vector<CsvRecord> readInPieces(std::string_view text, std::size_t piece, std::size_t limit) {
  CsvReader reader(limit);
  std::vector<CsvRecord> records;
  for (std::size_t at = 0; at < text.size(); at += piece) {
    reader.feed(text.substr(at, piece), records);
  }
  reader.finish(records);
  return records;
}

bool same(const CsvRecord& a, const CsvRecord& b) {
  return a.fields == b.fields && a.fault == b.fault && a.faultField == b.faultField;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned mode = data[0];
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t piece = 1 + (mode & 0x1F);
  const std::size_t limit = (mode >> 5) == 0 ? kMaxRecordBytes : std::size_t{3} << (mode >> 5);

  const std::vector<CsvRecord> whole = readInPieces(text, text.size() + 1, limit);
  const std::vector<CsvRecord> pieces = readInPieces(text, piece, limit);
  FUZZ_CHECK(whole.size() == pieces.size());
  for (std::size_t i = 0; i < whole.size(); ++i) FUZZ_CHECK(same(whole[i], pieces[i]));

  std::size_t fieldBytes = 0;
  for (const CsvRecord& record : whole) {
    FUZZ_CHECK(!record.fields.empty() || record.fault != CsvFault::None);
    FUZZ_CHECK(record.faultField <= record.fields.size());
    FUZZ_CHECK(record.fields.size() <= limit + 1);
    std::size_t bytes = 0;
    for (const std::string& field : record.fields) bytes += field.size();
    FUZZ_CHECK(bytes <= limit);
    fieldBytes += bytes;
    if (record.fault != CsvFault::None) continue;
    // A record of one empty field is a blank line when written.
    if (record.fields.size() == 1 && record.fields[0].empty()) continue;
    std::string line;
    for (std::size_t f = 0; f < record.fields.size(); ++f) {
      if (f > 0) line += ',';
      kelvane::job::appendQuotedCell(line, record.fields[f]);
    }
    const std::vector<CsvRecord> again = readInPieces(line + "\r\n", line.size() + 2, limit);
    FUZZ_CHECK(again.size() == 1);
    FUZZ_CHECK(same(again[0], record));
  }
  FUZZ_CHECK(fieldBytes <= text.size());
  return 0;
}
