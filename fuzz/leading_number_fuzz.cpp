// The leading-number reader on arbitrary bytes, and the number texts on
// whatever it reads.
#include <cctype>
#include <cmath>
#include <cstdint>
#include <string>

#include "core/number_text.h"
#include "core/typed_number.h"
#include "fuzz_checks.h"

using namespace kelvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const LeadingNumber n = readLeadingNumberDetailed(text);

  FUZZ_CHECK(n.end <= text.size());
  FUZZ_CHECK(std::isfinite(n.value));
  FUZZ_CHECK(!n.overflow || n.value == 0);
  // Without a digit (hexadecimal ones included) there is no number.
  bool anyDigit = false;
  for (char c : text.substr(0, n.end))
    anyDigit = anyDigit || std::isxdigit(static_cast<unsigned char>(c));
  if (!anyDigit) FUZZ_CHECK(n.value == 0);
  FUZZ_CHECK(readLeadingNumber(text) == n.value);

  // What is written is read back as the same 15-digit value.
  const std::string plain = plainDecimal(n.value);
  FUZZ_CHECK(!looksBroken(plain));
  FUZZ_CHECK(readLeadingNumber(plain) == roundTo15Digits(n.value));
  FUZZ_CHECK(readCompleteNumber(plain).has_value());

  for (const std::string& fixed : {formatFixed3(n.value), formatFixed4(n.value)}) {
    FUZZ_CHECK(!fixed.empty() && !looksBroken(fixed));
    FUZZ_CHECK(fixed.find('.') != std::string::npos);
  }

  if (auto complete = readCompleteNumber(text)) FUZZ_CHECK(*complete == n.value);

  // A box text read as typed: a control character is never part of a
  // number, and what the program writes is always read back whole.
  const TypedNumber typed = readTypedNumber(text, units::kMillimetre);
  FUZZ_CHECK(std::isfinite(typed.value));
  bool control = false;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    control = control || (u < 0x20 && c != ' ' && c != '\t' && c != '\n' && c != '\r') || u == 0x7F;
  }
  if (control) FUZZ_CHECK(!typed.readable());
  for (const TypedNumber& back :
       {readTypedNumber(plain), readTypedNumber(plain + " mm", units::kMillimetre)})
    FUZZ_CHECK(!back.notANumber && !back.unclearComma);
  return 0;
}
