// The batch's input decoder on arbitrary bytes: the same text however the
// bytes arrive, well-formed UTF-8 out of every Shift_JIS file, UTF-8 and
// ASCII passed on as they are, the same guess told — never a crash, a hang or
// a leak. The first byte chooses the size of the pieces and whether a
// Shift_JIS character comes first, whose two stray bytes lean the decoder to
// Shift_JIS.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_checks.h"
#include "tools/batch/batch_encoding.h"

using namespace kelvane::batch;

namespace {

struct Decoded {
  std::string text;
  TextEncoding encoding;
  std::string guess;
};

Decoded decodeInPieces(std::string_view bytes, std::size_t piece) {
  InputDecoder decoder;
  Decoded out;
  for (std::size_t at = 0; at < bytes.size(); at += piece) {
    out.text += decoder.decode(bytes.substr(at, piece));
  }
  out.text += decoder.finish();
  out.encoding = decoder.encoding();
  out.guess = decoder.guess();
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned mode = data[0];
  std::string bytes = (mode & 0x80) ? "\x82\xa0" : "";  // あ in Shift_JIS
  bytes.append(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t piece = 1 + (mode & 0x3F);

  const Decoded whole = decodeInPieces(bytes, bytes.size() + 1);
  const Decoded pieces = decodeInPieces(bytes, piece);
  FUZZ_CHECK(whole.text == pieces.text);
  FUZZ_CHECK(whole.encoding == pieces.encoding);
  FUZZ_CHECK(whole.guess == pieces.guess);
  // Bytes that are no UTF-8 make any choice a guess, and say so.
  if (mode & 0x80) FUZZ_CHECK(!whole.guess.empty());

  constexpr std::string_view kMark = "\xEF\xBB\xBF";
  switch (whole.encoding) {
    case TextEncoding::ShiftJis:
      FUZZ_CHECK(!whole.guess.empty());
      FUZZ_CHECK(isUtf8(whole.text));
      // No byte gives more than one character of at most three bytes.
      FUZZ_CHECK(whole.text.size() <= 3 * bytes.size());
      break;
    case TextEncoding::Utf8:
      FUZZ_CHECK(whole.text == bytes ||
                 (std::string_view(bytes).starts_with(kMark) && whole.text == bytes.substr(3)));
      break;
    case TextEncoding::Undecided:
      FUZZ_CHECK(whole.guess.empty());
      FUZZ_CHECK(whole.text == bytes);
      FUZZ_CHECK(isUtf8(whole.text));
      break;
  }
  return 0;
}
