#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/expected.h"

namespace kelvane::ledger {

// Whether a text is a day of the calendar as the register writes it
// ("2026-12-09").
bool isCalendarDay(std::string_view text);

// A pattern with a day's date put in: the text before the sequence, the text
// after it, and the sequence's fewest digits.
struct Expanded {
  std::string before;
  std::string after;
  std::size_t width = 0;
};
Expected<Expanded> expand(std::string_view pattern, std::string_view today);

// The characters of a UTF-8 text, as a database's substr counts them.
std::size_t characterCount(std::string_view utf8);

// The sequence the next new quotation of the expanded `pattern` gets among
// quotation numbers already given: one above the highest this pattern wrote
// (its text around the digits, at least as many digits as the pattern's, no
// zero in front of more); 1 when there is none.
Expected<std::int64_t> nextSequenceAmong(std::string_view pattern, const Expanded& e,
                                         const std::vector<std::string>& numbers);

}  // namespace kelvane::ledger
