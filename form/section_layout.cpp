#include "form/section_layout.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "core/calculate_coil.h"
#include "core/coil_math.h"
#include "core/number_text.h"

namespace kelvane::form {
namespace {

// The panel keeps a margin of 100 twips below the drawing and 250 beside it.
constexpr double kVerticalMargin = 100;
constexpr double kHorizontalMargin = 250;

bool isPositive(double v) { return std::isfinite(v) && v > 0; }

}  // namespace

std::optional<DiagramRoom> diagramRoom(const DiagramGeometry& geometry) {
  for (const float g : {geometry.panelWidth, geometry.panelHeight, geometry.leftEdge,
                        geometry.baseLine, geometry.lineStart}) {
    if (!std::isfinite(g)) return std::nullopt;
  }
  const auto height = toInt32HalfEven(geometry.panelHeight - kVerticalMargin);
  const auto width = toInt32HalfEven(geometry.panelWidth - kHorizontalMargin);
  if (!height || !width) return std::nullopt;
  return DiagramRoom{static_cast<double>(*width), static_cast<double>(*height)};
}

DiagramLayoutResult DiagramLayout(const DiagramGeometry& geometry, float turnsPerLayer,
                                  double layerCount, double turns) {
  DiagramLayoutResult hidden;
  if (!isPositive(turns) || turns >= kMostTurnsDrawn || !isPositive(layerCount) ||
      !isPositive(turnsPerLayer)) {
    return hidden;
  }
  const std::optional<DiagramRoom> room = diagramRoom(geometry);
  if (!room) return hidden;

  // Scale: the circle diameter that lets every layer fit the panel's height
  // and one layer's turn positions fit its width.
  const double byHeight = room->height / layerCount;
  const double byWidth = room->width / static_cast<double>(turnsPerLayer);
  const double d = byHeight < byWidth ? byHeight : byWidth;
  if (!isPositive(d) || d > std::numeric_limits<float>::max()) return hidden;
  // The template circle keeps the diameter in single precision, and every
  // position steps by it rounded to a whole twip; a diameter beyond a 32-bit
  // twip count cannot be drawn.
  const auto diameter = static_cast<float>(d);
  const auto wholeDiameter = toInt32HalfEven(diameter);
  if (!wholeDiameter) return hidden;
  const double di = *wholeDiameter;

  DiagramLayoutResult out;
  out.visible = true;
  out.circles = layTurns(geometry.leftEdge, geometry.baseLine, diameter, di, turnsPerLayer, turns);
  // The former line and the right flange end where a full layer's last turn
  // position ends.
  out.line1X2 = static_cast<float>(geometry.lineStart + turnsPerLayer * di);
  out.line3X = out.line1X2;
  out.flangeTop = out.circles.back().top;
  return out;
}

std::vector<TurnCircle> layTurns(double left, double baseLine, float diameter, double step,
                                 float turnsPerLayer, double turns) {
  // Rise from one layer to the next when a turn sits in the groove of two.
  const double layerRise = nestedPitch(step);
  // Positions are computed in double precision and stored in single, as the
  // drawing keeps them. The steps (at most 999 of at most 2^31 twips) are
  // far too small to carry a finite start past the float range.
  const auto single = [](double v) { return static_cast<float>(v); };
  std::vector<TurnCircle> circles;
  // The first turn sits on the former line against the left flange.
  circles.push_back({single(left), single(baseLine - step), diameter, false});

  // Turn positions still free in the current layer, and the way it runs.
  float layerRemainder = single(turnsPerLayer - 1.0);
  int direction = +1;
  const double lastIndex = roundTo15Digits(turns - 1);
  for (int i = 1; i <= lastIndex; ++i) {
    const TurnCircle& prev = circles.back();
    TurnCircle next{prev.left, prev.top, diameter, false};
    if (layerRemainder == 0) {
      // Layers alternate between N_pl and N_pl - 1 turns: the next one starts
      // half a diameter back, in the groove above the last turn.
      next.left = single(prev.left - step / 2);
      next.top = single(prev.top - layerRise);
      direction = direction == +1 ? -1 : +1;
      layerRemainder = single(direction == -1 ? turnsPerLayer - 1.0 : turnsPerLayer);
    } else if (layerRemainder == 0.5f) {
      // Every layer holds the same count, each shifted by half a diameter.
      next.left = single(prev.left + direction * step / 2);
      next.top = single(prev.top - layerRise);
      layerRemainder = turnsPerLayer;
      direction = direction == +1 ? -1 : +1;
    } else {
      next.left = single(prev.left + direction * step);
    }
    circles.push_back(next);
    layerRemainder = single(layerRemainder - 1.0);
  }

  circles.front().filled = true;
  circles.back().filled = true;
  return circles;
}

}  // namespace kelvane::form
