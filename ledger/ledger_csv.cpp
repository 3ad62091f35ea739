// The ledger's CSV read back (ledger_csv_writer.cpp writes it).
#include <csv.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <map>

#include "job/csv_cell.h"
#include "job/printable_text.h"
#include "ledger/ledger_csv_columns.h"
#include "ledger/register.h"

namespace kelvane::ledger {

namespace {

// A cell as the ledger held it: the apostrophe that kept a formula-like
// text ("=…", "-x") from being run by a spreadsheet is taken off again.
std::string heldText(std::string cell) {
  if (cell.size() > 1 && cell.front() == '\'' && job::inertCell(cell.substr(1)) == cell)
    cell.erase(0, 1);
  return cell;
}

// A whole number as wholeCell writes it ("1,234", "-5"; a 円 after it is
// taken), or with two decimals at most for sen ("149.3", "149.30").
std::optional<std::int64_t> readMoney(std::string_view cell, int decimals) {
  if (cell.ends_with("円")) cell.remove_suffix(std::string_view("円").size());
  std::string digits;
  bool negative = false;
  if (!cell.empty() && cell.front() == '-') {
    negative = true;
    cell.remove_prefix(1);
  }
  int fraction = -1;  // digits after the point, -1 before it
  for (const char c : cell) {
    if (c == ',' && fraction < 0) continue;
    if (c == '.' && decimals > 0 && fraction < 0) {
      fraction = 0;
      continue;
    }
    if (c < '0' || c > '9') return std::nullopt;
    if (fraction >= 0 && ++fraction > decimals) return std::nullopt;
    digits += c;
  }
  if (digits.empty()) return std::nullopt;
  for (int f = std::max(fraction, 0); f < decimals; ++f) digits += '0';
  std::int64_t n = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
  return negative ? -n : n;
}

int noBlanks(unsigned char) { return 0; }

// The records of the text, each with the line it starts on.
struct CsvRecord {
  std::vector<std::string> cells;
  std::size_t line = 0;
};

struct Reader {
  std::vector<CsvRecord> records;
  CsvRecord current;
  std::size_t line = 0;  // the physical line being read
  bool started = false;

  static void endField(void* data, std::size_t size, void* self) {
    auto* r = static_cast<Reader*>(self);
    if (!r->started) r->current.line = r->line;
    r->started = true;
    r->current.cells.emplace_back(static_cast<const char*>(data), data != nullptr ? size : 0);
  }
  static void endRecord(int, void* self) {
    auto* r = static_cast<Reader*>(self);
    r->records.push_back(std::move(r->current));
    r->current = CsvRecord{};
    r->started = false;
  }
};

Expected<std::vector<CsvRecord>> readRecords(std::string_view text) {
  csv_parser parser{};
  if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0)
    return Failure{"台帳の CSV を読むメモリーが足りません。"};
  csv_set_space_func(&parser, noBlanks);
  Reader reader;
  const auto failAt = [&](std::size_t line) {
    const std::string why = csv_error(&parser) == CSV_EPARSE ? "引用符の使い方が正しくありません"
                                                             : csv_strerror(csv_error(&parser));
    csv_free(&parser);
    return Failure{"台帳の CSV の " + std::to_string(line) + " 行目を読めません（" + why + "）。"};
  };
  // Fed a line at a time, so that a fault is told by its line.
  std::size_t from = 0;
  while (from < text.size()) {
    const std::size_t newline = text.find('\n', from);
    const std::size_t to = newline == std::string_view::npos ? text.size() : newline + 1;
    ++reader.line;
    const std::string_view piece = text.substr(from, to - from);
    if (csv_parse(&parser, piece.data(), piece.size(), Reader::endField, Reader::endRecord,
                  &reader) != piece.size()) {
      return failAt(reader.line);
    }
    from = to;
  }
  if (csv_fini(&parser, Reader::endField, Reader::endRecord, &reader) != 0)
    return failAt(reader.started ? reader.current.line : reader.line);
  csv_free(&parser);
  return std::move(reader.records);
}

Expected<std::vector<StoredIssue>> readLedgerCsv(std::string_view text);

// Where the first byte is that is no part of a well-formed UTF-8 character
// (an overlong form, a surrogate or beyond U+10FFFF counts as broken), or
// npos.
std::size_t firstBrokenUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    unsigned low = 0x80, high = 0xBF;  // the second byte's bounds
    if (b < 0x80) {
      length = 1;
    } else if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
      if (b == 0xE0) low = 0xA0;
      if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
      if (b == 0xF0) low = 0x90;
      if (b == 0xF4) high = 0x8F;
    } else {
      return i;
    }
    if (i + length > text.size()) return i;
    for (std::size_t k = 1; k < length; ++k) {
      const auto c = static_cast<unsigned char>(text[i + k]);
      if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return i;
    }
    i += length;
  }
  return std::string_view::npos;
}

}  // namespace

// A refusal quotes the cell it could not take, which may hold a line break
// or a terminal's control characters: they are written as their bytes, so
// the sentence stays one line.
Expected<std::vector<StoredIssue>> importLedgerCsv(std::string_view text) {
  Expected<std::vector<StoredIssue>> read = readLedgerCsv(text);
  if (!read) return Failure{job::withControlsEscaped(read.message())};
  return read;
}

namespace {

Expected<std::vector<StoredIssue>> readLedgerCsv(std::string_view text) {
  if (text.starts_with(kLedgerBom)) text.remove_prefix(kLedgerBom.size());
  // The ledger is UTF-8 (a spreadsheet that saved it as Shift_JIS is told
  // so), and no text of a quotation holds a NUL: texts that could not be
  // kept as read are refused, naming their line.
  const auto lineAt = [text](std::size_t at) {
    return std::to_string(1 + std::count(text.begin(), text.begin() + std::ptrdiff_t(at), '\n'));
  };
  if (const std::size_t broken = firstBrokenUtf8(text); broken != std::string_view::npos)
    return Failure{"台帳の CSV の " + lineAt(broken) + " 行目が UTF-8 ではありません。"};
  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos)
    return Failure{"台帳の CSV の " + lineAt(nul) + " 行目に NUL 文字があります。"};
  auto records = readRecords(text);
  if (!records) return records.failure();
  if (records->empty()) return Failure{"台帳の CSV が空です。"};
  const CsvRecord& header = records->front();
  if (!std::equal(header.cells.begin(), header.cells.end(), kLedgerColumns.begin(),
                  kLedgerColumns.end())) {
    return Failure{"台帳の CSV の " + std::to_string(header.line) +
                   " 行目が見積台帳の見出し（見積番号,版,発行日,…）ではありません。"};
  }
  std::vector<StoredIssue> issues;
  std::map<std::pair<std::string, int>, std::size_t> index;
  // The 行 of each issue's lines, to put them in order and find one twice.
  std::vector<std::map<std::int64_t, job::IssuedLine>> linesOf;
  std::vector<bool> withoutLines;
  for (std::size_t n = 1; n < records->size(); ++n) {
    const CsvRecord& record = (*records)[n];
    const std::string at = "台帳の CSV の " + std::to_string(record.line) + " 行目";
    if (record.cells.size() != kLedgerColumns.size()) {
      return Failure{at + "の列が " + std::to_string(record.cells.size()) + " あります（" +
                     std::to_string(kLedgerColumns.size()) + " 列のはずです）。"};
    }
    std::vector<std::string> c;
    for (const std::string& cell : record.cells) c.push_back(heldText(cell));
    const auto number = [&](std::size_t column, int decimals) -> Expected<std::int64_t> {
      auto read = readMoney(c[column], decimals);
      if (!read) {
        return Failure{at + "の" + std::string(kLedgerColumns[column]) + "「" + c[column] +
                       "」を読めません。"};
      }
      return *read;
    };
    job::IssueRecord r;
    r.quotationNumber = c[0];
    auto revision = number(1, 0);
    auto subtotal = number(13, 0);
    auto tax = number(14, 0);
    auto total = number(15, 0);
    for (const auto* read : {&revision, &subtotal, &tax, &total}) {
      if (!*read) return read->failure();
    }
    if (r.quotationNumber.empty()) return Failure{at + "に見積番号がありません。"};
    if (*revision < 1 || *revision > INT32_MAX)
      return Failure{at + "の版「" + c[1] + "」は 1 からの数ではありません。"};
    r.revision = static_cast<int>(*revision);
    r.issuedOn = c[2];
    r.validUntil = c[3];
    r.customer = c[4];
    r.subject = c[5];
    r.personInCharge = c[6];
    r.subtotalYen = *subtotal;
    r.taxYen = *tax;
    r.totalYen = *total;

    const auto key = std::pair(r.quotationNumber, r.revision);
    auto [found, fresh] = index.emplace(key, issues.size());
    if (fresh) {
      issues.push_back(StoredIssue{r, "", ""});
      linesOf.emplace_back();
      withoutLines.push_back(false);
    } else if (issues[found->second].record != r) {
      return Failure{at + "の見積番号「" + r.quotationNumber + "」第" + c[1] +
                     "版の欄が、同じ版の前の行と違います。"};
    }
    const std::size_t i = found->second;
    const bool noLine = std::all_of(c.begin() + 7, c.begin() + 13,
                                    [](const std::string& cell) { return cell.empty(); });
    if (noLine) {
      if (!fresh) return Failure{at + "は第" + c[1] + "版の 2 行目なのに品目がありません。"};
      withoutLines[i] = true;
      continue;
    }
    if (withoutLines[i]) return Failure{at + "の版は、品目のない行で始まっています。"};
    auto line = number(7, 0);
    auto quantity = number(10, 0);
    auto unitPrice = number(11, 2);
    auto amount = number(12, 0);
    for (const auto* read : {&line, &quantity, &unitPrice, &amount}) {
      if (!*read) return read->failure();
    }
    if (!linesOf[i]
             .emplace(*line, job::IssuedLine{c[8], c[9], *quantity, *unitPrice, *amount})
             .second) {
      return Failure{at + "の行「" + c[7] + "」は同じ版にもうあります。"};
    }
  }
  for (std::size_t i = 0; i < issues.size(); ++i) {
    for (auto& [line, item] : linesOf[i]) issues[i].record.lines.push_back(std::move(item));
  }
  return issues;
}

}  // namespace
}  // namespace kelvane::ledger
