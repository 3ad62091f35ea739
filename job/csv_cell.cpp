#include "job/csv_cell.h"

#include "job/printable_text.h"

namespace kelvane::job {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "1.5", "1,010.000", "2e-3": digits, grouping commas and one point before
// an optional exponent; at least one digit before the exponent.
bool isUnsignedNumber(std::string_view text) {
  bool digits = false;
  bool point = false;
  std::size_t i = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (isDigit(c)) {
      digits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else if (c != ',') {
      break;
    }
  }
  if (!digits) return false;
  if (i == text.size()) return true;
  if (text[i] != 'e' && text[i] != 'E') return false;
  std::string_view exponent = text.substr(i + 1);
  if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) exponent.remove_prefix(1);
  if (exponent.empty()) return false;
  for (const char c : exponent) {
    if (!isDigit(c)) return false;
  }
  return true;
}

// The length of what a spreadsheet may pass over before it looks for a
// formula at the start of `text`: a blank (a space, U+00A0, the ideographic
// space U+3000), a zero-width character (U+200B–U+200D, U+2060) or a byte
// order mark (U+FEFF); 0 when none is there. One that trims spaces on import
// reads 「 =1+1」 as =1+1.
std::size_t passedOverAt(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  if (text.empty()) return 0;
  if (text[0] == ' ') return 1;
  if (text.size() >= 2 && byte(0) == 0xC2 && byte(1) == 0xA0) return 2;  // U+00A0
  if (text.size() < 3) return 0;
  const unsigned char first = byte(0), second = byte(1), third = byte(2);
  if (first == 0xE3 && second == 0x80 && third == 0x80) return 3;                   // U+3000
  if (first == 0xE2 && second == 0x80 && third >= 0x8B && third <= 0x8D) return 3;  // U+200B..D
  if (first == 0xE2 && second == 0x81 && third == 0xA0) return 3;                   // U+2060
  if (first == 0xEF && second == 0xBB && third == 0xBF) return 3;                   // U+FEFF
  return 0;
}

// The full-width ＝ ＋ － ＠ (U+FF1D, U+FF0B, U+FF0D, U+FF20), which a
// spreadsheet with Japanese input turns into their ASCII forms.
bool startsWithWideFormulaSign(std::string_view text) {
  if (text.size() < 3 || static_cast<unsigned char>(text[0]) != 0xEF) return false;
  const auto second = static_cast<unsigned char>(text[1]);
  const auto third = static_cast<unsigned char>(text[2]);
  return second == 0xBC && (third == 0x9D || third == 0x8B || third == 0x8D || third == 0xA0);
}

}  // namespace

std::string inertCell(std::string_view written) {
  std::string cell = withoutDirectionControls(written);
  std::string_view rest = cell;
  while (const std::size_t skip = passedOverAt(rest)) rest.remove_prefix(skip);
  if (rest.empty()) return cell;
  if (startsWithWideFormulaSign(rest)) return "'" + cell;
  switch (rest[0]) {
    case '+':
    case '-':
      if (isUnsignedNumber(rest.substr(1))) return cell;
      break;
    case '=':
    case '@':
    case '\t':
    case '\r':
    case '\n':
      break;
    default:
      return cell;
  }
  return "'" + cell;
}

void appendQuotedCell(std::string& out, std::string_view cell, char separator) {
  const char special[] = {separator, '"', '\r', '\n', '\0'};
  if (cell.find_first_of(special) == std::string_view::npos) {
    out += cell;
    return;
  }
  out += '"';
  for (const char c : cell) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace kelvane::job
