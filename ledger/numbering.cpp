// The next quotation number of a pattern among the numbers the register
// holds (the pattern's rule itself is in number_pattern.cpp).
#include "ledger/number_pattern.h"

#include "ledger/register_sql.h"

namespace kelvane::ledger {

namespace sql {

bool isDate(std::string_view text) { return isCalendarDay(text); }

Expected<std::int64_t> nextSequence(Database& db, std::string_view pattern,
                                    std::string_view today) {
  auto expanded = expand(pattern, today);
  if (!expanded) return expanded.failure();
  const Expanded& e = *expanded;
  // Both databases count substr's length in characters.
  auto rows =
      e.before.empty()
          ? run(db, "SELECT DISTINCT quotation_number FROM issues")
          : run(db,
                "SELECT DISTINCT quotation_number FROM issues WHERE substr(quotation_number, 1, "
                "$1) = $2",
                {static_cast<std::int64_t>(characterCount(e.before)), e.before});
  if (!rows) return rows.failure();
  std::vector<std::string> numbers;
  numbers.reserve(rows->size());
  for (const Row& row : *rows) numbers.push_back(text(row.at(0)));
  return nextSequenceAmong(pattern, e, numbers);
}

}  // namespace sql

Expected<std::string> Register::nextNumber(std::string_view pattern, std::string_view today) {
  auto sequence = sql::nextSequence(*database_, pattern, today);
  if (!sequence) return sequence.failure();
  return numberFromPattern(pattern, today, *sequence);
}

}  // namespace kelvane::ledger
