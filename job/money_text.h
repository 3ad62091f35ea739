#pragma once

#include <cstdint>
#include <string>

namespace kelvane::job {

// Money as the window and the printed sheets show it: the digits every
// output writes (job/quotation_rows.h) with 円 right after them ("¥" is
// never used).

// A whole amount, 金額 and the totals: "1,234,567円".
std::string yenText(std::int64_t yen);

// A 単価, kept in sen (0.01 円): "1,234.57円".
std::string unitPriceText(std::int64_t sen);

// A figure of the breakdown (材料費, 加工費, 部材費, 原価, a part's price), to
// 0.0001 円 as the clipboard and CSV give it, enough to redo 単価 by hand:
// "60.8333円".
std::string costText(double yen);

}  // namespace kelvane::job
