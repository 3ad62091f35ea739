#include "job/quotation_text.h"

#include <algorithm>
#include <cmath>

#include "core/decimal_chars.h"
#include "core/number_text.h"
#include "core/typed_number.h"
#include "job/quotation_rows.h"

namespace kelvane::job {
namespace {

// The units a figure's box may be typed with after its number; the first
// is the one the pane writes beside the box.
constexpr std::string_view kYenPerKg[] = {"円/kg", "円"};
constexpr std::string_view kPercent[] = {"%"};
constexpr std::string_view kPerMinute[] = {"min⁻¹", "min-1", "rpm"};
constexpr std::string_view kMinutes[] = {"min", "分"};
constexpr std::string_view kYenPerHour[] = {"円/h", "円/時", "円"};

struct FigureDesign {
  std::string_view name;
  std::span<const std::string_view> units;
  double QuotationTerms::*value;
};

constexpr FigureDesign kDesigns[] = {
    {"線材単価", kYenPerKg, &QuotationTerms::wireYenPerKg},
    {"ロス率", kPercent, &QuotationTerms::lossPercent},
    {"巻線速度", kPerMinute, &QuotationTerms::windingRpm},
    {"付帯作業時間", kMinutes, &QuotationTerms::handlingMinutes},
    {"段取り時間", kMinutes, &QuotationTerms::setupMinutes},
    {"賃率", kYenPerHour, &QuotationTerms::labourYenPerHour},
    {"管理費率", kPercent, &QuotationTerms::overheadPercent},
    {"利益率", kPercent, &QuotationTerms::profitPercent},
};

const FigureDesign& designOf(TermFigure figure) { return kDesigns[static_cast<int>(figure)]; }

std::string quoted(std::string_view text) { return "「" + std::string(text) + "」"; }

}  // namespace

std::string_view termName(TermFigure figure) { return designOf(figure).name; }
std::string_view termUnit(TermFigure figure) { return designOf(figure).units.front(); }
std::span<const std::string_view> termUnits(TermFigure figure) { return designOf(figure).units; }

double& termValue(QuotationTerms& terms, TermFigure figure) {
  return terms.*(designOf(figure).value);
}
double termValue(const QuotationTerms& terms, TermFigure figure) {
  return terms.*(designOf(figure).value);
}

std::string termText(double value) { return plainDecimal(value); }

std::string massText(double kg) {
  if (!(kg > 0) || !std::isfinite(kg)) return "0";
  // Six significant digits: as many decimals as the leading digit leaves.
  const int leading = static_cast<int>(std::floor(std::log10(kg)));
  const int decimals = std::clamp(5 - leading, 0, 340);
  char buffer[400];
  const auto written = printFixed(buffer, buffer + sizeof buffer, kg, decimals);
  std::string text(buffer, written.ptr);
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  return text;
}

Expected<double> readTermFigure(std::string_view box, std::string_view text,
                                std::span<const std::string_view> units) {
  const TypedNumber n = readTypedNumber(text, units);
  // A box left empty would price as 0: a slip, not a figure.
  if (n.blank || n.notANumber || n.unclearComma) {
    std::string message =
        quoted(box) + "を数として読めません（" + quoted(visibleText(text)) + "）。";
    if (n.notANumber && !units.empty())
      message += "数と単位「" + std::string(units.front()) + "」だけを入力してください。";
    return Failure{message};
  }
  if (n.overflow || !std::isfinite(n.value)) {
    return Failure{quoted(box) + "の数が大きすぎます（" + quoted(text) + "）。"};
  }
  if (n.value < 0) return Failure{quoted(box) + "には 0 以上の数を入力してください。"};
  return n.value;
}

Expected<std::optional<std::int64_t>> readQuantity(std::string_view box, std::string_view text) {
  if (readTypedNumber(text).blank) return std::optional<std::int64_t>{};
  static constexpr std::string_view kPieces[] = {"個"};
  const Expected<double> pieces = readTermFigure(box, text, kPieces);
  if (!pieces) return pieces.failure();
  if (*pieces < 1 || *pieces > double(kMaxQuantity) || *pieces != std::floor(*pieces)) {
    return Failure{quoted(box) + "は 1 から " + wholeText(kMaxQuantity) +
                   " までの整数で入力してください。"};
  }
  return std::optional<std::int64_t>(static_cast<std::int64_t>(*pieces));
}

std::string quantityText(std::int64_t pieces) { return wholeText(pieces); }

Expected<int> readValidDays(std::string_view text) {
  constexpr std::string_view box = "有効期限";
  static constexpr std::string_view kDays[] = {"日"};
  const Expected<double> days = readTermFigure(box, text, kDays);
  if (!days) return days.failure();
  if (*days > kMostValidDays || *days != std::floor(*days)) {
    return Failure{quoted(box) + "は 0 から " + wholeText(kMostValidDays) +
                   " までの日数（整数）で入力してください。"};
  }
  return static_cast<int>(*days);
}

}  // namespace kelvane::job
