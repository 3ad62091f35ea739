#include "form/stack_section.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "core/calculate_coil.h"

namespace kelvane::form {
namespace {

// A pixel of the window at its design resolution, twips.
constexpr double kTwipsPerScreenPixel = 15;

bool isPositive(double v) { return std::isfinite(v) && v > 0; }

float single(double v) { return static_cast<float>(v); }

// The tape under winding `k`: how far the former it was wound on stands out
// of the outside of the winding below, as the stack grew it (a round
// former's D by twice the tape, every other former's corner radius r1 by the
// tape itself).
double tapeUnder(const StackResult& stack, std::size_t k) {
  if (k == 0) return 0;
  const Former& below = stack.windings[k - 1].outside;
  const Former& on = stack.windings[k].former;
  const double tape = below.shape == FormerShape::Round
                          ? (on.innerDiameter - below.innerDiameter) / 2
                          : on.cornerR1 - below.cornerR1;
  return isPositive(tape) ? tape : 0;
}

// What the drawing takes of one computed winding, mm.
struct WindingFigures {
  double wire = 0;  // the finished wire's diameter
  float turnsPerLayer = 0;
  double layers = 0;
  double turns = 0;
  double build = 0;  // the height the next winding is wound on
  double tape = 0;   // under it
};

std::optional<WindingFigures> figuresOf(const StackResult& stack, std::size_t k) {
  const WindingResult& w = stack.windings[k];
  const CalculationState& s = w.calculation.press.state;
  WindingFigures f{
      s.inputs.finishedDiameter, s.turnsPerLayer, s.layerCount, s.inputs.turns, w.build,
      tapeUnder(stack, k)};
  if (!isPositive(f.wire) || !isPositive(f.turnsPerLayer) || !isPositive(f.layers) ||
      !isPositive(f.turns) || !isPositive(f.build)) {
    return std::nullopt;
  }
  return f;
}

// One winding drawn as DiagramLayout draws a coil alone, so that a stack of
// one looks as the coil does.
std::optional<StackSection> aloneAsCoil(const DiagramGeometry& geometry, const WindingFigures& f) {
  const DiagramLayoutResult coil = DiagramLayout(geometry, f.turnsPerLayer, f.layers, f.turns);
  if (!coil.visible) return std::nullopt;
  StackSection out;
  out.visible = true;
  out.windings.push_back({0, coil.circles, std::nullopt});
  out.formerLine = {geometry.lineStart, geometry.baseLine, coil.line1X2, geometry.baseLine};
  out.leftFlange = {geometry.leftEdge, geometry.baseLine, geometry.leftEdge, coil.flangeTop};
  out.rightFlange = {coil.line3X, geometry.baseLine, coil.line3X, coil.flangeTop};
  out.twipsPerMm = single(coil.circles.front().diameter / f.wire);
  return out;
}

}  // namespace

StackSection stackSection(const DiagramGeometry& geometry, const StackResult& stack) {
  if (stack.windings.empty()) return {};
  const std::optional<DiagramRoom> room = diagramRoom(geometry);
  if (!room) return {};

  std::vector<WindingFigures> figures;
  double heightMm = 0;
  double widthMm = 0;
  for (std::size_t k = 0; k < stack.windings.size(); ++k) {
    const std::optional<WindingFigures> f = figuresOf(stack, k);
    if (!f) return {};
    figures.push_back(*f);
    heightMm += f->tape + f->build;
    widthMm = std::max(widthMm, f->turnsPerLayer * f->wire);
  }
  if (figures.size() == 1 && figures[0].turns < kMostTurnsDrawn) {
    if (std::optional<StackSection> alone = aloneAsCoil(geometry, figures[0])) return *alone;
  }

  // One scale for every winding: the builds and tapes fit the height, the
  // widest layer the width.
  const double scale = std::min(room->height / heightMm, room->width / widthMm);
  if (!isPositive(scale) || scale > std::numeric_limits<float>::max()) return {};

  // Each wire's diameter in whole twips, rounded down: a winding's nested
  // layers then never stand above its build, and the tape above it stays
  // clear of its turns. A wire thinner than a pixel of the window, or a
  // winding of too many turns, is drawn as the band its layers fill: turns
  // that small would only smear.
  struct Drawn {
    bool turnByTurn = false;
    double step = 0;        // the wire's whole twips
    double layerWidth = 0;  // twips
  };
  std::vector<Drawn> drawn;
  double widest = 0;
  for (const WindingFigures& f : figures) {
    Drawn d;
    d.step = std::floor(scale * f.wire);
    d.turnByTurn = f.turns < kMostTurnsDrawn && d.step >= kTwipsPerScreenPixel;
    d.layerWidth = f.turnsPerLayer * (d.turnByTurn ? d.step : scale * f.wire);
    widest = std::max(widest, d.layerWidth);
    drawn.push_back(d);
  }
  const double left = geometry.leftEdge;
  const double right = geometry.lineStart + widest;

  StackSection out;
  out.visible = true;
  out.twipsPerMm = single(scale);
  double base = geometry.baseLine;  // where the next winding's first layer lies
  for (std::size_t k = 0; k < figures.size(); ++k) {
    const WindingFigures& f = figures[k];
    if (f.tape > 0) {
      const double tape = scale * f.tape;
      out.tapes.push_back(
          {k, {single(left), single(base - tape), single(right - left), single(tape)}});
      base -= tape;
    }
    WindingTurns turns{k, {}, std::nullopt};
    double top = base - scale * f.build;
    if (drawn[k].turnByTurn) {
      turns.circles =
          layTurns(left, base, single(drawn[k].step), drawn[k].step, f.turnsPerLayer, f.turns);
      for (const TurnCircle& c : turns.circles) top = std::min(top, static_cast<double>(c.top));
    } else {
      turns.layers =
          Band{single(left), single(top), single(drawn[k].layerWidth), single(base - top)};
    }
    out.windings.push_back(std::move(turns));
    base = top;
  }

  out.formerLine = {geometry.lineStart, geometry.baseLine, single(right), geometry.baseLine};
  out.leftFlange = {geometry.leftEdge, geometry.baseLine, geometry.leftEdge, single(base)};
  out.rightFlange = {single(right), geometry.baseLine, single(right), single(base)};
  return out;
}

}  // namespace kelvane::form
