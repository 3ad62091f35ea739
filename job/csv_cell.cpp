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

}  // namespace

std::string inertCell(std::string_view written) {
  const std::string cell = withoutDirectionControls(written);
  if (cell.empty()) return cell;
  switch (cell[0]) {
    case '+':
    case '-':
      if (isUnsignedNumber(std::string_view(cell).substr(1))) return cell;
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

}  // namespace kelvane::job
