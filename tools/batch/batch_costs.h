#pragma once

#include <string>
#include <vector>

#include "core/expected.h"
#include "form/form1.h"
#include "job/price_list.h"

namespace kelvane::batch {

// The cost columns --prices adds before エラー, three for each lot size of
// the price list in its order: "原価 (100 個) [円]", "単価 (100 個) [円]",
// "金額 (100 個) [円]".
std::vector<std::string> costColumns(const job::PriceList& prices);

// Their cells for a form after a complete press, its coil priced with the
// list's terms for `material`, as plain decimals: 原価 to 0.0001 円, 単価 to
// the sen, 金額 in whole yen. The failure says why the coil has no price.
Expected<std::vector<std::string>> costCells(const form::Form1& form, const job::PriceList& prices,
                                             ConductorMaterial material);

}  // namespace kelvane::batch
