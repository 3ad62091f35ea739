#include "job/printable_text.h"

#include "core/typed_number.h"

namespace kelvane::job {
namespace {

// The length of the direction control at the start of `text`, or 0.
std::size_t directionControlAt(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  if (text.size() >= 2 && byte(0) == 0xD8 && byte(1) == 0x9C) return 2;  // U+061C
  if (text.size() < 3 || byte(0) != 0xE2) return 0;
  const unsigned char second = byte(1), third = byte(2);
  if (second == 0x80 && (third == 0x8E || third == 0x8F)) return 3;  // U+200E, U+200F
  if (second == 0x80 && third >= 0xAA && third <= 0xAE) return 3;    // U+202A..U+202E
  if (second == 0x81 && third >= 0xA6 && third <= 0xA9) return 3;    // U+2066..U+2069
  return 0;
}

}  // namespace

std::string withoutDirectionControls(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (const std::size_t skip = directionControlAt(text.substr(i))) {
      i += skip;
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::string withControlsEscaped(std::string_view text) {
  return visibleText(withoutDirectionControls(text));
}

}  // namespace kelvane::job
