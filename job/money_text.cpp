#include "job/money_text.h"

#include "core/number_text.h"

namespace kelvane::job {

std::string yenText(std::int64_t yen) { return formatWhole(yen) + "円"; }

std::string senText(std::int64_t sen) {
  // Whole yen and sen apart, both of the same sign, so -1.05 円 is "-1.05円".
  const std::int64_t yen = sen / 100, rest = sen % 100;
  const std::int64_t fraction = rest < 0 ? -rest : rest;
  return (sen < 0 && yen == 0 ? "-" : "") + formatWhole(yen) + (fraction < 10 ? ".0" : ".") +
         std::to_string(fraction) + "円";
}

std::string costText(double yen) { return formatFixed2(yen) + "円"; }

}  // namespace kelvane::job
