#include "job/coil_price.h"

#include <string>

namespace kelvane::job {

std::optional<Failure> otherMaterialsPrice(const QuotationTerms& terms,
                                           ConductorMaterial material) {
  // A wire price is the price of one material's wire; the terms' callers
  // take the coil's own (pricingTerms), and one that did not is refused
  // rather than priced at another material's price.
  if (terms.wireMaterial == material) return std::nullopt;
  return Failure{"見積条件の線材単価は" + std::string(materialName(terms.wireMaterial)) +
                 "の価格です。" + std::string(materialName(material)) +
                 "の線材単価で見積もってください。"};
}

Expected<CoilPrice> priceOfCoil(const ShownCoil& coil, const QuotationTerms& terms) {
  // A press that stopped short, or results typed over or left behind by a
  // changed input, are not the coil being quoted.
  if (!coil.current || !coil.pressed) return Failure{std::string(kNoCurrentPressMessage)};
  if (auto wrong = otherMaterialsPrice(terms, coil.typed.material)) return *wrong;
  CoilPrice price;
  price.wireMassKg = coil.pressed->weights.predictedWeight / 1000;  // g → kg
  price.turns = coil.calc.inputs.turns;
  Expected<Quote> quote = priceCoil(price.wireMassKg, price.turns, terms);
  if (!quote) return quote.failure();
  price.quote = std::move(quote.value());
  return price;
}

}  // namespace kelvane::job
