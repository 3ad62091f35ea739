#include "core/typed_number.h"

#include <array>
#include <utility>

#include "core/number_text.h"

namespace kelvane {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The UTF-8 forms of the full-width characters and what they stand for.
const std::array<std::pair<std::string_view, char>, 7> kWideSigns = {{
    {"\xEF\xBC\x8E", '.'},  // ．
    {"\xEF\xBC\x8C", ','},  // ，
    {"\xEF\xBC\x8D", '-'},  // －
    {"\xEF\xBC\x8B", '+'},  // ＋
    {"\xE2\x88\x92", '-'},  // − minus sign
    {"\xEF\xBD\x85", 'e'},  // ｅ
    {"\xEF\xBC\xA5", 'E'},  // Ｅ
}};

}  // namespace

std::string toHalfWidth(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const std::string_view rest = text.substr(i);
    // Full-width digits ０…９ are U+FF10…U+FF19: EF BC 90…99.
    if (rest.size() >= 3 && rest[0] == '\xEF' && rest[1] == '\xBC' &&
        static_cast<unsigned char>(rest[2]) >= 0x90 &&
        static_cast<unsigned char>(rest[2]) <= 0x99) {
      out += static_cast<char>('0' + (static_cast<unsigned char>(rest[2]) - 0x90));
      i += 3;
      continue;
    }
    // The ideographic space U+3000.
    if (rest.substr(0, 3) == "\xE3\x80\x80") {
      out += ' ';
      i += 3;
      continue;
    }
    bool replaced = false;
    for (const auto& [wide, ascii] : kWideSigns) {
      if (rest.substr(0, wide.size()) == wide) {
        out += ascii;
        i += wide.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out += text[i++];
  }
  return out;
}

TypedNumber readTypedNumber(std::string_view text) {
  // Blanks are skipped wherever they stand, so they are dropped first.
  std::string plain;
  for (const char c : toHalfWidth(text)) {
    if (!isBlank(c)) plain += c;
  }

  // Digit groups: one to three digits, not starting with 0, then groups of
  // exactly three digits after each comma.
  std::size_t i = 0;
  if (i < plain.size() && (plain[i] == '+' || plain[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i + digits < plain.size() && isDigit(plain[i + digits])) ++digits;
  std::size_t p = i + digits;
  if (p < plain.size() && plain[p] == ',') {
    std::string grouped = plain.substr(0, p);
    const bool firstGroupFits = digits >= 1 && digits <= 3 && plain[i] != '0';
    while (firstGroupFits && p + 4 <= plain.size() && plain[p] == ',' && isDigit(plain[p + 1]) &&
           isDigit(plain[p + 2]) && isDigit(plain[p + 3]) &&
           (p + 4 == plain.size() || !isDigit(plain[p + 4]))) {
      grouped.append(plain, p + 1, 3);
      p += 4;
    }
    if (p < plain.size() && plain[p] == ',') return {0, false, true};
    plain = grouped + plain.substr(p);
  }

  const LeadingNumber n = readLeadingNumberDetailed(plain);
  // A comma right after the number, or in place of one, is a decimal mark or
  // a list that the program would have to guess at.
  if (n.end < plain.size() && plain[n.end] == ',') return {0, false, true};
  if (n.end == 0 && p < plain.size() && plain[p] == ',') return {0, false, true};
  return {n.value, n.overflow, false};
}

}  // namespace kelvane
