// The Calculate button: reads the input boxes, runs the press, writes the
// result boxes and unit captions, and draws the section.
#include "core/calculate_coil.h"
#include "core/diagram_layout.h"
#include "core/number_text.h"
#include "core/typed_number.h"
#include "form/box_names.h"
#include "form/diagram_geometry.h"
#include "form/form1.h"

namespace kelvane::form {

void Form1::Command1_Click() {
  const auto request = readPress();
  if (!request) return;
  CoilPress press;
  runWork_(request->inputs.turns, [&](PressProgress* progress) {
    press = CalculateCoil(request->inputs, request->previous, progress);
  });
  writePress(*request, press);
}

namespace {

// The box each input of a coil is typed into.
InputBox boxOf(InputField field) {
  switch (field) {
    case InputField::BareDiameter:
      return box::BareDiameter;
    case InputField::FinishedDiameter:
      return box::FinishedDiameter;
    case InputField::Turns:
      return box::Turns;
    case InputField::LeadLength:
      return box::LeadLength;
    case InputField::ReferenceThickness:
      return box::ReferenceThickness;
    case InputField::InnerDiameter:
      return box::InnerDiameter;
    case InputField::SideA:
      return box::SideA;
    case InputField::SideB:
      return box::SideB;
    case InputField::CornerR1:
      return box::CornerR1;
    case InputField::CornerR2:
      return box::CornerR2;
    case InputField::FanRadius:
      return box::FanRadius;
    case InputField::FanAngle:
      return box::FanAngle;
  }
  return box::BareDiameter;
}

}  // namespace

std::optional<Form1::PressRequest> Form1::readPress(bool withTurns) {
  // The first box that cannot be read stops the press before anything is
  // computed.
  std::optional<InputBox> overflow, unclear;
  auto read = [&](InputBox b) {
    const TypedNumber n = readTypedNumber(s_.text(b));
    if (n.overflow && !overflow) overflow = b;
    if (n.unclearComma && !unclear) unclear = b;
    return n.value;
  };

  PressRequest request;
  CoilInputs& in = request.inputs;
  in.bareDiameter = read(box::BareDiameter);
  in.finishedDiameter = read(box::FinishedDiameter);
  if (withTurns) in.turns = read(box::Turns);
  in.leadLength = read(box::LeadLength);
  in.referenceThickness = read(box::ReferenceThickness);
  in.innerDiameter = read(box::InnerDiameter);
  in.sideA = read(box::SideA);
  in.sideB = read(box::SideB);
  in.cornerR1 = read(box::CornerR1);
  // An empty r2 box means a former with four equal corners.
  request.r2Empty = s_.text(box::CornerR2).empty();
  in.cornerR2 = request.r2Empty ? in.cornerR1 : read(box::CornerR2);
  in.fanRadius = read(box::FanRadius);
  in.fanAngle = read(box::FanAngle);
  if (s_.option1 >= 0 && s_.option1 <= 2) in.shape = static_cast<FormerShape>(s_.option1);
  in.resistivity = s_.material.resistivity;
  in.density = s_.material.density;
  request.previous = s_.calc;

  if (unclear && (!overflow || indexOf(*unclear) <= indexOf(*overflow))) {
    refuseBox(*unclear, unclearCommaMessage(boxName(*unclear), s_.text(*unclear)));
    return std::nullopt;
  }
  if (overflow) {
    refuseBox(*overflow, kOverflowMessage);
    return std::nullopt;
  }
  return request;
}

void Form1::writePress(const PressRequest& request, const CoilPress& press) {
  if (press.outcome == PressOutcome::Cancelled) return;
  s_.resultsCurrent = false;
  if (press.outcome == PressOutcome::Refused) {
    showRefusal(press);
    return;
  }

  if (request.r2Empty) write(box::CornerR2, plainDecimal(request.inputs.cornerR1));
  s_.calc = press.state;
  resetDrawing();
  const CoilResults& r = press.results;
  write(box::Thickness, plainDecimal(r.arrangement.thickness));
  write(box::Arrangement, r.arrangement.arrangementText);
  if (press.outcome == PressOutcome::NoShape) {
    showMessage(press.message);
    return;
  }
  if (press.outcome == PressOutcome::LengthFailed) showMessage(press.message);

  // Lengths, weights and resistance in the units chosen for them.
  const WeightResistance& w = r.weights;
  s_.units = ShownUnits{w.lengthUnit, w.massUnit, w.resistanceUnit};
  s_.pressed = r;
  s_.captions[caption::weightUnit().str()] = captionOf(w.massUnit);
  s_.captions[caption::lengthUnit().str()] = captionOf(w.lengthUnit);
  s_.captions[caption::resistanceUnit().str()] = captionOf(w.resistanceUnit);
  auto shown = [](double value, double factor) { return formatFixed3(value * factor); };
  const double mass = factorOf(w.massUnit);
  const double length = factorOf(w.lengthUnit);
  const double resistance = shownResistanceFactor(w.resistanceUnit, r.thinWireFactor);
  write(box::ConductorWeightMid, shown(w.conductorWeightMid, mass));
  write(box::ConductorWeightMax, shown(w.conductorWeightMax, mass));
  write(box::InsulationWeightMid, shown(w.insulationWeightMid, mass));
  write(box::InsulationWeightMax, shown(w.insulationWeightMax, mass));
  write(box::WeightMid, shown(w.totalWeightMid, mass));
  write(box::WeightMax, shown(w.totalWeightMax, mass));
  write(box::LengthMax, shown(r.lengthMax, length));
  write(box::LengthMid, shown(r.lengthMid, length));
  // The resistance row is the other way round on purpose: the Max column
  // shows the resistance of the Mid length, and the Mid column that of Max.
  s_.resistance = PressedResistance{w.dcrMid * resistance, w.dcrMax * resistance, materialOn()};
  write(box::DcrMid, formatFixed3(s_.resistance->mid));
  write(box::DcrMax, formatFixed3(s_.resistance->max));

  // Heights and outer dimensions.
  write(box::LayerCount, plainDecimal(s_.calc.layerCount));
  write(box::LastLayerTurns, plainDecimal(s_.calc.lastLayerTurns));
  write(box::AlignedHeight, formatFixed3(r.alignedHeight));
  write(box::CrossHeight, formatFixed3(r.crossHeight));
  write(box::FullHeight, formatFixed3(r.fullHeight));
  write(box::OuterA, formatFixed3(r.outerA));
  write(box::OuterB, formatFixed3(r.outerB));
  write(box::OuterRorD, formatFixed3(r.outerRorD));

  const bool draw = r.showDiagram;
  for (const char* name : {"Line1", "Line2", "Line3"}) setVisible({name, -1}, draw);
  setVisible({"Shape1", 0}, draw);
  setVisible({"Label2", -1}, !draw);
  if (draw) drawSection();
  s_.resultsCurrent = press.outcome == PressOutcome::Complete;
}

void Form1::showRefusal(const CoilPress& press) {
  if (press.refusedInput) {
    refuseBox(boxOf(*press.refusedInput), press.message);
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
    for (const char* name : {"Line1", "Line2", "Line3"}) setVisible({name, -1}, false);
    setVisible({"Shape1", 0}, false);
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
