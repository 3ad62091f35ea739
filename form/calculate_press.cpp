// The Calculate button: reads the input boxes, runs the press, writes the
// result boxes and unit captions, and draws the section.
#include "core/calculate_coil.h"
#include "core/diagram_layout.h"
#include "core/number_text.h"
#include "form/form1.h"

namespace kelvane::form {

void Form1::Command1_Click() {
  if (const auto request = beginPress())
    finishPress(*request, CalculateCoil(request->inputs, request->previous));
}

std::optional<PressRequest> Form1::beginPress() {
  bool overflow = false;
  auto read = [&](int i) {
    const LeadingNumber n = readLeadingNumberDetailed(s_.text1[i]);
    overflow = overflow || n.overflow;
    return n.value;
  };

  PressRequest request;
  CoilInputs& in = request.inputs;
  in.bareDiameter = read(0);
  in.finishedDiameter = read(1);
  in.turns = read(2);
  in.leadLength = read(3);
  in.referenceThickness = read(4);
  in.innerDiameter = read(5);
  in.sideA = read(6);
  in.sideB = read(7);
  in.cornerR1 = read(8);
  // An empty r2 box means a former with four equal corners.
  request.r2Empty = s_.text1[9].empty();
  in.cornerR2 = request.r2Empty ? in.cornerR1 : read(9);
  in.fanRadius = read(10);
  in.fanAngle = read(11);
  if (s_.option1 >= 0 && s_.option1 <= 2) in.shape = static_cast<FormerShape>(s_.option1);
  in.resistivity = s_.material.resistivity;
  in.density = s_.material.density;
  request.previous = s_.calc;

  if (overflow) {
    showMessage(kOverflowMessage);
    return std::nullopt;
  }
  return request;
}

void Form1::finishPress(const PressRequest& request, const CoilPress& press) {
  if (press.outcome == PressOutcome::Cancelled) return;
  if (press.outcome == PressOutcome::Refused) {
    showMessage(press.message);
    return;
  }

  if (request.r2Empty) write(text1(9), plainDecimal(request.inputs.cornerR1));
  s_.calc = press.state;
  resetDrawing();
  const CoilResults& r = press.results;
  write(text2(2), plainDecimal(r.arrangement.thickness));
  write(text2(0), r.arrangement.arrangementText);
  if (press.outcome == PressOutcome::NoShape) {
    showMessage(press.message);
    return;
  }
  if (press.outcome == PressOutcome::LengthFailed) showMessage(press.message);

  // Lengths, weights and resistance in the units chosen for them.
  const WeightResistance& w = r.weights;
  s_.captions[label1(29).str()] = w.massUnit.caption;
  s_.captions[label1(13).str()] = w.lengthUnit.caption;
  s_.captions[label1(28).str()] = w.dcrUnit.caption;
  auto shown = [](double value, const DisplayUnit& unit) { return formatFixed3(value * unit.factor); };
  write(text2(21), shown(w.conductorWeight1, w.massUnit));
  write(text2(20), shown(w.conductorWeight0, w.massUnit));
  write(text2(19), shown(w.insulationWeight1, w.massUnit));
  write(text2(18), shown(w.insulationWeight0, w.massUnit));
  write(text2(11), shown(w.totalWeight1, w.massUnit));
  write(text2(10), shown(w.totalWeight0, w.massUnit));
  write(text2(8), shown(r.totalLength0, w.lengthUnit));
  write(text2(9), shown(r.totalLength1, w.lengthUnit));
  // The resistance row shows the crossing-allowance value on the left.
  write(text2(13), shown(w.dcr0, w.dcrUnit));
  write(text2(12), shown(w.dcr1, w.dcrUnit));

  // Heights and outer dimensions.
  write(text2(1), plainDecimal(s_.calc.mLayerCount));
  write(text2(3), plainDecimal(s_.calc.mLastLayerTurns));
  write(text2(7), formatFixed3(r.alignedHeight));
  write(text2(14), formatFixed3(r.crossHeight));
  write(text2(15), formatFixed3(r.fullHeight));
  write(text2(4), formatFixed3(r.outerA));
  write(text2(5), formatFixed3(r.outerB));
  write(text2(6), formatFixed3(r.outerRorD));

  const bool draw = r.showDiagram;
  for (const char* name : {"Line1", "Line2", "Line3"}) setVisible({name, -1}, draw);
  setVisible({"Shape1", 0}, draw);
  setVisible({"Label2", -1}, !draw);
  if (draw) drawSection();
}

void Form1::resetDrawing() { s_.drawing.circles.resize(1); }

void Form1::drawSection() {
  const DiagramLayoutResult layout =
      DiagramLayout(DiagramGeometry{}, s_.calc.mTurnsPerLayer, s_.calc.mLayerCount, s_.calc.mTurns);
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
