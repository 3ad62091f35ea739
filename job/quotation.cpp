#include "job/quotation.h"

#include <charconv>
#include <cmath>

#include "core/decimal_chars.h"

namespace kelvane::job {
namespace {

// A bound every piece's price stays below. With the largest lot it keeps
// 単価 × 数量 in sen, and every total, well inside a 64-bit integer (below
// 10^18 円 at the very most).
constexpr double kPriceLimitYen = 1e9;

Failure refusal(std::string message) { return Failure{std::move(message)}; }

// A figure a price may be worked out from: finite and not negative.
bool usable(double x) { return std::isfinite(x) && x >= 0; }

// `yen` rounded half up to a sen (0.01 円), as a person rounds the figure a
// calculator shows. The product behind 単価 is a binary double: 12.345 is
// held as 12.34499999999999975…, and rounding that as it stands would give
// 12.34 where anyone redoing the sum by hand writes 12.35. So the value is
// first rounded to 12 significant decimal digits, the most a desk calculator
// shows, and the half-up rounding is done on those digits. The error a chain
// of a dozen double operations collects is below 10^-15 of the value, a
// thousand times finer than the twelfth digit, so this removes the noise and
// nothing a person could see. Prices stay below 10^9 円, 10^11 sen, so the
// twelve digits always reach past the sen. Rounding to the twelfth digit and
// then to the sen never turns a smaller price into a larger one.
std::int64_t halfUpToSen(double yen) {
  char text[32];
  const char* end = printScientific(text, text + sizeof text, yen, 11).ptr;  // d.ddddddddddde±XX
  std::int64_t digits = text[0] - '0';
  for (int i = 2; i <= 12; ++i) digits = digits * 10 + (text[i] - '0');
  const char* e = text + 13;
  int exponent = 0;
  std::from_chars(e + 1 + (e[1] == '+'), end, exponent);
  // yen = digits × 10^(exponent - 11), so sen = digits × 10^(exponent - 9).
  int shift = exponent - 9;
  if (shift >= 0) {
    while (shift-- > 0) digits *= 10;
    return digits;
  }
  if (shift < -12) return 0;  // below a half sen by far
  std::int64_t unit = 1;
  while (shift++ < 0) unit *= 10;
  return (digits + unit / 2) / unit;
}

// Whether every one of the pieces' figures can be priced; the failure names
// the first that is too large.
Expected<void> checkLotSize(const LotPrice& lot, double unitPriceYen) {
  const std::pair<double, const char*> parts[] = {
      {lot.materialYen,
       "材料費が大きすぎます（「線材単価」「ロス率」と線材の重量を確かめてください）。"},
      {lot.processingYen,
       "加工費が大きすぎます（「賃率」「付帯作業時間」「段取り時間」と巻数を確かめてください）。"},
      {lot.partsYen, "部材費が大きすぎます（「部材」の単価を確かめてください）。"},
      {unitPriceYen, "単価が大きすぎます（「管理費率」「利益率」を確かめてください）。"}};
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
  const double markup = (1 + terms.overheadPercent / 100) * (1 + terms.profitPercent / 100);

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
    const double unitPriceYen = lot.costYen * markup;
    if (auto checked = checkLotSize(lot, unitPriceYen); !checked.ok()) return checked.failure();
    lot.unitPriceSen = halfUpToSen(unitPriceYen);
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
