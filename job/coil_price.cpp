#include "job/coil_price.h"

namespace kelvane::job {

Expected<CoilPrice> priceOfForm(const form::Form1& form, const QuotationTerms& terms) {
  const form::FormState& s = form.state();
  // A press that stopped short, or results typed over or left behind by a
  // changed input, are not the coil being quoted.
  if (!s.resultsCurrent || !s.pressed) {
    return Failure{"見積には計算の済んだ結果が要ります。入力を確かめて「計算」を押してください。"};
  }
  CoilPrice price;
  price.wireMassKg = s.pressed->weights.totalWeightMid / 1000;  // g → kg
  price.turns = s.calc.inputs.turns;
  Expected<Quote> quote = priceCoil(price.wireMassKg, price.turns, terms);
  if (!quote) return quote.failure();
  price.quote = std::move(quote.value());
  return price;
}

}  // namespace kelvane::job
