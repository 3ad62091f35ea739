#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/expected.h"
#include "core/winding_stack.h"
#include "job/job.h"
#include "job/price_list.h"
#include "job/quotation.h"
#include "job/shown_coil.h"

namespace kelvane::job {

// One item as the customer's 見積書 lists it: its names, the price of every
// lot of its terms, and the lot its line and the totals take.
struct QuotedItem {
  std::string partNumber;  // 品番
  std::string name;        // 品名
  Quote quote;
  std::size_t basisLot = 0;  // within quote.lots
  const LotPrice& basis() const { return quote.lots[basisLot]; }
  bool operator==(const QuotedItem&) const = default;
};

// The customer's request priced: every item, and the totals over the basis
// lot of each. The other lots are prices by quantity beside the total, never
// part of it.
struct RequestQuote {
  std::vector<QuotedItem> items;
  std::int64_t subtotalYen = 0;  // 小計: the sum of the items' basis 金額
  std::int64_t taxYen = 0;       // 消費税: 10 % of 小計, rounded down once
  std::int64_t totalYen = 0;     // 合計 = 小計 + 消費税, the 御見積金額（税込）
  bool operator==(const RequestQuote&) const = default;
};

// The totals over the items, or the sentence saying the sum is too large to
// hold. A basis lot beyond an item's lots counts as its first.
Expected<RequestQuote> totalRequest(std::vector<QuotedItem> items);

// How an item names itself in a message: 品目 2「KC-0042 電源トランス」, or
// 品目 2 when it has no names.
std::string itemLabel(std::size_t index, const Item& item);

// The terms an item is priced with (the window's or the command line's
// pricingTerms over the user's price list).
using ItemTerms = std::function<Expected<PricingTerms>(const Item& item)>;

// Every item priced from the coil it shows (coils[i] for items[i]) under its
// terms, and the totals; or the first item that cannot be priced, named
// before the reason when there are several. An item of several windings is
// priced from its stack as computed (stacks[i], none when its windings'
// results are not all current) with its terms for the first winding, the
// price list `list` giving the wire of a winding above without a price of
// its own (priceItemStack).
Expected<RequestQuote> priceRequest(std::span<const Item> items, std::span<const ShownCoil> coils,
                                    const ItemTerms& termsOf,
                                    std::span<const std::optional<StackResult>> stacks = {},
                                    const std::function<Expected<PriceList>()>& list = {});

}  // namespace kelvane::job
