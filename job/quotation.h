#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/expected.h"
#include "core/materials.h"

namespace kelvane::job {

// A part bought for every piece: a bobbin, tape, terminals, varnish.
struct PartPrice {
  std::string name;
  double yenPerPiece = 0;  // 円/個
  bool operator==(const PartPrice&) const = default;
};

// 見積条件: what a coil's price is worked out from. A job keeps the values it
// was priced with, so that it prices the same when it is opened again.
struct QuotationTerms {
  double wireYenPerKg = 0;               // 線材単価 P, 円/kg of the job's material
  double lossPercent = 0;                // ロス率 L, % of wire lost in winding
  double windingRpm = 0;                 // 巻線速度 S, turns a minute
  double handlingMinutes = 0;            // 付帯作業時間 h, minutes a piece
  double setupMinutes = 0;               // 段取り時間 s, minutes a lot
  double labourYenPerHour = 0;           // 賃率 r, 円/h
  std::vector<PartPrice> parts;          // 部材, each bought once a piece
  double overheadPercent = 0;            // 管理費率 o, %
  double profitPercent = 0;              // 利益率 m, %
  std::vector<std::int64_t> quantities;  // 数量: one to five lot sizes
  // The material 線材単価 is the price of. Copper, aluminium and clad wire
  // cost very different sums a kilogram, so a coil of another material is
  // never priced with it (pricingTerms in job/price_list.h).
  ConductorMaterial wireMaterial = ConductorMaterial::Copper;
  // The bare diameters, mm, of the price list's row 線材単価 was taken from:
  // from wireDiameterFromMm (inclusive) up to wireDiameterToMm (exclusive;
  // none: every diameter above). Wire is dearer the thinner it is, so a coil
  // whose wire leaves the row takes the row it is in now. None when the price
  // was typed, or taken before the list had rows: that price stays.
  std::optional<double> wireDiameterFromMm;
  std::optional<double> wireDiameterToMm;
  bool operator==(const QuotationTerms&) const = default;
};

// The most lot sizes one quotation prices, and the largest lot.
inline constexpr std::size_t kMaxQuantities = 5;
inline constexpr std::int64_t kMaxQuantity = 1'000'000'000;
// The most parts one piece is priced with.
inline constexpr std::size_t kMaxParts = 20;

// The price of one piece in a lot of `quantity` pieces.
struct LotPrice {
  std::int64_t quantity = 0;
  double materialYen = 0;    // 材料費 = w × (1 + L/100) × P
  double processingYen = 0;  // 加工費 = (n / S + h + s / Q) / 60 × r
  double partsYen = 0;       // 部材費 = the sum of the parts
  double costYen = 0;        // 原価 = 材料費 + 加工費 + 部材費
  // 単価 in 0.01 円: 原価 × (1 + o/100) × (1 + m/100), half up, worked out
  // exactly from the decimals typed and w to 15 significant digits (the
  // figures above are for showing; they are binary doubles).
  std::int64_t unitPriceSen = 0;
  std::int64_t amountYen = 0;  // 金額 = 単価 × Q, half up to 1 円
  bool operator==(const LotPrice&) const = default;
};

// A coil priced for every lot size of its terms, in the terms' order, and the
// totals of the first lot as the customer's quotation gives them.
struct Quote {
  std::vector<LotPrice> lots;
  std::int64_t subtotalYen = 0;  // 小計: the first lot's 金額
  std::int64_t taxYen = 0;       // 消費税: 10 % of 小計, rounded down to 1 円
  std::int64_t totalYen = 0;     // 合計 = 小計 + 消費税
  bool operator==(const Quote&) const = default;
};

// One wire wound on a piece: a coil has one, a stack of windings one a
// winding, each with its own wire price and winding speed.
struct WoundWire {
  double wireMassKg = 0;    // w: conductor and insulation, kg
  double turns = 0;         // n
  double wireYenPerKg = 0;  // P of its material and diameter
  double windingRpm = 0;    // S, turns a minute
};

// A part bought `count` times a piece besides the terms' parts (the tape
// between windings, a layer at a time).
struct CountedPart {
  double yenPerPiece = 0;
  std::int64_t count = 0;
};

// The quote for a piece wound of `wires` under the terms' loss, times, rate,
// parts (and `extra`), overhead, profit and lots (their own 線材単価 and
// 巻線速度 are not used): 材料費 = Σ w_k × (1 + L/100) × P_k, 加工費 =
// (Σ n_k / S_k + h + s / Q) / 60 × r, 単価 exact as for one coil. The
// figures must have been checked (checkTerms; every wire's usable); the
// failure is a price too large to hold.
Expected<Quote> priceWires(std::span<const WoundWire> wires, const QuotationTerms& terms,
                           std::span<const CountedPart> extra = {});

// The quote for a coil of `wireMassKg` kg of wire (conductor and insulation)
// and `turns` turns, or the Japanese sentence naming the term that cannot
// price it (no lot size, a winding speed of 0, a figure that is not finite or
// is negative, a price too large to hold).
Expected<Quote> priceCoil(double wireMassKg, double turns, const QuotationTerms& terms);

// Why the terms cannot price any coil: the Japanese sentence naming the
// first term that is not a number of 0 or more, a winding speed of 0, no
// lot size, more than five, a lot outside 1 … kMaxQuantity, or more than
// kMaxParts parts.
Expected<void> checkTerms(const QuotationTerms& terms);

}  // namespace kelvane::job
