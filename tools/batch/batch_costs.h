#pragma once

#include <string>
#include <vector>

#include "core/expected.h"
#include "job/price_list.h"
#include "job/shown_coil.h"

namespace kelvane::batch {

// The cost columns --prices adds before エラー, three for each lot size of
// the price list in its order: "原価 (100 個) [円]", "単価 (100 個) [円]",
// "金額 (100 個) [円]".
std::vector<std::string> costColumns(const job::PriceList& prices);

// Their cells for a coil after a complete press, priced with the list's
// terms for its material, as plain decimals: 原価 to 0.0001 円, 単価 to
// the sen, 金額 in whole yen. The failure says why the coil has no price.
Expected<std::vector<std::string>> costCells(const job::ShownCoil& coil,
                                             const job::PriceList& prices);

}  // namespace kelvane::batch
