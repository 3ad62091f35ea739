#include "job/quotation_text.h"

#include <algorithm>
#include <cmath>

#include "core/decimal_chars.h"
#include "core/number_text.h"
#include "core/typed_number.h"
#include "job/quotation_rows.h"

namespace kelvane::job {
namespace {

struct FigureDesign {
  std::string_view name;
  std::string_view unit;
  double QuotationTerms::*value;
};

constexpr FigureDesign kDesigns[] = {
    {"線材単価", "円/kg", &QuotationTerms::wireYenPerKg},
    {"ロス率", "%", &QuotationTerms::lossPercent},
    {"巻線速度", "min⁻¹", &QuotationTerms::windingRpm},
    {"付帯作業時間", "min", &QuotationTerms::handlingMinutes},
    {"段取り時間", "min", &QuotationTerms::setupMinutes},
    {"賃率", "円/h", &QuotationTerms::labourYenPerHour},
    {"管理費率", "%", &QuotationTerms::overheadPercent},
    {"利益率", "%", &QuotationTerms::profitPercent},
};

const FigureDesign& designOf(TermFigure figure) { return kDesigns[static_cast<int>(figure)]; }

std::string quoted(std::string_view text) { return "「" + std::string(text) + "」"; }

// Whether the text, blanks dropped and full-width signs made ASCII, starts
// with a number: a digit, or a sign or a point before one. The window reads
// a text without one as 0; a price must not become 0 by a slip.
bool startsWithNumber(std::string_view text) {
  std::string plain;
  for (const char c : toHalfWidth(text))
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') plain += c;
  std::size_t i = 0;
  if (i < plain.size() && (plain[i] == '+' || plain[i] == '-')) ++i;
  if (i < plain.size() && plain[i] == '.') ++i;
  return i < plain.size() && plain[i] >= '0' && plain[i] <= '9';
}

}  // namespace

std::string_view termName(TermFigure figure) { return designOf(figure).name; }
std::string_view termUnit(TermFigure figure) { return designOf(figure).unit; }

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

Expected<double> readTermFigure(std::string_view box, std::string_view text) {
  const TypedNumber n = readTypedNumber(text);
  if (!startsWithNumber(text) || n.unclearComma) {
    return Failure{quoted(box) + "を数として読めません（" + quoted(text) + "）。"};
  }
  if (n.overflow || !std::isfinite(n.value)) {
    return Failure{quoted(box) + "の数が大きすぎます（" + quoted(text) + "）。"};
  }
  if (n.value < 0) return Failure{quoted(box) + "には 0 以上の数を入力してください。"};
  return n.value;
}

Expected<std::optional<std::int64_t>> readQuantity(std::string_view box, std::string_view text) {
  if (toHalfWidth(text).find_first_not_of(" \t\r\n") == std::string::npos)
    return std::optional<std::int64_t>{};
  const Expected<double> pieces = readTermFigure(box, text);
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
  const Expected<double> days = readTermFigure(box, text);
  if (!days) return days.failure();
  if (*days > kMostValidDays || *days != std::floor(*days)) {
    return Failure{quoted(box) + "は 0 から " + wholeText(kMostValidDays) +
                   " までの日数（整数）で入力してください。"};
  }
  return static_cast<int>(*days);
}

}  // namespace kelvane::job
