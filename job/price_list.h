#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/expected.h"
#include "core/materials.h"
#include "job/quotation.h"

namespace kelvane::job {

// The user's price list (単価表): what wire costs by material, and the terms
// a new quotation starts from. A job takes its terms from here and then
// keeps them, with the list's savedAt, so that it prices the same later.
struct PriceList {
  // 線材単価, 円/kg, indexed by ConductorMaterial.
  std::array<double, 3> wireYenPerKg{};
  // ロス率, 巻線速度, 付帯作業時間, 段取り時間, 賃率, 部材, 管理費率, 利益率
  // and 数量. Its wireYenPerKg is not used: the wire's price comes from the
  // material (termsFor).
  QuotationTerms defaults;
  std::string savedAt;  // ISO 8601, UTC, like a job's; empty in the built-in list
  bool operator==(const PriceList&) const = default;
};

// The file of a price list: a JSON object, UTF-8, described in
// docs/kelvane-prices.schema.json.
inline constexpr std::string_view kPriceListFormatName = "kelvane-prices";
inline constexpr int kPriceListFormatVersion = 1;

// The list a user starts with, until one is saved.
PriceList builtInPriceList();

// The list as the text of its file: indented JSON ending in a newline.
std::string writePriceList(const PriceList& list);

// The list a text holds, or the one Japanese sentence naming what is wrong
// with it: not JSON, another format, a key missing or not of its type, a
// figure that cannot price (negative, a winding speed of 0, no lot size).
// The limits of a job file hold here too. Keys it does not know are skipped.
Expected<PriceList> readPriceList(std::string_view text);

// The terms of a quotation for a coil of `material`: the list's defaults
// with that material's wire price.
QuotationTerms termsFor(const PriceList& list, ConductorMaterial material);

// Where the wire price a coil is priced with was taken from.
enum class WirePriceSource { JobTerms, PriceList };

struct PricingTerms {
  QuotationTerms terms;
  WirePriceSource wirePriceFrom = WirePriceSource::JobTerms;
  bool operator==(const PricingTerms&) const = default;
};

// The terms a coil of `material` is priced with, the one rule of the 見積
// pane, the 見積書, the sheet and the outputs, --quotation and the batch: a
// job's own terms when it has them, with their wire price when it is the
// price of `material`, otherwise with the price list's price of that
// material (a job priced for aluminium and switched to copper is priced at
// the list's copper price, never at the aluminium price); a job without
// terms takes them all from the list. `list` is only asked when the list is
// needed; its failure is the result's.
Expected<PricingTerms> pricingTerms(const std::optional<QuotationTerms>& jobTerms,
                                    ConductorMaterial material,
                                    const std::function<Expected<PriceList>()>& list);
PricingTerms pricingTerms(const std::optional<QuotationTerms>& jobTerms, ConductorMaterial material,
                          const PriceList& list);

// Whether the list has been saved again since a job took its terms from it:
// the job names the savedAt of the list it was priced from (empty when its
// terms were typed, which no list replaces) and this list's is another.
bool pricesChangedSince(const PriceList& list, std::string_view jobPriceListSavedAt);

}  // namespace kelvane::job
