#include "job/shown_coil.h"

#include "core/number_text.h"

namespace kelvane::job {

FirstPress pressOnOpening(const TypedCoil& typed) {
  FirstPress first;
  ShownCoil& shown = first.coil;
  shown.typed = typed;
  // A window with every former button off shows the boxes it opened with,
  // the rectangular former's; the press then reads every input.
  const FormerShape boxesOf = typed.former.value_or(FormerShape::Rectangular);
  for (int i = 0; i < kInputBoxCount; ++i)
    shown.inputShown[i] = formerShows(boxesOf, static_cast<InputBox>(i));
  for (int i = 0; i < kResultBoxCount; ++i)
    shown.resultShown[i] = formerShows(boxesOf, static_cast<ResultBox>(i));
  shown.outerRorDName = outerRorDName(boxesOf).value_or("");

  const CoilReading reading = readCoil(typed, shown.inputShown);
  if (reading.refusal) {
    first.message = reading.refusal->message;
    return first;
  }
  const CoilCalculation calculation = calculate(inputsOf(reading.coil));
  const CoilPress& press = calculation.press;
  first.message = press.message;
  if (press.outcome == PressOutcome::Refused) return first;
  // An empty r2 is written as r1: four equal corners.
  if (!reading.coil.cornerR2) {
    shown.typed.texts[indexOf(InputBox::CornerR2)] = plainDecimal(reading.coil.cornerR1);
  }
  shown.calc = press.state;
  for (int i = 0; i < kResultBoxCount; ++i) shown.results[i] = calculation.texts[i].value_or("");
  if (press.outcome == PressOutcome::NoShape) return first;
  shown.units = calculation.units();
  shown.pressed = press.results;
  shown.resistance = calculation.resistance(typed.material);
  shown.current = press.outcome == PressOutcome::Complete;
  return first;
}

}  // namespace kelvane::job
