#include "job/stack_price.h"

#include <cmath>
#include <utility>

#include "job/exact_decimal.h"

namespace kelvane::job {
namespace {

// The bounds of one coil's price hold for a stack: every figure of a piece
// below 10^9 円, so that 単価 × 数量 and every total stay inside 64 bits.
constexpr double kPriceLimitYen = 1e9;
constexpr std::int64_t kPriceLimitSen = 100'000'000'000;

bool usable(double x) { return std::isfinite(x) && x >= 0; }

// 単価 in sen, exactly, as priceCoil works out one coil's: every term the
// decimal typed, w_k to fifteen significant digits, the divisions kept as
// fractions and only the end rounded half up. The windings' times have the
// common denominator D = Π S_k, and Σ n_k / S_k = N / D with
// N = Σ n_k · Π_{j≠k} S_j; over 6000·D·Q:
//   単価 × 10^4·6000·D·Q = (Σ w_k·(100 + L)·P_k·60·D·Q + (N·Q + h·D·Q + s·D)·r·100
//                          + (Σ部材 + テープ)·6000·D·Q) · (100 + o) · (100 + m)
// For one winding D = S and N = n: the same sum as one coil's.
std::optional<std::int64_t> exactUnitPriceSen(std::span<const WindingCost> windings,
                                              const QuotationTerms& t, const InsulationTape& tape,
                                              std::int64_t quantity) {
  const auto typed = typedDecimal;
  const ExactDecimal hundred{100, 0};
  const ExactDecimal q{std::uint64_t(quantity), 0};
  ExactDecimal speeds{1, 0};  // D
  for (const WindingCost& w : windings) speeds = speeds * typed(w.windingRpm);
  ExactDecimal turns;  // N
  for (std::size_t k = 0; k < windings.size(); ++k) {
    ExactDecimal term = typed(windings[k].turns);
    for (std::size_t j = 0; j < windings.size(); ++j) {
      if (j != k) term = term * typed(windings[j].windingRpm);
    }
    turns = turns + term;
  }
  const ExactDecimal dq = speeds * q;
  const ExactDecimal perLot = ExactDecimal{6000, 0} * dq;
  ExactDecimal wire;
  for (const WindingCost& w : windings)
    wire = wire + fifteenDigitDecimal(w.wireMassKg) * typed(w.wireYenPerKg);
  const ExactDecimal material = wire * (hundred + typed(t.lossPercent)) * ExactDecimal{60, 0} * dq;
  const ExactDecimal minutes =
      turns * q + typed(t.handlingMinutes) * dq + typed(t.setupMinutes) * speeds;
  const ExactDecimal processing = minutes * typed(t.labourYenPerHour) * hundred;
  ExactDecimal parts;
  for (const PartPrice& part : t.parts) parts = parts + typed(part.yenPerPiece);
  if (tape.layers > 0)
    parts = parts + typed(tape.yenPerLayer) * ExactDecimal{std::uint64_t(tape.layers), 0};
  const ExactDecimal numerator = (material + processing + parts * perLot) *
                                 (hundred + typed(t.overheadPercent)) *
                                 (hundred + typed(t.profitPercent));
  const ExactDecimal denominator{perLot.digits, perLot.exponent + 2};
  const ExactDecimal limit{denominator.digits, denominator.exponent + 11};  // 10^11 sen
  if (!less(numerator, limit)) return std::nullopt;
  return halfUpQuotient(numerator, denominator, kPriceLimitSen);
}

Expected<void> checkLotSize(const LotPrice& lot) {
  const std::pair<double, const char*> figures[] = {
      {lot.materialYen,
       "材料費が大きすぎます（「線材単価」「ロス率」と線材の重量を確かめてください）。"},
      {lot.processingYen,
       "加工費が大きすぎます（「賃率」「付帯作業時間」「段取り時間」と巻数を確かめてください）。"},
      {lot.partsYen, "部材費が大きすぎます（「部材」の単価を確かめてください）。"}};
  for (const auto& [yen, message] : figures) {
    if (!(yen < kPriceLimitYen)) return Failure{message};
  }
  return {};
}

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
  // Summed from the first winding on, in the order one coil's are, so that a
  // single winding's figures are one coil's to the bit.
  double materialYen = 0;
  double windingMinutes = 0;
  for (std::size_t k = 0; k < windings.size(); ++k) {
    const WindingCost& w = windings[k];
    WindingShare share;
    share.materialYen = w.wireMassKg * (1 + terms.lossPercent / 100) * w.wireYenPerKg;
    share.windingMinutes = w.turns / w.windingRpm;
    materialYen = k == 0 ? share.materialYen : materialYen + share.materialYen;
    windingMinutes = k == 0 ? share.windingMinutes : windingMinutes + share.windingMinutes;
    price.windings.push_back(share);
  }
  double partsYen = 0;
  for (const PartPrice& part : terms.parts) partsYen += part.yenPerPiece;
  if (tape.layers > 0) {
    price.tapeYen = tape.yenPerLayer * double(tape.layers);
    partsYen += price.tapeYen;
  }

  Quote& quote = price.quote;
  for (const std::int64_t q : terms.quantities) {
    LotPrice lot;
    lot.quantity = q;
    lot.materialYen = materialYen;
    const double minutes = windingMinutes + terms.handlingMinutes + terms.setupMinutes / double(q);
    lot.processingYen = minutes / 60 * terms.labourYenPerHour;
    lot.partsYen = partsYen;
    lot.costYen = lot.materialYen + lot.processingYen + lot.partsYen;
    if (Expected<void> checked = checkLotSize(lot); !checked.ok()) return checked.failure();
    const std::optional<std::int64_t> sen = exactUnitPriceSen(windings, terms, tape, q);
    if (!sen) return Failure{"単価が大きすぎます（「管理費率」「利益率」を確かめてください）。"};
    lot.unitPriceSen = *sen;
    // 単価 × Q in sen, half up to the yen, the whole yen and the sen apart
    // so that neither product leaves 64 bits.
    lot.amountYen = lot.unitPriceSen / 100 * q + (lot.unitPriceSen % 100 * q + 50) / 100;
    quote.lots.push_back(lot);
  }
  quote.subtotalYen = quote.lots.front().amountYen;
  quote.taxYen = quote.subtotalYen / 10;  // 10 %, rounded down
  quote.totalYen = quote.subtotalYen + quote.taxYen;
  return price;
}

Expected<std::vector<WindingCost>> windingCostsOf(const WindingStack& stack,
                                                  const StackResult& result,
                                                  std::span<const double> rpm,
                                                  const PriceList& list) {
  std::vector<WindingCost> costs;
  for (std::size_t k = 0; k < stack.windings.size() && k < result.windings.size(); ++k) {
    const Winding& winding = stack.windings[k];
    const std::string which = windingLabel(k, winding.name) + ": ";
    if (k >= rpm.size()) return Failure{which + "「巻線速度」がありません。"};
    const Coil& coil = winding.coil;
    const Expected<QuotationTerms> terms =
        termsFor(list, coil.material,
                 coil.bareDiameter > 0 ? std::optional(coil.bareDiameter) : std::nullopt);
    if (!terms) return Failure{which + terms.message()};
    const WindingResult& computed = result.windings[k];
    costs.push_back({winding.name, computed.results().weights.predictedWeight / 1000,  // g → kg
                     computed.calculation.press.state.inputs.turns, terms->wireYenPerKg, rpm[k]});
  }
  return costs;
}

}  // namespace kelvane::job
