#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/expected.h"
#include "job/quotation.h"

namespace kelvane::job {

// The quotation's figures as the engineer types them: the name and unit of
// each figure of the 見積条件, its text in a box, and a box's text read back;
// the lot sizes and the days a quotation is valid likewise.

// A figure of the terms, in the order the window and the sheets list them.
enum class TermFigure {
  WirePrice,  // 線材単価
  Loss,       // ロス率
  Speed,      // 巻線速度
  Handling,   // 付帯作業時間
  Setup,      // 段取り時間
  Labour,     // 賃率
  Overhead,   // 管理費率
  Profit,     // 利益率
};
inline constexpr std::array<TermFigure, 8> kTermFigures = {
    TermFigure::WirePrice, TermFigure::Loss,   TermFigure::Speed,    TermFigure::Handling,
    TermFigure::Setup,     TermFigure::Labour, TermFigure::Overhead, TermFigure::Profit};

// The figure's name (線材単価) and unit (円/kg).
std::string_view termName(TermFigure figure);
std::string_view termUnit(TermFigure figure);
// The units the figure's box may be typed with, termUnit first.
std::span<const std::string_view> termUnits(TermFigure figure);

// The figure's place in the terms.
double& termValue(QuotationTerms& terms, TermFigure figure);
double termValue(const QuotationTerms& terms, TermFigure figure);

// A figure as its box shows it: plainDecimal ("1800", "2.5").
std::string termText(double value);

// The wire's mass a price is worked out from, in kg, to six significant
// digits and never in the exponent form: "0.00201968", "1.23457", "0".
std::string massText(double kg);

// The figure typed into the box named `box`, read as every number box of
// the window reads: full-width digits and digit groups ("1,800") are
// understood, and one of `units` may follow the number ("1800 円/kg").
// Refused with a sentence naming the box and quoting the text: an empty
// text, anything besides the number and a unit ("1h" in a box of minutes), a
// comma that is no digit group, a number too large, a figure below 0.
Expected<double> readTermFigure(std::string_view box, std::string_view text,
                                std::span<const std::string_view> units = {});

// A 数量 box: none when it is empty (that lot size is not used), else a
// whole number of pieces from 1 to kMaxQuantity, read as readTermFigure
// reads ("１，０００" is 1000).
Expected<std::optional<std::int64_t>> readQuantity(std::string_view box, std::string_view text);

// The tax line's caption: priceCoil adds 消費税 at 10 %.
inline constexpr std::string_view kTaxCaption = "消費税（10 %）";

// A lot size as its box shows it, grouped: "1,000".
std::string quantityText(std::int64_t pieces);

// The longest a quotation may be valid, in days: ten years.
inline constexpr int kMostValidDays = 3650;

// 有効期限 in days from 発行日, a whole number from 0 (the day of issue
// only) to kMostValidDays read as readTermFigure reads, or the sentence
// naming the box.
Expected<int> readValidDays(std::string_view text);

}  // namespace kelvane::job
