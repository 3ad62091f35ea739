// The Calculate button: reads the input boxes, runs the press, writes the
// result boxes and unit captions, and draws the section.
#include "core/coil.h"
#include "core/number_text.h"
#include "core/read_coil.h"
#include "form/diagram_geometry.h"
#include "form/form1.h"
#include "form/section_layout.h"

namespace kelvane::form {

void Form1::calculate() {
  const auto request = readPress();
  if (!request) return;
  const CoilInputs inputs = inputsOf(request->coil);
  CoilCalculation calculation;
  runWork_(inputs.turns, [&](PressProgress* progress) {
    calculation = kelvane::calculate(inputs, request->previous, progress);
  });
  writePress(*request, calculation);
}

void Form1::showPress(const CoilCalculation& calculation) {
  const auto request = readPress();
  if (!request) return;
  writePress(*request, calculation);
}

std::optional<Form1::PressRequest> Form1::readPress(bool withTurns) {
  // A box the former hides takes no part in its results, so what it holds
  // is not held against the press.
  const CoilReading reading = readCoil(s_.typed(), s_.visible.inputs, withTurns);
  if (reading.refusal) {
    refuseBox(reading.refusal->field, reading.refusal->message);
    return std::nullopt;
  }
  return PressRequest{reading.coil, s_.calc};
}

void Form1::writePress(const PressRequest& request, const CoilCalculation& calculation) {
  const CoilPress& press = calculation.press;
  if (press.outcome == PressOutcome::Cancelled) return;
  s_.resultsCurrent = false;
  if (press.outcome == PressOutcome::Refused) {
    showRefusal(press);
    return;
  }

  if (!request.coil.cornerR2) write(box::CornerR2, plainDecimal(request.coil.cornerR1));
  s_.calc = press.state;
  resetDrawing();
  if (press.outcome == PressOutcome::NoShape) {
    writeTexts(calculation.texts);
    showMessage(press.message);
    return;
  }
  if (press.outcome == PressOutcome::LengthFailed) showMessage(press.message);

  const CoilResults& r = press.results;
  const ShownUnits units = calculation.units();
  s_.units = units;
  s_.pressed = r;
  s_.captions[indexOf(Caption::WeightUnit)] = unitCaption(units.mass);
  s_.captions[indexOf(Caption::LengthUnit)] = unitCaption(units.length);
  s_.captions[indexOf(Caption::ResistanceUnit)] = unitCaption(units.resistance);
  s_.resistance = calculation.resistance(s_.material);
  // The window's resistance row is the other way round on purpose: its Max
  // box, Text2(12), shows the predicted resistance and its Mid box the
  // aligned one; the boxes' numbering says so.
  writeTexts(calculation.texts);

  const bool draw = r.showDiagram;
  showDrawing(draw);
  s_.visible.drawing[indexOf(DrawingPart::LargeCoilNote)] = !draw;
  if (draw) drawSection();
  s_.resultsCurrent = press.outcome == PressOutcome::Complete;
}

void Form1::writeTexts(const ResultTexts& texts) {
  for (int i = 0; i < kResultBoxCount; ++i) {
    if (texts[i]) write(static_cast<ResultBox>(i), *texts[i]);
  }
}

void Form1::showRefusal(const CoilPress& press) {
  if (press.refusedInput) {
    refuseBox(*press.refusedInput, press.message);
  } else {
    showMessage(press.message);
  }
}

void Form1::resetDrawing() { s_.drawing.circles.resize(1); }

void Form1::drawSection() {
  const DiagramLayoutResult layout = DiagramLayout(diagramGeometry(), s_.calc.turnsPerLayer,
                                                   s_.calc.layerCount, s_.calc.inputs.turns);
  if (!layout.visible) {
    // No layer to draw: the template and the lines would only mislead.
    showDrawing(false);
    return;
  }
  Drawing& d = s_.drawing;
  d.circles.clear();
  for (const TurnCircle& c : layout.circles)
    d.circles.push_back({c.left, c.top, c.diameter, c.diameter, c.filled});
  d.line1.x2 = layout.line1X2;
  d.line3.x1 = d.line3.x2 = layout.line3X;
  d.line2.y2 = d.line3.y2 = layout.flangeTop;
}

}  // namespace kelvane::form
