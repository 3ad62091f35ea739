// The Calculate button: reads the input boxes, runs the press, writes the
// result boxes and unit captions, and draws the section.
#include "core/coil.h"
#include "core/number_text.h"
#include "core/typed_number.h"
#include "form/box_names.h"
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

std::optional<Form1::PressRequest> Form1::readPress(bool withTurns) {
  // The first shown box that cannot be read stops the press before anything
  // is computed. A box the former hides takes no part in its results, so
  // what it holds is not held against the press.
  std::optional<std::pair<InputBox, std::string>> refusal;
  const bool anyFormer = !s_.former;
  auto read = [&](InputBox b) {
    const std::string& text = s_.text(b);
    const TypedNumber n = readTypedNumber(text, unitsOf(b));
    if (!refusal && (anyFormer || s_.visible.inputs[indexOf(b)])) {
      if (auto message = unreadableMessage(boxName(b), text, n, unitsOf(b)))
        refusal.emplace(b, std::move(*message));
    }
    return n.readable() ? n.value : 0;
  };

  PressRequest request;
  Coil& coil = request.coil;
  coil.bareDiameter = read(box::BareDiameter);
  coil.finishedDiameter = read(box::FinishedDiameter);
  if (withTurns) coil.turns = read(box::Turns);
  coil.leadLength = read(box::LeadLength);
  coil.referenceThickness = read(box::ReferenceThickness);
  coil.innerDiameter = read(box::InnerDiameter);
  coil.sideA = read(box::SideA);
  coil.sideB = read(box::SideB);
  coil.cornerR1 = read(box::CornerR1);
  // An empty r2 box means a former with four equal corners.
  if (!s_.text(box::CornerR2).empty()) coil.cornerR2 = read(box::CornerR2);
  coil.fanRadius = read(box::FanRadius);
  coil.fanAngle = read(box::FanAngle);
  coil.former = s_.former;
  coil.material = s_.material;
  request.previous = s_.calc;

  if (refusal) {
    refuseBox(refusal->first, refusal->second);
    return std::nullopt;
  }
  return request;
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
  const CoilTexts& t = calculation.texts;
  write(box::Thickness, t.thickness);
  write(box::Arrangement, t.arrangement);
  if (press.outcome == PressOutcome::NoShape) {
    showMessage(press.message);
    return;
  }
  if (press.outcome == PressOutcome::LengthFailed) showMessage(press.message);

  const CoilResults& r = press.results;
  const WeightResistance& w = r.weights;
  s_.units = ShownUnits{w.lengthUnit, w.massUnit, w.resistanceUnit};
  s_.pressed = r;
  s_.captions[indexOf(Caption::WeightUnit)] = unitCaption(w.massUnit);
  s_.captions[indexOf(Caption::LengthUnit)] = unitCaption(w.lengthUnit);
  s_.captions[indexOf(Caption::ResistanceUnit)] = unitCaption(w.resistanceUnit);
  write(box::PredictedConductorWeight, t.predictedConductorWeight);
  write(box::AlignedConductorWeight, t.alignedConductorWeight);
  write(box::PredictedInsulationWeight, t.predictedInsulationWeight);
  write(box::AlignedInsulationWeight, t.alignedInsulationWeight);
  write(box::PredictedWeight, t.predictedWeight);
  write(box::AlignedWeight, t.alignedWeight);
  write(box::AlignedLength, t.alignedLength);
  write(box::PredictedLength, t.predictedLength);
  s_.resistance = PressedResistance{calculation.shownAlignedDcr, calculation.shownPredictedDcr,
                                    s_.material, press.state.inputs.bareDiameter};
  // The window's resistance row is the other way round on purpose: its Max
  // box shows the predicted resistance, its Mid box the aligned one.
  write(box::AlignedDcr, t.alignedDcr);
  write(box::PredictedDcr, t.predictedDcr);
  write(box::LayerCount, t.layerCount);
  write(box::LastLayerTurns, t.lastLayerTurns);
  write(box::AlignedHeight, t.alignedHeight);
  write(box::CrossHeight, t.crossHeight);
  write(box::FullHeight, t.fullHeight);
  write(box::OuterA, t.outerA);
  write(box::OuterB, t.outerB);
  write(box::OuterRorD, t.outerRorD);

  const bool draw = r.showDiagram;
  showDrawing(draw);
  s_.visible.drawing[indexOf(DrawingPart::LargeCoilNote)] = !draw;
  if (draw) drawSection();
  s_.resultsCurrent = press.outcome == PressOutcome::Complete;
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
