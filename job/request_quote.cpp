#include "job/request_quote.h"

#include <utility>

#include "job/coil_price.h"
#include "job/item_stack.h"

namespace kelvane::job {

Expected<RequestQuote> totalRequest(std::vector<QuotedItem> items) {
  RequestQuote request;
  for (QuotedItem& item : items) {
    if (item.basisLot >= item.quote.lots.size()) item.basisLot = 0;
    if (item.quote.lots.empty()) return Failure{"数量のない品目は見積書に載せられません。"};
    if (__builtin_add_overflow(request.subtotalYen, item.basis().amountYen, &request.subtotalYen))
      return Failure{"見積の合計が大きすぎます。数量を確かめてください。"};
  }
  request.items = std::move(items);
  request.taxYen = request.subtotalYen / 10;  // 10 %, rounded down, once for the whole
  if (__builtin_add_overflow(request.subtotalYen, request.taxYen, &request.totalYen))
    return Failure{"見積の合計が大きすぎます。数量を確かめてください。"};
  return request;
}

std::string itemLabel(std::size_t index, const Item& item) {
  std::string label = "品目 " + std::to_string(index + 1);
  std::string names = item.partNumber;
  if (!item.name.empty()) names += (names.empty() ? "" : " ") + item.name;
  if (!names.empty()) label += "「" + names + "」";
  return label;
}

Expected<RequestQuote> priceRequest(std::span<const Item> items, std::span<const ShownCoil> coils,
                                    const ItemTerms& termsOf,
                                    std::span<const std::optional<StackResult>> stacks,
                                    const std::function<Expected<PriceList>()>& list) {
  std::vector<QuotedItem> quoted;
  quoted.reserve(items.size());
  for (std::size_t i = 0; i < items.size() && i < coils.size(); ++i) {
    const Item& item = items[i];
    // A request of one coil needs no item named.
    const std::string which = items.size() > 1 ? itemLabel(i, item) + ": " : "";
    const Expected<PricingTerms> terms = termsOf(item);
    if (!terms) return Failure{which + terms.message()};
    if (isStack(item)) {
      const Expected<StackPrice> price =
          priceOfStack(item, i < stacks.size() ? stacks[i] : std::nullopt, terms->terms, list);
      if (!price) return Failure{which + price.message()};
      quoted.push_back({item.partNumber, item.name, price->quote, item.basisLot});
      continue;
    }
    const Expected<CoilPrice> price = priceOfCoil(coils[i], terms->terms);
    if (!price) return Failure{which + price.message()};
    quoted.push_back({item.partNumber, item.name, price->quote, item.basisLot});
  }
  return totalRequest(std::move(quoted));
}

}  // namespace kelvane::job
