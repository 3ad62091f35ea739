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
// the sen above 10^7 円. The wires' times have the common denominator
// D = Π S_k, and Σ n_k / S_k = N / D with N = Σ n_k · Π_{j≠k} S_j; written
// over one denominator 6000·D·Q:
//   単価 × 10^4·6000·D·Q = (Σ w_k·P_k·(100 + L)·60·D·Q + (N·Q + h·D·Q + s·D)·r·100
//                          + Σ部材·6000·D·Q) · (100 + o) · (100 + m)
// For one wire D = S and N = n: one coil's sum. Nothing when 単価 is 10^9 円
// or more.
std::optional<std::int64_t> exactUnitPriceSen(std::span<const WoundWire> wires,
                                              const QuotationTerms& t,
                                              std::span<const CountedPart> extra,
                                              std::int64_t quantity) {
  const auto typed = typedDecimal;
  const ExactDecimal hundred{100, 0};
  const ExactDecimal q{std::uint64_t(quantity), 0};
  ExactDecimal speeds{1, 0};  // D
  for (const WoundWire& w : wires) speeds = speeds * typed(w.windingRpm);
  ExactDecimal turns;  // N
  ExactDecimal wire;   // Σ w_k·P_k
  for (std::size_t k = 0; k < wires.size(); ++k) {
    ExactDecimal term = typed(wires[k].turns);
    for (std::size_t j = 0; j < wires.size(); ++j) {
      if (j != k) term = term * typed(wires[j].windingRpm);
    }
    turns = turns + term;
    wire = wire + fifteenDigitDecimal(wires[k].wireMassKg) * typed(wires[k].wireYenPerKg);
  }
  const ExactDecimal dq = speeds * q;
  const ExactDecimal perLot = ExactDecimal{6000, 0} * dq;
  const ExactDecimal material = wire * (hundred + typed(t.lossPercent)) * ExactDecimal{60, 0} * dq;
  const ExactDecimal minutes =
      turns * q + typed(t.handlingMinutes) * dq + typed(t.setupMinutes) * speeds;
  const ExactDecimal processing = minutes * typed(t.labourYenPerHour) * hundred;
  ExactDecimal parts;
  for (const PartPrice& part : t.parts) parts = parts + typed(part.yenPerPiece);
  for (const CountedPart& part : extra)
    parts = parts + typed(part.yenPerPiece) * ExactDecimal{std::uint64_t(part.count), 0};
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

Expected<Quote> priceWires(std::span<const WoundWire> wires, const QuotationTerms& terms,
                           std::span<const CountedPart> extra) {
  // Summed from the first wire on, so that one wire's figures are one
  // coil's to the bit.
  double materialYen = 0;
  double windingMinutes = 0;
  for (std::size_t k = 0; k < wires.size(); ++k) {
    const WoundWire& w = wires[k];
    const double material = w.wireMassKg * (1 + terms.lossPercent / 100) * w.wireYenPerKg;
    const double minutes = w.turns / w.windingRpm;
    materialYen = k == 0 ? material : materialYen + material;
    windingMinutes = k == 0 ? minutes : windingMinutes + minutes;
  }
  double partsYen = 0;
  for (const PartPrice& part : terms.parts) partsYen += part.yenPerPiece;
  for (const CountedPart& part : extra) partsYen += part.yenPerPiece * double(part.count);

  Quote quote;
  for (const std::int64_t q : terms.quantities) {
    LotPrice lot;
    lot.quantity = q;
    lot.materialYen = materialYen;
    const double minutes = windingMinutes + terms.handlingMinutes + terms.setupMinutes / double(q);
    lot.processingYen = minutes / 60 * terms.labourYenPerHour;
    lot.partsYen = partsYen;
    lot.costYen = lot.materialYen + lot.processingYen + lot.partsYen;
    if (auto checked = checkLotSize(lot); !checked.ok()) return checked.failure();
    const std::optional<std::int64_t> sen = exactUnitPriceSen(wires, terms, extra, q);
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

Expected<Quote> priceCoil(double wireMassKg, double turns, const QuotationTerms& terms) {
  if (!usable(wireMassKg)) return refusal("線材の重量が求まっていないため、見積できません。");
  if (!usable(turns)) return refusal("巻数が求まっていないため、見積できません。");
  if (auto checked = checkTerms(terms); !checked.ok()) return refusal(checked.message());
  const WoundWire wire{wireMassKg, turns, terms.wireYenPerKg, terms.windingRpm};
  return priceWires(std::span(&wire, 1), terms);
}

}  // namespace kelvane::job
