#include "job/requirement.h"

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

std::string_view requiredName(ResultBox box) {
  return box == ResultBox::PredictedDcr ? std::string_view("DCR(20℃)") : resultField(box).name;
}

Expected<Requirement> typedRequirement(ResultBox box, std::string_view value,
                                       const std::string& unit, std::string_view tolerance) {
  const std::string name(requiredName(box));
  const std::array<std::string_view, 1> units = {unit};
  const TypedNumber typed = readTypedNumber(value, units);
  if (!typed.readable() || !std::isfinite(typed.value) || !(typed.value > 0))
    return Failure{"「" + name + "」の仕様値「" + std::string(value) + "」は 0 より大きい数で" +
                   "入力してください（単位は「" + unit + "」）。"};
  Requirement requirement{box, typed.value, unit, std::nullopt};
  constexpr std::array<std::string_view, 1> kPercent = {"%"};
  const TypedNumber percent = readTypedNumber(tolerance, kPercent);
  if (percent.blank) return requirement;
  if (!percent.readable() || !(percent.value >= 0 && percent.value <= 100))
    return Failure{"「" + name + "」の公差「" + std::string(tolerance) +
                   "」は 0 から 100 までの % で入力してください（空けると ±" +
                   plainDecimal(kDefaultTolerancePercent) + " %）。"};
  requirement.tolerancePercent = percent.value;
  return requirement;
}

std::span<const std::string_view> requirementUnits(ResultBox box) {
  if (box == ResultBox::AlignedHeight || box == ResultBox::CrossHeight) return kLengths;
  if (box == ResultBox::AlignedWeight) return kMasses;
  if (box == ResultBox::PredictedDcr) return kResistances;
  return {};
}

std::optional<Requirement> requirementFromTarget(ResultBox box, std::string_view text,
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
  return Requirement{box, typed.value, std::string(*unit), std::nullopt};
}

std::optional<double> requiredResult(const Requirement& requirement, const ShownCoil& coil) {
  if (!coil.current || coil.typedOver[indexOf(requirement.box)]) return std::nullopt;
  const std::optional<std::string_view> shown = shownSymbol(requirement.box, coil.units);
  if (!shown) return std::nullopt;
  const TypedNumber n = readTypedNumber(coil.text(requirement.box));
  if (n.blank || !n.readable() || !std::isfinite(n.value)) return std::nullopt;
  return n.value / factorOfSymbol(*shown) * factorOfSymbol(requirement.unit);
}

RequirementCheck checkRequirement(const Requirement& requirement, const ShownCoil& coil) {
  const std::optional<double> result = requiredResult(requirement, coil);
  if (!result) return RequirementCheck::NotKnown;
  const double tolerance = requirement.tolerancePercent.value_or(kDefaultTolerancePercent);
  return std::fabs(*result - requirement.value) <= requirement.value * tolerance / 100
             ? RequirementCheck::Met
             : RequirementCheck::Missed;
}

bool missesRequirement(const std::vector<Requirement>& requirements, const ShownCoil& coil) {
  return std::any_of(requirements.begin(), requirements.end(), [&](const Requirement& requirement) {
    return checkRequirement(requirement, coil) == RequirementCheck::Missed;
  });
}

std::vector<std::string> missedRequirements(const std::vector<Requirement>& requirements,
                                            const ShownCoil& coil) {
  std::vector<std::string> missed;
  for (const Requirement& requirement : requirements) {
    if (checkRequirement(requirement, coil) != RequirementCheck::Missed) continue;
    missed.push_back("仕様 " + requirementText(requirement) + "、結果 " +
                     requiredResultText(requirement, coil));
  }
  return missed;
}

std::string_view itemMark(const std::vector<Requirement>& requirements, const ShownCoil& coil) {
  if (!coil.current) return "未計算";
  return missesRequirement(requirements, coil) ? "仕様外" : "";
}

std::string requirementText(const Requirement& requirement) {
  std::string text(requiredName(requirement.box));
  text.append(" ").append(plainDecimal(requirement.value)).append(" ").append(requirement.unit);
  text.append(" ±").append(
      plainDecimal(requirement.tolerancePercent.value_or(kDefaultTolerancePercent)));
  text.append(" %");
  if (!requirement.tolerancePercent) text.append("（既定）");
  return text;
}

std::string requiredResultText(const Requirement& requirement, const ShownCoil& coil) {
  const std::optional<double> result = requiredResult(requirement, coil);
  if (!result) return {};
  return plainDecimal(*result).append(" ").append(requirement.unit);
}

void keepRequirement(std::vector<Requirement>& requirements, Requirement requirement) {
  const auto same =
      std::find_if(requirements.begin(), requirements.end(),
                   [&](const Requirement& kept) { return kept.box == requirement.box; });
  if (same != requirements.end()) {
    // A new target for the same result keeps the tolerance the customer gave.
    if (!requirement.tolerancePercent) requirement.tolerancePercent = same->tolerancePercent;
    *same = std::move(requirement);
  } else {
    requirements.push_back(std::move(requirement));
  }
}

}  // namespace kelvane::job
