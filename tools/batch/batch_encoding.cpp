#include "tools/batch/batch_encoding.h"

#include <iconv.h>

#include <cerrno>

namespace kelvane::batch {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The length of the well-formed UTF-8 character at the start of `text`: 0
// when it is not one, or -n when it is the first bytes of one of n bytes cut
// off by the end of the text.
int utf8Length(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  int length;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
  } else {
    return 0;
  }
  for (int i = 1; i < length; ++i) {
    if (static_cast<std::size_t>(i) >= text.size()) return -length;
    const unsigned char c = byte(i);
    if (i == 1 ? (c < low || c > high) : (c < 0x80 || c > 0xBF)) return 0;
  }
  return length;
}

}  // namespace

bool isUtf8(std::string_view text) { return firstNonUtf8Byte(text) == std::string_view::npos; }

std::size_t firstNonUtf8Byte(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size()) {
    const int n = utf8Length(text.substr(at));
    if (n <= 0) return at;
    at += static_cast<std::size_t>(n);
  }
  return std::string_view::npos;
}

std::string repairedUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const int n = utf8Length(text);
    if (n > 0) {
      out += text.substr(0, n);
      text.remove_prefix(n);
    } else {
      out += kReplacementCharacter;
      text.remove_prefix(1);
    }
  }
  return out;
}

InputDecoder::~InputDecoder() {
  if (converter_) iconv_close(static_cast<iconv_t>(converter_));
}

std::string InputDecoder::decode(std::string_view bytes) {
  std::string text = std::move(pending_);
  pending_.clear();
  text += bytes;

  if (!started_) {
    // A byte order mark may itself arrive in pieces.
    if (text.size() < kByteOrderMark.size() && kByteOrderMark.starts_with(text)) {
      pending_ = std::move(text);
      return {};
    }
    started_ = true;
    if (std::string_view(text).starts_with(kByteOrderMark)) {
      encoding_ = TextEncoding::Utf8;
      text.erase(0, kByteOrderMark.size());
    }
  }

  std::string ascii;  // what came before the first byte beyond ASCII
  if (encoding_ == TextEncoding::Undecided) {
    if (sample_.empty()) {
      std::size_t first = 0;
      while (first < text.size() && static_cast<unsigned char>(text[first]) < 0x80) ++first;
      if (first == text.size()) return text;
      ascii = text.substr(0, first);
      text.erase(0, first);
    }
    sample_ += text;
    if (sample_.size() < kEncodingSampleBytes) return ascii;
    // However the bytes arrived, the same ones decide.
    decide(std::string_view(sample_).substr(0, kEncodingSampleBytes), false);
    text = std::move(sample_);
    sample_.clear();
  }

  if (encoding_ == TextEncoding::ShiftJis) return ascii + fromShiftJis(text, false);
  return ascii + text;
}

void InputDecoder::decide(std::string_view sample, bool whole) {
  // Well-formed characters of more than one byte count only in a stretch of
  // bytes beyond ASCII that is UTF-8 throughout: Shift_JIS read as UTF-8
  // makes characters of the bytes beside a stray one (の は as 82 CC 82 CD
  // hold CC 82), rarely a whole stretch of them.
  std::size_t characters = 0;  // in stretches without a stray byte
  std::size_t strays = 0;      // bytes that are no UTF-8
  std::size_t stretchCharacters = 0;
  bool strayInStretch = false;
  const auto endStretch = [&] {
    if (!strayInStretch) characters += stretchCharacters;
    stretchCharacters = 0;
    strayInStretch = false;
  };
  while (!sample.empty()) {
    const int n = utf8Length(sample);
    if (n < 0 && !whole) break;  // a character the next bytes complete
    if (n == 1) endStretch();
    if (n > 1) ++stretchCharacters;
    if (n <= 0) {
      ++strays;
      strayInStretch = true;
    }
    sample.remove_prefix(n > 0 ? static_cast<std::size_t>(n) : 1);
  }
  endStretch();
  if (characters > 0 && strays <= characters) {
    encoding_ = TextEncoding::Utf8;
    if (strays > 0) {
      guess_ =
          "入力にはバイト順マークがありませんが、UTF-8 として読みました（UTF-8 として読めない"
          "バイトのある行は計算していません）。";
    }
  } else {
    encoding_ = TextEncoding::ShiftJis;
    guess_ =
        "入力にはバイト順マークがなく、UTF-8 としては読めないため、Shift_JIS（CP932）として"
        "読みました。";
  }
}

std::string InputDecoder::finish() {
  std::string rest = std::move(pending_);
  pending_.clear();
  if (encoding_ == TextEncoding::Undecided && !(sample_.empty() && rest.empty())) {
    // The file ended within the text held back (or within what could have
    // been a byte order mark): all of it decides, a character cut off by
    // the end being no UTF-8.
    rest = std::move(sample_) + rest;
    sample_.clear();
    decide(rest, true);
  }
  if (encoding_ == TextEncoding::ShiftJis) return fromShiftJis(rest, true);
  return rest;  // a cut-off character stays for isUtf8 to find
}

std::string InputDecoder::fromShiftJis(std::string_view bytes, bool last) {
  if (!converter_) {
    const iconv_t cd = iconv_open("UTF-8", "CP932");
    // iconv_open's failure is (iconv_t)-1, a pointer made of an integer.
    // NOLINTNEXTLINE(performance-no-int-to-ptr)
    if (cd == reinterpret_cast<iconv_t>(-1)) return repairedUtf8(bytes);
    converter_ = cd;
  }
  const auto cd = static_cast<iconv_t>(converter_);
  std::string out;
  char buffer[16384];
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char* to = buffer;
    std::size_t toLeft = sizeof buffer;
    const std::size_t done = iconv(cd, &in, &inLeft, &to, &toLeft);
    out.append(buffer, to);
    if (done != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    if (errno == EINVAL && !last) {
      // A double-byte character cut off at the end.
      pending_.assign(in, inLeft);
      break;
    }
    // A byte CP932 has no character for, or a lead byte at the very end.
    out += kReplacementCharacter;
    ++in;
    --inLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

}  // namespace kelvane::batch
