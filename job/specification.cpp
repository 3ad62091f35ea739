#include "job/specification.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/number_text.h"
#include "core/typed_number.h"

namespace kelvane::job {
namespace {

constexpr std::string_view kLengths[] = {"mm"};
constexpr std::string_view kMasses[] = {"mg", "g", "kg"};
constexpr std::string_view kResistances[] = {"Ω", "kΩ"};

// What a value in the base unit (mm, g, Ω) is multiplied by to be in `unit`.
double factorOfSymbol(std::string_view unit) {
  if (unit == "mg") return factorOf(MassUnit::Milligram);
  if (unit == "kg") return factorOf(MassUnit::Kilogram);
  if (unit == "kΩ") return factorOf(ResistanceUnit::Kiloohm);
  return 1;  // mm, g, Ω
}

// The unit the box shows its value in, in SI.
std::optional<std::string_view> shownSymbol(ResultBox box, const std::optional<ShownUnits>& units) {
  if (box == ResultBox::AlignedHeight || box == ResultBox::CrossHeight) return "mm";
  if (!units) return std::nullopt;
  if (box == ResultBox::AlignedWeight) return siSymbol(units->mass);
  return siSymbol(units->resistance);
}

}  // namespace

std::string_view specifiedName(ResultBox box) {
  return box == ResultBox::PredictedDcr ? std::string_view("DCR(20℃)") : resultField(box).name;
}

Expected<Specification> typedSpecification(ResultBox box, std::string_view value,
                                           const std::string& unit, std::string_view tolerance) {
  const std::string name(specifiedName(box));
  const std::array<std::string_view, 1> units = {unit};
  const TypedNumber typed = readTypedNumber(value, units);
  if (!typed.readable() || !std::isfinite(typed.value) || !(typed.value > 0))
    return Failure{"「" + name + "」の仕様値「" + std::string(value) + "」は 0 より大きい数で" +
                   "入力してください（単位は「" + unit + "」）。"};
  Specification spec{box, typed.value, unit, std::nullopt};
  constexpr std::array<std::string_view, 1> kPercent = {"%"};
  const TypedNumber percent = readTypedNumber(tolerance, kPercent);
  if (percent.blank) return spec;
  if (!percent.readable() || !(percent.value >= 0 && percent.value <= 100))
    return Failure{"「" + name + "」の公差「" + std::string(tolerance) +
                   "」は 0 から 100 までの % で入力してください（空けると ±" +
                   plainDecimal(kDefaultTolerancePercent) + " %）。"};
  spec.tolerancePercent = percent.value;
  return spec;
}

std::span<const std::string_view> specificationUnits(ResultBox box) {
  if (box == ResultBox::AlignedHeight || box == ResultBox::CrossHeight) return kLengths;
  if (box == ResultBox::AlignedWeight) return kMasses;
  if (box == ResultBox::PredictedDcr) return kResistances;
  return {};
}

std::optional<Specification> specificationFromTarget(ResultBox box, std::string_view text,
                                                     const std::optional<ShownUnits>& units) {
  if (!takesTyping(box)) return std::nullopt;
  const std::optional<std::string_view> unit = shownSymbol(box, units);
  if (!unit) return std::nullopt;
  // The box may have been typed with the window's spelling of its unit.
  const std::string_view window = box == ResultBox::AlignedWeight  ? windowSymbol(units->mass)
                                  : box == ResultBox::PredictedDcr ? windowSymbol(units->resistance)
                                                                   : std::string_view("mm");
  const std::array<std::string_view, 2> typedUnits = {window, *unit};
  const TypedNumber typed = readTypedNumber(text, typedUnits);
  if (!typed.readable() || !(typed.value > 0) || !std::isfinite(typed.value)) return std::nullopt;
  return Specification{box, typed.value, std::string(*unit), std::nullopt};
}

std::optional<double> specifiedResult(const Specification& spec, const ShownCoil& coil) {
  if (!coil.current || coil.typedOver[indexOf(spec.box)]) return std::nullopt;
  const std::optional<std::string_view> shown = shownSymbol(spec.box, coil.units);
  if (!shown) return std::nullopt;
  const TypedNumber n = readTypedNumber(coil.text(spec.box));
  if (n.blank || !n.readable() || !std::isfinite(n.value)) return std::nullopt;
  return n.value / factorOfSymbol(*shown) * factorOfSymbol(spec.unit);
}

SpecificationCheck checkSpecification(const Specification& spec, const ShownCoil& coil) {
  const std::optional<double> result = specifiedResult(spec, coil);
  if (!result) return SpecificationCheck::NotKnown;
  const double tolerance = spec.tolerancePercent.value_or(kDefaultTolerancePercent);
  return std::fabs(*result - spec.value) <= spec.value * tolerance / 100
             ? SpecificationCheck::Met
             : SpecificationCheck::Missed;
}

bool missesSpecification(const std::vector<Specification>& specs, const ShownCoil& coil) {
  return std::any_of(specs.begin(), specs.end(), [&](const Specification& spec) {
    return checkSpecification(spec, coil) == SpecificationCheck::Missed;
  });
}

std::string specificationText(const Specification& spec) {
  std::string text(specifiedName(spec.box));
  text.append(" ").append(plainDecimal(spec.value)).append(" ").append(spec.unit);
  text.append(" ±").append(plainDecimal(spec.tolerancePercent.value_or(kDefaultTolerancePercent)));
  text.append(" %");
  if (!spec.tolerancePercent) text.append("（既定）");
  return text;
}

std::string specifiedResultText(const Specification& spec, const ShownCoil& coil) {
  const std::optional<double> result = specifiedResult(spec, coil);
  if (!result) return {};
  return plainDecimal(*result).append(" ").append(spec.unit);
}

void keepSpecification(std::vector<Specification>& specs, Specification spec) {
  const auto same = std::find_if(specs.begin(), specs.end(),
                                 [&](const Specification& kept) { return kept.box == spec.box; });
  if (same != specs.end()) {
    // A new target for the same result keeps the tolerance the customer gave.
    if (!spec.tolerancePercent) spec.tolerancePercent = same->tolerancePercent;
    *same = std::move(spec);
  } else {
    specs.push_back(std::move(spec));
  }
}

}  // namespace kelvane::job
