#include "job/quotation.h"

#include <cmath>
#include <optional>

#include "job/exact_decimal.h"

namespace kelvane::job {
namespace {

// A bound every piece's price stays below. With the largest lot it keeps
// 単価 × 数量 in sen, and every total, well inside a 64-bit integer (below
// 10^18 円 at the very most).
constexpr double kPriceLimitYen = 1e9;
constexpr std::int64_t kPriceLimitSen = 100'000'000'000;

Failure refusal(std::string message) { return Failure{std::move(message)}; }

// A figure a price may be worked out from: finite and not negative.
bool usable(double x) { return std::isfinite(x) && x >= 0; }

// 単価 in sen, exactly as a person gets it who redoes the sum in decimal:
// every term the decimal that was typed, w the fifteen significant digits the
// results table writes, the divisions kept as fractions, and only the end
// rounded half up to the sen. A binary double would hold 12.345 as
// 12.3449999… and round it down, and 12 significant digits no longer reach
// the sen above 10^7 円. Written over one denominator 6000·S·Q:
//   単価 × 10^4·6000·S·Q = (w·(100 + L)·P·60·S·Q + (n·Q + h·S·Q + s·S)·r·100
//                          + Σ部材·6000·S·Q) · (100 + o) · (100 + m)
// Nothing when 単価 is 10^9 円 or more.
std::optional<std::int64_t> exactUnitPriceSen(double wireMassKg, double turns,
                                              const QuotationTerms& t, std::int64_t quantity) {
  const auto typed = typedDecimal;
  const ExactDecimal hundred{100, 0};
  const ExactDecimal q{std::uint64_t(quantity), 0};
  const ExactDecimal s = typed(t.windingRpm);
  const ExactDecimal sq = s * q;
  const ExactDecimal perLot = ExactDecimal{6000, 0} * sq;
  const ExactDecimal material = fifteenDigitDecimal(wireMassKg) * (hundred + typed(t.lossPercent)) *
                                typed(t.wireYenPerKg) * ExactDecimal{60, 0} * sq;
  const ExactDecimal minutes =
      typed(turns) * q + typed(t.handlingMinutes) * sq + typed(t.setupMinutes) * s;
  const ExactDecimal processing = minutes * typed(t.labourYenPerHour) * hundred;
  ExactDecimal parts;
  for (const PartPrice& part : t.parts) parts = parts + typed(part.yenPerPiece);
  const ExactDecimal numerator = (material + processing + parts * perLot) *
                                 (hundred + typed(t.overheadPercent)) *
                                 (hundred + typed(t.profitPercent));
  // In sen: 単価 × 100 = numerator / (100 · perLot).
  const ExactDecimal denominator{perLot.digits, perLot.exponent + 2};
  const ExactDecimal limit{denominator.digits, denominator.exponent + 11};  // 10^11 sen
  if (!less(numerator, limit)) return std::nullopt;
  return halfUpQuotient(numerator, denominator, kPriceLimitSen);
}

// Whether every one of the pieces' figures can be priced; the failure names
// the first that is too large.
Expected<void> checkLotSize(const LotPrice& lot) {
  const std::pair<double, const char*> parts[] = {
      {lot.materialYen,
       "材料費が大きすぎます（「線材単価」「ロス率」と線材の重量を確かめてください）。"},
      {lot.processingYen,
       "加工費が大きすぎます（「賃率」「付帯作業時間」「段取り時間」と巻数を確かめてください）。"},
      {lot.partsYen, "部材費が大きすぎます（「部材」の単価を確かめてください）。"}};
  for (const auto& [yen, message] : parts) {
    // Written so that a NaN (an infinite figure times 0) is too large too.
    if (!(yen < kPriceLimitYen)) return refusal(message);
  }
  return {};
}

}  // namespace

Expected<void> checkTerms(const QuotationTerms& t) {
  const std::pair<const char*, double> figures[] = {
      {"線材単価", t.wireYenPerKg},    {"ロス率", t.lossPercent},
      {"巻線速度", t.windingRpm},      {"付帯作業時間", t.handlingMinutes},
      {"段取り時間", t.setupMinutes},  {"賃率", t.labourYenPerHour},
      {"管理費率", t.overheadPercent}, {"利益率", t.profitPercent}};
  for (const auto& [name, value] : figures) {
    if (!usable(value))
      return Failure{"「" + std::string(name) + "」は 0 以上の数で入れてください。"};
  }
  if (t.windingRpm == 0)
    return Failure{
        "「巻線速度」が 0 では巻線の時間が求まりません。0 より大きい数で入れてください。"};
  if (t.parts.size() > kMaxParts)
    return Failure{"「部材」が多すぎます（" + std::to_string(kMaxParts) + " 個まで）。"};
  for (const PartPrice& part : t.parts) {
    if (!usable(part.yenPerPiece))
      return Failure{"部材「" + part.name + "」の単価は 0 以上の数で入れてください。"};
  }
  if (t.quantities.empty()) return Failure{"「数量」がありません。1 つ以上入れてください。"};
  if (t.quantities.size() > kMaxQuantities)
    return Failure{"「数量」が多すぎます（" + std::to_string(kMaxQuantities) + " つまで）。"};
  for (const std::int64_t q : t.quantities) {
    if (q < 1 || q > kMaxQuantity)
      return Failure{"「数量」は 1 から 1,000,000,000 までの整数で入れてください。"};
  }
  return {};
}

Expected<Quote> priceCoil(double wireMassKg, double turns, const QuotationTerms& terms) {
  if (!usable(wireMassKg)) return refusal("線材の重量が求まっていないため、見積できません。");
  if (!usable(turns)) return refusal("巻数が求まっていないため、見積できません。");
  if (auto checked = checkTerms(terms); !checked.ok()) return refusal(checked.message());

  const double materialYen = wireMassKg * (1 + terms.lossPercent / 100) * terms.wireYenPerKg;
  double partsYen = 0;
  for (const PartPrice& part : terms.parts) partsYen += part.yenPerPiece;

  Quote quote;
  for (const std::int64_t q : terms.quantities) {
    LotPrice lot;
    lot.quantity = q;
    lot.materialYen = materialYen;
    const double minutes =
        turns / terms.windingRpm + terms.handlingMinutes + terms.setupMinutes / double(q);
    lot.processingYen = minutes / 60 * terms.labourYenPerHour;
    lot.partsYen = partsYen;
    lot.costYen = lot.materialYen + lot.processingYen + lot.partsYen;
    if (auto checked = checkLotSize(lot); !checked.ok()) return checked.failure();
    const std::optional<std::int64_t> sen = exactUnitPriceSen(wireMassKg, turns, terms, q);
    if (!sen) return refusal("単価が大きすぎます（「管理費率」「利益率」を確かめてください）。");
    lot.unitPriceSen = *sen;
    // 単価 × Q in sen, half up to the yen, in whole numbers throughout: the
    // sen below 10^11 and Q up to 10^9 would overflow as one product, so the
    // whole yen and the sen are multiplied apart.
    lot.amountYen = lot.unitPriceSen / 100 * q + (lot.unitPriceSen % 100 * q + 50) / 100;
    quote.lots.push_back(lot);
  }
  quote.subtotalYen = quote.lots.front().amountYen;
  quote.taxYen = quote.subtotalYen / 10;  // 10 %, rounded down
  quote.totalYen = quote.subtotalYen + quote.taxYen;
  return quote;
}

}  // namespace kelvane::job
