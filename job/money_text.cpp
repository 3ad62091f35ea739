#include "job/money_text.h"

#include "job/quotation_rows.h"

namespace kelvane::job {

std::string yenText(std::int64_t yen) { return wholeText(yen) + "円"; }

std::string unitPriceText(std::int64_t sen) { return senText(sen) + "円"; }

std::string costText(double yen) { return breakdownText(yen) + "円"; }

}  // namespace kelvane::job
