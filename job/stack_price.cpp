#include "job/stack_price.h"

#include <cmath>
#include <utility>

#include "job/exact_decimal.h"

namespace kelvane::job {
namespace {

bool usable(double x) { return std::isfinite(x) && x >= 0; }

// Why the windings' own figures cannot be priced, naming the winding when
// there are several (a piece of one winding is priced as one coil, and says
// what one coil's price says).
Expected<void> checkWindings(std::span<const WindingCost> windings, const QuotationTerms& terms) {
  if (windings.empty()) return Failure{"巻線がありません。巻線を1つ以上入れてください。"};
  if (windings.size() > kMostWindings) return Failure{"巻線が多すぎます（1つの巻枠に8巻線まで）。"};
  // The shared terms first, with a wire price and a speed that pass.
  QuotationTerms shared = terms;
  shared.wireYenPerKg = 0;
  shared.windingRpm = 1;
  if (Expected<void> checked = checkTerms(shared); !checked.ok()) return checked.failure();
  for (std::size_t k = 0; k < windings.size(); ++k) {
    const WindingCost& w = windings[k];
    const std::string which = windings.size() > 1 ? windingLabel(k, w.name) + ": " : "";
    if (!usable(w.wireMassKg))
      return Failure{which + "線材の重量が求まっていないため、見積できません。"};
    if (!usable(w.turns)) return Failure{which + "巻数が求まっていないため、見積できません。"};
    QuotationTerms own = terms;
    own.wireYenPerKg = w.wireYenPerKg;
    own.windingRpm = w.windingRpm;
    if (Expected<void> checked = checkTerms(own); !checked.ok())
      return Failure{which + checked.message()};
  }
  return {};
}

}  // namespace

std::int64_t tapeLayersOf(const WindingStack& stack) {
  std::int64_t layers = 0;
  for (std::size_t k = 1; k < stack.windings.size(); ++k) layers += stack.windings[k].under.layers;
  return layers;
}

Expected<StackPrice> priceStack(std::span<const WindingCost> windings, const QuotationTerms& terms,
                                const InsulationTape& tape) {
  if (Expected<void> checked = checkWindings(windings, terms); !checked.ok())
    return checked.failure();
  if (!usable(tape.yenPerLayer))
    return Failure{"「層間テープ単価」は 0 以上の数で入れてください。"};
  if (tape.layers < 0) return Failure{"層間テープの層数は 0 以上にしてください。"};

  StackPrice price;
  price.costs.assign(windings.begin(), windings.end());
  std::vector<WoundWire> wires;
  wires.reserve(windings.size());
  for (const WindingCost& w : windings) {
    price.windings.push_back(
        {w.wireMassKg * (1 + terms.lossPercent / 100) * w.wireYenPerKg, w.turns / w.windingRpm});
    wires.push_back({w.wireMassKg, w.turns, w.wireYenPerKg, w.windingRpm});
  }
  const CountedPart tapeLayers{tape.yenPerLayer, tape.layers};
  if (tape.layers > 0) price.tapeYen = tape.yenPerLayer * double(tape.layers);
  Expected<Quote> quote = priceWires(wires, terms, std::span(&tapeLayers, tape.layers > 0 ? 1 : 0));
  if (!quote) return quote.failure();
  price.quote = std::move(quote.value());
  return price;
}

}  // namespace kelvane::job
