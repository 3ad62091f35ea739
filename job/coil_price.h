#pragma once

#include <optional>
#include <string_view>

#include "core/expected.h"
#include "job/quotation.h"
#include "job/shown_coil.h"

namespace kelvane::job {

// A coil as shown priced: the figures its price is worked out from,
// and the price for each lot.
struct CoilPrice {
  // w: the total weight (conductor and insulation) of the 予測 Mid column,
  // the larger one, which allows for the crossing zone; in kg.
  double wireMassKg = 0;
  double turns = 0;  // n, as the press computed them
  Quote quote;
  bool operator==(const CoilPrice&) const = default;
};

// Why a coil is not priced: its results are not those of a complete press of
// the inputs as they stand.
inline constexpr std::string_view kNoCurrentPressMessage =
    "見積には計算の済んだ結果が要ります。入力を確かめて「計算」を押してください。";

// Why terms do not price a coil of `material`: their wire price is another
// material's. None when it is the material's.
std::optional<Failure> otherMaterialsPrice(const QuotationTerms& terms, ConductorMaterial material);

// The price of the coil its last complete press worked out, with the terms;
// or the Japanese sentence saying why there is none: no complete press whose
// results still belong to the inputs, or terms that cannot price it
// (priceCoil's reasons).
Expected<CoilPrice> priceOfCoil(const ShownCoil& coil, const QuotationTerms& terms);

}  // namespace kelvane::job
