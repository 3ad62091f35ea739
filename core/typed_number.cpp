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

namespace {

// Control characters other than the blanks a box may hold: C0 but tab, line
// feed and carriage return; DEL; C1 (U+0080…U+009F, C2 80…C2 9F in UTF-8).
bool holdsControlCharacter(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if ((c < 0x20 && !isBlank(static_cast<char>(c))) || c == 0x7F) return true;
    if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
        static_cast<unsigned char>(text[i + 1]) <= 0x9F)
      return true;
  }
  return false;
}

// A unit as it is compared: full-width ASCII (U+FF01…U+FF5E) as ASCII, ASCII
// letters in lower case, the ohm sign U+2126 as the Greek omega.
std::string foldedUnit(std::string_view unit) {
  std::string out;
  std::size_t i = 0;
  while (i < unit.size()) {
    const std::string_view rest = unit.substr(i);
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(rest[k]); };
    if (rest.size() >= 3 && b(0) == 0xEF && (b(1) == 0xBC || b(1) == 0xBD)) {
      const int code = 0xF000 | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
      if (code >= 0xFF01 && code <= 0xFF5E) {
        out += static_cast<char>(code - 0xFF01 + 0x21);
        i += 3;
        continue;
      }
    }
    if (rest.substr(0, 3) == "\xE2\x84\xA6") {
      out += "\xCE\xA9";
      i += 3;
      continue;
    }
    const char c = unit[i++];
    out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return out;
}

}  // namespace

TypedNumber readTypedNumber(std::string_view text, std::span<const std::string_view> units) {
  const bool control = holdsControlCharacter(text);
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
  TypedNumber unclear;
  unclear.unclearComma = true;
  if (p < plain.size() && plain[p] == ',') {
    std::string grouped = plain.substr(0, p);
    const bool firstGroupFits = digits >= 1 && digits <= 3 && plain[i] != '0';
    while (firstGroupFits && p + 4 <= plain.size() && plain[p] == ',' && isDigit(plain[p + 1]) &&
           isDigit(plain[p + 2]) && isDigit(plain[p + 3]) &&
           (p + 4 == plain.size() || !isDigit(plain[p + 4]))) {
      grouped.append(plain, p + 1, 3);
      p += 4;
    }
    if (p < plain.size() && plain[p] == ',') return unclear;
    plain = grouped + plain.substr(p);
  }

  const LeadingNumber n = readLeadingNumberDetailed(plain);
  // A comma right after the number, or in place of one, is a decimal mark or
  // a list that the program would have to guess at.
  if (n.end < plain.size() && plain[n.end] == ',') return unclear;
  if (n.end == 0 && p < plain.size() && plain[p] == ',') return unclear;

  TypedNumber read{n.value, n.overflow, false, control, plain.empty() && !control};
  if (plain.empty() || n.end == plain.size()) return read;
  // Something is left: the number must be there, and what follows it one of
  // the box's units.
  bool unit = false;
  if (n.end > 0) {
    const std::string rest = foldedUnit(std::string_view(plain).substr(n.end));
    for (const std::string_view u : units) unit = unit || rest == foldedUnit(u);
  }
  read.notANumber = control || !unit;
  return read;
}

std::string visibleText(std::string_view text) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  const auto escape = [&out](unsigned char byte) {
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xF];
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool c1 = byte == 0xC2 && i + 1 < text.size() &&
                    static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(text[i + 1]) <= 0x9F;
    if (c1) {
      escape(byte);
      escape(static_cast<unsigned char>(text[++i]));
    } else if (byte < 0x20 || byte == 0x7F) {
      escape(byte);
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace kelvane
