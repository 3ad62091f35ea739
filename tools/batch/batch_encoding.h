#pragma once

#include <cstddef>
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
// means UTF-8 and is dropped. Otherwise the text from the first byte beyond
// ASCII is held back, up to kEncodingSampleBytes of it or the end of the
// file, and decides: well-formed multi-byte UTF-8 characters (in stretches
// beyond ASCII without a stray byte) at least as many as the bytes that are
// no UTF-8 mean UTF-8, anything else Shift_JIS, which is what spreadsheet
// programs on Japanese Windows write. So a stray Latin-1 byte (° as 0xB0) in
// a UTF-8 file spoils its own row, not every row after it: Shift_JIS read as
// UTF-8 gives stray bytes and few clean characters (its kana and kanji
// mostly start with bytes UTF-8 only has inside a character). A file of
// half-width kana alone can read as either, and is taken for UTF-8 as it
// always was. UTF-8 is passed on unchecked, so a byte that is no
// UTF-8 spoils its own cell only (see isUtf8); a byte Shift_JIS cannot read
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
  // The line that tells the person running the batch which encoding the
  // bytes were taken for, when that was a guess: Shift_JIS, or UTF-8 in
  // spite of bytes that are no UTF-8. Empty while undecided, and when a
  // byte order mark or well-formed UTF-8 alone said it.
  const std::string& guess() const { return guess_; }

 private:
  // Settles the encoding from the text held back; `whole` when the file
  // ended within it.
  void decide(std::string_view sample, bool whole);
  std::string fromShiftJis(std::string_view bytes, bool last);

  TextEncoding encoding_ = TextEncoding::Undecided;
  bool started_ = false;       // past the place of a byte order mark
  std::string pending_;        // bytes of a character not yet complete
  std::string sample_;         // held back from the first byte beyond ASCII
  std::string guess_;          // see guess()
  void* converter_ = nullptr;  // iconv_t from CP932, opened when needed
};

// How much of the text, from its first byte beyond ASCII, is held back to
// decide its encoding: enough for thousands of rows of ASCII figures to
// bring the rows with the characters that tell.
inline constexpr std::size_t kEncodingSampleBytes = 1 << 20;

// Whether the text is well-formed UTF-8 (no overlong forms, no surrogates).
bool isUtf8(std::string_view text);

// Where the first byte that is not part of well-formed UTF-8 is, counted
// from 0; std::string_view::npos when there is none.
std::size_t firstNonUtf8Byte(std::string_view text);

// The text with every byte that is not part of well-formed UTF-8 replaced by
// U+FFFD.
std::string repairedUtf8(std::string_view text);

// U+FFFD as UTF-8: what stands for a byte that could not be read.
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

}  // namespace kelvane::batch
