// Working backwards: a height, weight or resistance typed into one of the four
// green result boxes becomes the number of turns that gives it.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "core/coil.h"
#include "core/input_checks.h"
#include "core/number_text.h"
#include "core/read_coil.h"
#include "core/turns_from_height.h"
#include "core/typed_number.h"
#include "form/form1.h"

namespace kelvane::form {
namespace {

// The unit a target may be typed with: the one its row shows.
constexpr std::string_view kMilligram[] = {"mg"}, kGram[] = {"g"}, kKilogram[] = {"Kg"};
constexpr std::string_view kOhm[] = {"Ω"}, kKiloohm[] = {"KΩ"};

std::span<const std::string_view> unitsOf(ResultBox target,
                                          const std::optional<ShownUnits>& shown) {
  if (target == box::AlignedWeight) {
    if (!shown) return {};
    switch (shown->mass) {
      case MassUnit::Milligram:
        return kMilligram;
      case MassUnit::Gram:
        return kGram;
      case MassUnit::Kilogram:
        return kKilogram;
    }
    return {};
  }
  if (target == box::PredictedDcr) {
    if (!shown) return {};
    return shown->resistance == ResistanceUnit::Kiloohm
               ? std::span<const std::string_view>(kKiloohm)
               : std::span<const std::string_view>(kOhm);
  }
  return units::kMillimetre;  // the heights
}

constexpr std::string_view kPressFirstMessage =
    "目標値から巻き数を求めるには、先に計算してください";

}  // namespace

void Form1::solveTarget(ResultBox target) {
  if (!takesTyping(target)) return;
  // Passing through a result box must not turn its rounded display back into
  // a different number of turns.
  if (!userChanged(idOf(target))) return;
  const std::span<const std::string_view> units = unitsOf(target, s_.units);
  const TypedNumber typed = readTypedNumber(s_.text(target), units);
  if (typed.unclearComma || typed.notANumber) {
    showMessage(*unreadableMessage(resultField(target).name, s_.text(target), typed, units));
    return;
  }
  if (typed.overflow) return;

  // The inputs the turns are solved with. Once a press has shown results,
  // they are the inputs as they stand, read and refused as 計算 reads and
  // refuses them (all but the turns box, which the target is to fill): the
  // last press's own while its results are current, and the wire, former or
  // material changed since when they are not. Nothing is computed past the
  // fan outline, and no result box is written.
  CalculationState state = s_.calc;
  std::optional<CoilPress> laidOut;
  if (s_.units) {
    const std::optional<PressRequest> request = readPress(/*withTurns=*/false);
    if (!request) return;
    CoilInputs inputs = inputsOf(request->coil);
    inputs.turns = s_.calc.inputs.turns;
    laidOut = LayOutCoil(inputs, s_.calc);
    if (laidOut->outcome == PressOutcome::Refused) {
      showRefusal(*laidOut);
      return;
    }
    state = laidOut->state;
  }

  if (target == box::AlignedHeight || target == box::CrossHeight) {
    std::optional<std::int32_t> layers;
    if (target == box::AlignedHeight) {
      layers = LayersFromAlignedHeight(typed.value, state.inputs.finishedDiameter);
    } else {
      // The crossed height counts in the finished diameter as typed now.
      const TypedNumber dw = readTypedNumber(s_.text(box::FinishedDiameter), units::kMillimetre);
      if (dw.readable()) layers = LayersFromCrossHeight(typed.value, dw.value);
    }
    if (!layers) return;
    const double turns = TurnsFromLayers(*layers, state.turnsOddLayer, state.turnsEvenLayer);
    if (std::isfinite(turns)) {
      write(box::Turns, plainDecimal(turns));
      solved(target);
    }
    return;
  }

  // Weight and resistance: the most turns whose next press shows this box
  // below the target in the unit it stands in.
  if (!s_.units) {
    showMessage(kPressFirstMessage);
    return;
  }
  // Without a shape, or with a fan outline that could not be found, there is
  // no turn to walk: the message the press would show, and no walk.
  if (laidOut->outcome != PressOutcome::Complete) {
    showMessage(laidOut->message);
    return;
  }
  const ShownTarget wanted{
      target == box::AlignedWeight ? TargetKind::Weight : TargetKind::Resistance, typed.value,
      s_.units->mass, s_.units->resistance};

  // How far the walk will likely go: the last press's turns scaled to the
  // target, by the box beside it in the same unit. The window keeps a long
  // walk off its thread.
  double expected = kMostTurns;
  const TypedNumber beside = readTypedNumber(
      s_.text(target == box::AlignedWeight ? box::PredictedWeight : box::AlignedDcr));
  if (beside.readable() && beside.value > 0)
    expected = std::fabs(state.inputs.turns) * (typed.value / beside.value);

  TurnsFound found = cancellation();
  bool cancelled = false;
  runWork_(expected, [&](PressProgress* progress) {
    found = turnsForTarget(state, wanted, static_cast<std::int32_t>(kMostTurns), progress);
    cancelled =
        found.cancelled() || (found && !found->has_value() && progress && progress->cancelled());
  });
  if (cancelled) return;
  if (!found) {
    showMessage(found.message());
    return;
  }
  if (!found->has_value()) {
    showMessage(kTargetUnreachableMessage);
    return;
  }
  write(box::Turns, plainDecimal(**found));
  solved(target);
}

void Form1::solved(ResultBox target) {
  ++s_.targetsSolved;
  s_.lastTarget = std::pair(target, s_.text(target));
}

}  // namespace kelvane::form
