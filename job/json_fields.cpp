#include "job/json_fields.h"

#include <cmath>
#include <cstdio>

#include "job/json_document.h"

namespace kelvane::job {
namespace {

using nlohmann::json;

Failure refusal(std::string message) { return Failure{std::move(message)}; }

// The offset of the first byte that does not belong to well-formed UTF-8
// (no overlong forms, no surrogates, nothing above U+10FFFF), or npos.
std::size_t firstInvalidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    int more = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      more = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      more = 2;
      if (b == 0xE0) lo = 0xA0;
      if (b == 0xED) hi = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      more = 3;
      if (b == 0xF0) lo = 0x90;
      if (b == 0xF4) hi = 0x8F;
    } else {
      return i;
    }
    if (s.size() - i <= static_cast<std::size_t>(more)) return i;  // cut short
    for (int k = 1; k <= more; ++k) {
      const auto c = static_cast<unsigned char>(s[i + k]);
      if (k == 1 ? (c < lo || c > hi) : (c < 0x80 || c > 0xBF)) return i;
    }
    i += more + 1;
  }
  return std::string_view::npos;
}

// Characters of well-formed UTF-8: every byte that does not continue one.
std::size_t charCount(std::string_view s) {
  std::size_t n = 0;
  for (char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

std::string lineOf(std::string_view text, std::size_t byte) {
  std::size_t line = 1;
  for (std::size_t i = 0; i < byte && i < text.size(); ++i) line += text[i] == '\n';
  return std::to_string(line);
}

Expected<json> parse(std::string_view text) {
  // The parser takes a NUL byte for the end of the text: a job followed by a
  // NUL and anything at all would read as the job alone.
  if (const auto nul = text.find('\0'); nul != std::string_view::npos)
    return refusal("JSON として読めません（" + lineOf(text, nul + 1) + " 行目）。");
  JsonDocument read = readJsonDocument(text, kMaxNesting);
  switch (read.fault) {
    case JsonDocument::Fault::None:
      return std::move(read.value);
    case JsonDocument::Fault::TooDeep:
      return refusal("入れ子が深すぎます（" + std::to_string(kMaxNesting) + " 段まで）。");
    case JsonDocument::Fault::NumberTooLarge:
      return refusal("JSON として読めません（扱えない大きさの数があります）。");
    case JsonDocument::Fault::Unreadable:
      break;
  }
  return refusal("JSON として読めません（" + lineOf(text, read.byte) + " 行目）。");
}

Expected<int> readFormatVersion(const json& root, const FileKind& kind) {
  const auto format = root.find("format");
  if (format == root.end() || !format->is_string() || *format != kind.format) {
    return refusal("Kelvane の" + std::string(kind.noun) + "ではありません（「format」が「" +
                   std::string(kind.format) + "」ではありません）。");
  }
  const auto version = root.find("formatVersion");
  if (version == root.end()) return refusal("形式の版（「formatVersion」）がありません。");
  // An integer as JSON counts them: 1.0 is one, and so is 2^64, too large
  // for any integer type; compared as a double, a version too large for an
  // int is still newer.
  const bool integral =
      version->is_number_integer() ||
      (version->is_number_float() && std::trunc(version->get<double>()) == version->get<double>());
  if (!integral) return refusal("形式の版（「formatVersion」）が整数ではありません。");
  const double v = version->is_number_unsigned() ? double(version->get<std::uint64_t>())
                                                 : version->get<double>();
  // Written as the integer it is: "1", not "1.0"; "18446744073709551616".
  char shown[400];
  std::snprintf(shown, sizeof shown, "%.0f", v);
  if (v > kind.version) {
    return refusal("新しい形式（版 " + std::string(shown) + "）の" + std::string(kind.noun) +
                   "です。この Kelvane が開けるのは版 " + std::to_string(kind.version) +
                   " までです。");
  }
  if (v < 1) return refusal("形式の版 " + std::string(shown) + " は正しくありません。");
  return static_cast<int>(v);
}

}  // namespace

std::string quotedKey(std::string_view key) { return "「" + std::string(key) + "」"; }

Expected<VersionedDocument> readVersionedDocument(std::string_view text, const FileKind& kind) {
  if (text.size() > kMaxFileBytes) {
    return refusal("ファイルが大きすぎます（" + std::string(kind.noun) + "は " +
                   std::to_string(kMaxFileBytes / (1024 * 1024)) + " MiB まで）。");
  }
  if (const std::size_t bad = firstInvalidUtf8(text); bad != std::string_view::npos) {
    return refusal("UTF-8 の文字として読めないバイトがあります（" + std::to_string(bad + 1) +
                   " バイト目）。");
  }
  Expected<json> parsed = parse(text);
  if (!parsed) return parsed.failure();
  if (!parsed->is_object()) {
    return refusal(std::string(kind.noun) +
                   "ではありません（全体が JSON のオブジェクトではありません）。");
  }
  const Expected<int> version = readFormatVersion(*parsed, kind);
  if (!version) return version.failure();
  return VersionedDocument{std::move(parsed.value()), *version};
}

Expected<std::string> readText(const json& object, std::string_view key, std::string_view path,
                               bool required) {
  const auto it = object.find(key);
  if (it == object.end()) {
    if (required) return refusal(quotedKey(path) + "がありません。");
    return std::string();
  }
  if (!it->is_string()) return refusal(quotedKey(path) + "が文字列ではありません。");
  std::string text = it->get<std::string>();
  if (charCount(text) > kMaxTextChars) {
    return refusal(quotedKey(path) + "が長すぎます（" + std::to_string(kMaxTextChars) +
                   " 文字まで）。");
  }
  return text;
}

Expected<double> readNumber(const json& object, std::string_view key, std::string_view path) {
  const auto it = object.find(key);
  if (it == object.end()) return refusal(quotedKey(path) + "がありません。");
  if (!it->is_number()) return refusal(quotedKey(path) + "が数ではありません。");
  return it->get<double>();
}

Expected<std::int64_t> readWhole(const json& value, std::string_view path, std::int64_t least,
                                 std::int64_t most) {
  const bool whole =
      value.is_number_integer() ||
      (value.is_number_float() && std::trunc(value.get<double>()) == value.get<double>());
  // Compared as doubles, so that 2^64 and -1e300 are out of range, not wrapped.
  const double v = !whole                       ? 0
                   : value.is_number_unsigned() ? double(value.get<std::uint64_t>())
                                                : value.get<double>();
  if (!whole || v < double(least) || v > double(most)) {
    return refusal(quotedKey(path) + "は " + std::to_string(least) + " から " +
                   std::to_string(most) + " までの整数です。");
  }
  return value.is_number_float() ? static_cast<std::int64_t>(v) : value.get<std::int64_t>();
}

Expected<const json*> readObject(const json& object, std::string_view key, std::string_view path,
                                 bool required) {
  static const json kEmpty = json::object();
  const auto it = object.find(key);
  if (it == object.end()) {
    if (required) return refusal(quotedKey(path) + "がありません。");
    return &kEmpty;
  }
  if (!it->is_object()) return refusal(quotedKey(path) + "がオブジェクトではありません。");
  return &*it;
}

bool isCalendarDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  int parts[3] = {0, 0, 0};
  const std::size_t starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
  for (int p = 0; p < 3; ++p) {
    for (std::size_t i = starts[p]; i < starts[p] + lengths[p]; ++i) {
      if (text[i] < '0' || text[i] > '9') return false;
      parts[p] = parts[p] * 10 + (text[i] - '0');
    }
  }
  const int year = parts[0], month = parts[1], day = parts[2];
  if (month < 1 || month > 12 || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

}  // namespace kelvane::job
