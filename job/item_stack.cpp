#include "job/item_stack.h"

#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "core/calculate_coil.h"
#include "core/coil_fields.h"
#include "core/input_checks.h"
#include "core/number_text.h"
#include "core/typed_number.h"
#include "job/coil_price.h"

namespace kelvane::job {
namespace {

std::optional<std::string> unreadable(const std::string& label, const std::string& text,
                                      std::span<const std::string_view> units) {
  const TypedNumber n = readTypedNumber(text, units);
  return unreadableMessage(label, text, n, units);
}

}  // namespace

Expected<Insulation> readInsulation(const TypedInsulation& typed, const std::string& winding) {
  const std::string thicknessName = "層間絶縁の厚み";
  const std::string layersName = "層間絶縁の層数";
  if (auto message = unreadable(thicknessName, typed.thicknessPerLayer, units::kMillimetre))
    return Failure{winding + ": " + *message};
  if (auto message = unreadable(layersName, typed.layers, {}))
    return Failure{winding + ": " + *message};
  const double thickness = readTypedNumber(typed.thicknessPerLayer, units::kMillimetre).value;
  const double layers = readTypedNumber(typed.layers, {}).value;
  if (!(thickness >= 0 && thickness <= kLargestSize))
    return Failure{winding + ": 層間絶縁の厚みは0～1,000,000 mmの範囲で入力してください"};
  if (!(layers >= 0 && layers <= kMostInsulationLayers) || layers != std::floor(layers))
    return Failure{winding + ": 層間絶縁の層数は0～1,000の整数で入力してください"};
  return Insulation{thickness, static_cast<int>(layers)};
}

TypedCoil onInheritedFormer(TypedCoil coil, const Former& former) {
  coil.former = former.shape;
  const auto put = [&](InputBox b, double size) { coil.texts[indexOf(b)] = plainDecimal(size); };
  put(InputBox::InnerDiameter, former.innerDiameter);
  put(InputBox::SideA, former.sideA);
  put(InputBox::SideB, former.sideB);
  put(InputBox::CornerR1, former.cornerR1);
  put(InputBox::CornerR2, former.cornerR2);
  put(InputBox::FanRadius, former.fanRadius);
  put(InputBox::FanAngle, former.fanAngle);
  return coil;
}

Expected<WindingStack> stackOf(const Item& item) {
  if (!item.coil.former) return Failure{std::string(kNoShapeMessage)};
  if (item.upperWindings.size() + 1 > kMostWindings)
    return Failure{"巻線が多すぎます（1つの巻枠に8巻線まで）。"};
  WindingStack stack;
  const CoilReading first = readCoil(item.coil);
  if (first.refusal)
    return Failure{windingLabel(0, item.windingName) + ": " + first.refusal->message};
  const std::optional<Former> former = formerOf(first.coil);
  if (!former) return Failure{std::string(kNoShapeMessage)};
  stack.former = *former;
  stack.windings.push_back({item.windingName, first.coil, {}});
  // A winding above takes its former from the one below: its own former's
  // boxes are not read, whatever they hold.
  std::array<bool, kInputBoxCount> shown{};
  for (int i = 0; i < kInputBoxCount; ++i) {
    const auto b = static_cast<InputBox>(i);
    shown[i] = !isFormerSize(b);
  }
  for (std::size_t k = 0; k < item.upperWindings.size(); ++k) {
    const UpperWinding& upper = item.upperWindings[k];
    const std::string label = windingLabel(k + 1, upper.name);
    TypedCoil typed = upper.coil;
    typed.former = item.coil.former;
    const CoilReading reading = readCoil(typed, shown);
    if (reading.refusal) return Failure{label + ": " + reading.refusal->message};
    Expected<Insulation> under = readInsulation(upper.under, label);
    if (!under) return under.failure();
    stack.windings.push_back({upper.name, reading.coil, *under});
  }
  return stack;
}

Item withStackTurns(Item item, const WindingStack& stack) {
  const auto turnsText = [](const Coil& coil) { return plainDecimal(coil.turns); };
  if (!stack.windings.empty()) item.input(InputBox::Turns) = turnsText(stack.windings[0].coil);
  for (std::size_t k = 1; k < stack.windings.size() && k <= item.upperWindings.size(); ++k)
    item.upperWindings[k - 1].coil.texts[indexOf(InputBox::Turns)] =
        turnsText(stack.windings[k].coil);
  return item;
}

Expected<StackPrice> priceItemStack(const Item& item, const WindingStack& stack,
                                    const StackResult& result, const QuotationTerms& first,
                                    const std::function<Expected<PriceList>()>& list) {
  std::vector<WindingCost> costs;
  std::optional<PriceList> prices;
  for (std::size_t k = 0; k < stack.windings.size() && k < result.windings.size(); ++k) {
    const Winding& winding = stack.windings[k];
    const WindingResult& computed = result.windings[k];
    WindingCost cost{winding.name, computed.results().weights.predictedWeight / 1000,  // g → kg
                     computed.calculation.press.state.inputs.turns, first.wireYenPerKg,
                     first.windingRpm};
    if (k > 0 && k <= item.upperWindings.size()) {
      const WindingTerms& own = item.upperWindings[k - 1].terms;
      if (own.windingRpm) cost.windingRpm = *own.windingRpm;
      if (own.wireYenPerKg) {
        cost.wireYenPerKg = *own.wireYenPerKg;
      } else {
        if (!prices) {
          Expected<PriceList> asked = list();
          if (!asked) return Failure{windingLabel(k, winding.name) + ": " + asked.message()};
          prices = std::move(asked.value());
        }
        const Coil& coil = winding.coil;
        const Expected<QuotationTerms> terms =
            termsFor(*prices, coil.material,
                     coil.bareDiameter > 0 ? std::optional(coil.bareDiameter) : std::nullopt);
        if (!terms) return Failure{windingLabel(k, winding.name) + ": " + terms.message()};
        cost.wireYenPerKg = terms->wireYenPerKg;
      }
    }
    costs.push_back(std::move(cost));
  }
  return priceStack(costs, first, InsulationTape{item.tapeYenPerLayer, tapeLayersOf(stack)});
}

Expected<StackPrice> priceOfStack(const Item& item, const std::optional<StackResult>& result,
                                  const QuotationTerms& first,
                                  const std::function<Expected<PriceList>()>& list) {
  if (!result) return Failure{std::string(kNoCurrentPressMessage)};
  if (auto wrong = otherMaterialsPrice(first, item.coil.material)) return *wrong;
  const Expected<WindingStack> stack = stackOf(item);
  if (!stack) return stack.failure();
  const auto noList = []() -> Expected<PriceList> {
    return Failure{"単価表がありません。巻線の線材単価を入力してください。"};
  };
  return priceItemStack(item, *stack, *result, first, list ? list : noList);
}

Expected<CoilPrice> coilPriceOfStack(const Item& item, const std::optional<StackResult>& result,
                                     const QuotationTerms& first,
                                     const std::function<Expected<PriceList>()>& list) {
  const Expected<StackPrice> price = priceOfStack(item, result, first, list);
  if (!price) return price.failure();
  CoilPrice coil;
  coil.quote = price->quote;
  for (const WindingResult& w : result->windings) {
    coil.turns += w.calculation.press.state.inputs.turns;
    coil.wireMassKg += w.results().weights.predictedWeight / 1000;  // g → kg
  }
  return coil;
}

}  // namespace kelvane::job
