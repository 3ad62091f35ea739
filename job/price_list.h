#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/expected.h"
#include "core/materials.h"
#include "core/read_coil.h"
#include "job/quotation.h"

namespace kelvane::job {

// 線材単価 of one material for bare diameters from fromMm (inclusive) up to
// toMm (exclusive; none: every diameter from fromMm up). Coil makers buy wire
// by size: a kilogram of 0.25 mm copper costs more than one of 1.2 mm.
struct WirePriceRow {
  ConductorMaterial material = ConductorMaterial::Copper;
  double fromMm = 0;
  std::optional<double> toMm;
  double yenPerKg = 0;  // 円/kg
  bool operator==(const WirePriceRow&) const = default;
};

// The most rows one list holds: a few materials in a few dozen sizes.
inline constexpr std::size_t kMaxWirePriceRows = 200;

// The user's price list (単価表): what wire costs by material and bare
// diameter, and the terms a new quotation starts from. A job takes its terms
// from here and then keeps them, with the list's savedAt, so that it prices
// the same later.
struct PriceList {
  // 線材単価 by material and diameter; the ranges of one material do not
  // overlap (checkWirePrices), and may leave diameters without a price.
  std::vector<WirePriceRow> wirePrices;
  // ロス率, 巻線速度, 付帯作業時間, 段取り時間, 賃率, 部材, 管理費率, 利益率
  // and 数量. Its wireYenPerKg is not used: the wire's price comes from the
  // material and diameter (termsFor).
  QuotationTerms defaults;
  std::string savedAt;  // ISO 8601, UTC, like a job's; empty in the built-in list
  bool operator==(const PriceList&) const = default;
};

// One row a material covering every diameter, at the price given for each
// material (indexed by ConductorMaterial): how a list of one price a
// material, as the first version of the file held it, reads.
std::vector<WirePriceRow> wirePricesByMaterial(const std::array<double, 3>& yenPerKg);

// Why the rows cannot be a list's: the Japanese sentence naming the first row
// (as `rowName` names the n-th, from 0) with a negative or unreadable figure,
// a range that ends at or below its start, or one that overlaps another row
// of its material; or more than kMaxWirePriceRows rows. `rowName` is asked
// for the refused row first.
Expected<void> checkWirePrices(const std::vector<WirePriceRow>& rows,
                               const std::function<std::string(std::size_t)>& rowName);

// The file of a price list: a JSON object, UTF-8, described in
// docs/kelvane-prices.schema.json.
inline constexpr std::string_view kPriceListFormatName = "kelvane-prices";
// Version 2 prices wire by material and diameter ("wirePrices"); version 1
// held one price a material ("wireYenPerKg") and still reads.
inline constexpr int kPriceListFormatVersion = 2;

// The list a user starts with, until one is saved.
PriceList builtInPriceList();

// The list as the text of its file: indented JSON ending in a newline.
std::string writePriceList(const PriceList& list);

// The list a text holds, or the one Japanese sentence naming what is wrong
// with it: not JSON, another format, a key missing or not of its type, a
// figure that cannot price (negative, a winding speed of 0, no lot size),
// rows of one material whose diameters overlap. The limits of a job file
// hold here too. Keys it does not know are skipped.
Expected<PriceList> readPriceList(std::string_view text);

// The bare diameter, mm, of a coil as its 素線径(d) box reads (as 計算 reads
// it, "0.25", "０．２５ｍｍ"); none when the box is empty, unreadable or not
// above 0.
std::optional<double> bareDiameterMm(const TypedCoil& coil);

// The diameters of a row as the 見積 pane names them: "φ0.20〜0.30 mm",
// "φ1.00 mm〜", "φ0.10 mm 未満"; empty for a row of every diameter.
std::string wireDiametersText(double fromMm, std::optional<double> toMm);

// The terms of a quotation for a coil of `material` whose wire is
// `bareDiameterMm` thick: the list's defaults with the price of the row of
// that material covering the diameter, and that row's range. A diameter not
// known (an empty or unreadable box) takes the material's row of every
// diameter. No such row is the Japanese sentence saying which price the
// list lacks.
Expected<QuotationTerms> termsFor(const PriceList& list, ConductorMaterial material,
                                  std::optional<double> bareDiameterMm);

// Where the wire price a coil is priced with was taken from.
enum class WirePriceSource { JobTerms, PriceList };

struct PricingTerms {
  QuotationTerms terms;
  WirePriceSource wirePriceFrom = WirePriceSource::JobTerms;
  bool operator==(const PricingTerms&) const = default;
};

// The terms a coil of `material` with wire `bareDiameterMm` thick is priced
// with, the one rule of the 見積 pane, the 見積書, the sheet and the outputs,
// --quotation and the batch: a job's own terms when it has them, with their
// wire price while it is the price of `material` and, when it was taken from
// a row of the list, the diameter is still in that row; otherwise with the
// price list's price for the material and diameter (a job priced for
// aluminium and switched to copper is priced at the list's copper price,
// never at the aluminium price; a coil whose wire went from 0.25 to 1.2 mm
// takes the 1.2 mm price). A price typed into the terms stays whatever the
// diameter, and so does one whose diameter is not known now. A job without
// terms takes them all from the list. `list` is only asked when the list is
// needed; its failure, or its lack of a price, is the result's.
Expected<PricingTerms> pricingTerms(const std::optional<QuotationTerms>& jobTerms,
                                    ConductorMaterial material,
                                    std::optional<double> bareDiameterMm,
                                    const std::function<Expected<PriceList>()>& list);
Expected<PricingTerms> pricingTerms(const std::optional<QuotationTerms>& jobTerms,
                                    ConductorMaterial material,
                                    std::optional<double> bareDiameterMm, const PriceList& list);

// Whether the list has been saved again since a job took its terms from it:
// the job names the savedAt of the list it was priced from (empty when its
// terms were typed, which no list replaces) and this list's is another.
bool pricesChangedSince(const PriceList& list, std::string_view jobPriceListSavedAt);

}  // namespace kelvane::job
