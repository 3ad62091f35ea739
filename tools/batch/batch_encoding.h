#pragma once

#include <string>
#include <string_view>

namespace kelvane::batch {

// What the bytes of an input file are taken to be.
enum class TextEncoding {
  Undecided,  // nothing but ASCII so far: either reads the same
  Utf8,
  ShiftJis,  // as Windows writes it (CP932)
};

// Turns the bytes of a file into UTF-8 as they arrive. A byte order mark
// means UTF-8 and is dropped. Otherwise the first character beyond ASCII
// decides, and only it: a well-formed UTF-8 character means UTF-8, anything
// else Shift_JIS, which is what spreadsheet programs on Japanese Windows
// write. UTF-8 is passed on unchecked, so a later byte that is no UTF-8
// spoils its own cell only (see isUtf8); a byte Shift_JIS cannot read
// becomes U+FFFD.
class InputDecoder {
 public:
  InputDecoder() = default;
  ~InputDecoder();
  InputDecoder(const InputDecoder&) = delete;
  InputDecoder& operator=(const InputDecoder&) = delete;

  // The text of the next bytes; a character cut off at their end is kept for
  // the next call.
  std::string decode(std::string_view bytes);
  // The end of the file: what was kept back.
  std::string finish();

  TextEncoding encoding() const { return encoding_; }

 private:
  std::string fromShiftJis(std::string_view bytes, bool last);

  TextEncoding encoding_ = TextEncoding::Undecided;
  bool started_ = false;       // past the place of a byte order mark
  std::string pending_;        // bytes of a character not yet complete
  void* converter_ = nullptr;  // iconv_t from CP932, opened when needed
};

// Whether the text is well-formed UTF-8 (no overlong forms, no surrogates).
bool isUtf8(std::string_view text);

// The text with every byte that is not part of well-formed UTF-8 replaced by
// U+FFFD.
std::string repairedUtf8(std::string_view text);

// U+FFFD as UTF-8: what stands for a byte that could not be read.
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

}  // namespace kelvane::batch
