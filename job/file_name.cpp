#include "job/file_name.h"

#include "job/printable_text.h"

namespace kelvane::job {
namespace {

// Bytes of the stem, well below the 255 a name may have with its suffix.
constexpr std::size_t kMaxStemBytes = 200;

constexpr std::string_view kIdeographicSpace = "\u3000";

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// U+0080 … U+009F, the second set of control characters, in UTF-8.
bool isC1Control(std::string_view text, std::size_t i) {
  return i + 1 < text.size() && static_cast<unsigned char>(text[i]) == 0xC2 &&
         static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
         static_cast<unsigned char>(text[i + 1]) <= 0x9F;
}

// The length in bytes of what `text` starts with that is a blank or a
// control character, or 0.
std::size_t blankAt(std::string_view text) {
  if (text.empty()) return 0;
  const auto c = static_cast<unsigned char>(text[0]);
  if (c == ' ' || isControl(c)) return 1;
  if (isC1Control(text, 0)) return 2;
  if (text.starts_with(kIdeographicSpace)) return kIdeographicSpace.size();
  return 0;
}

std::string_view trimmed(std::string_view text) {
  while (const std::size_t n = blankAt(text)) text.remove_prefix(n);
  for (bool again = true; again && !text.empty();) {
    again = false;
    // A blank at the end: try each length a blank can have.
    for (const std::size_t n : {std::size_t(1), std::size_t(2), kIdeographicSpace.size()}) {
      if (n <= text.size() && blankAt(text.substr(text.size() - n)) == n) {
        text.remove_suffix(n);
        again = true;
        break;
      }
    }
  }
  return text;
}

// The field with every character no file system takes replaced.
std::string safePart(std::string_view field) {
  const std::string text = withoutDirectionControls(trimmed(field));
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (isC1Control(text, i)) {
      out += '_';
      ++i;
    } else if (isControl(c) ||
               std::string_view("/\\:*?\"<>|").find(char(c)) != std::string_view::npos) {
      out += '_';
    } else {
      out += char(c);
    }
  }
  return out;
}

// Cut at a character's first byte, never inside one.
void cutToWholeCharacters(std::string& text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return;
  std::size_t end = maxBytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
}

}  // namespace

std::string documentStem(std::string_view stem, std::string_view document) {
  if (document.empty()) return std::string(stem);
  return std::string(stem) + "_" + std::string(document);
}

std::string suggestedFileName(const Job& job, std::string_view suffix, std::string_view document) {
  const std::string quotation = safePart(job.fields.quotationNumber);
  const std::string part = job.items.size() == 1 ? safePart(job.items.front().partNumber) : "";
  std::string stem = quotation.empty() || part.empty() ? quotation + part : quotation + "_" + part;
  cutToWholeCharacters(stem, kMaxStemBytes);
  const std::size_t first = stem.find_first_not_of('.');
  stem.erase(0, first == std::string::npos ? stem.size() : first);
  while (!stem.empty() && (stem.back() == '.' || stem.back() == ' ')) stem.pop_back();
  if (stem.empty()) stem = "無題";
  return documentStem(stem, document) + "." + std::string(suffix);
}

}  // namespace kelvane::job
