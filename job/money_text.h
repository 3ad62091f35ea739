#pragma once

#include <cstdint>
#include <string>

namespace kelvane::job {

// Money as Kelvane shows and prints it: digits grouped by three, 円 right
// after them ("¥" is never used), a "-" before a negative amount.

// A whole amount: "1,234,567円".
std::string yenText(std::int64_t yen);

// An amount in sen (0.01 円), as a 単価 is kept: "1,234.57円".
std::string senText(std::int64_t sen);

// A cost worked out but not yet rounded (材料費, 加工費, 部材費, 原価, a
// part's price), shown to the sen, halves away from zero: "12.35円".
std::string costText(double yen);

}  // namespace kelvane::job
