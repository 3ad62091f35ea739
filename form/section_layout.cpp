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

DiagramLayoutResult DiagramLayout(const DiagramGeometry& geometry, float turnsPerLayer,
                                  double layerCount, double turns) {
  DiagramLayoutResult hidden;
  if (!isPositive(turns) || turns >= kMostTurnsDrawn || !isPositive(layerCount) ||
      !isPositive(turnsPerLayer)) {
    return hidden;
  }
  for (const float g : {geometry.panelWidth, geometry.panelHeight, geometry.leftEdge,
                        geometry.baseLine, geometry.lineStart}) {
    if (!std::isfinite(g)) return hidden;
  }

  // Scale: the circle diameter that lets every layer fit the panel's height
  // and one layer's turn positions fit its width.
  const auto usableHeight = toInt32HalfEven(geometry.panelHeight - kVerticalMargin);
  const auto usableWidth = toInt32HalfEven(geometry.panelWidth - kHorizontalMargin);
  if (!usableHeight || !usableWidth) return hidden;
  const double byHeight = *usableHeight / layerCount;
  const double byWidth = *usableWidth / static_cast<double>(turnsPerLayer);
  const double d = byHeight < byWidth ? byHeight : byWidth;
  if (!isPositive(d) || d > std::numeric_limits<float>::max()) return hidden;
  // The template circle keeps the diameter in single precision, and every
  // position steps by it rounded to a whole twip; a diameter beyond a 32-bit
  // twip count cannot be drawn.
  const auto diameter = static_cast<float>(d);
  const auto wholeDiameter = toInt32HalfEven(diameter);
  if (!wholeDiameter) return hidden;
  const double di = *wholeDiameter;
  // Rise from one layer to the next when a turn sits in the groove of two.
  const double layerRise = nestedPitch(di);

  // Positions are computed in double precision and stored in single, as the
  // drawing keeps them. The steps (at most 999 of at most 2^31 twips) are
  // far too small to carry a finite start past the float range.
  const auto single = [](double v) { return static_cast<float>(v); };
  DiagramLayoutResult out;
  out.visible = true;
  // The first turn sits on the former line against the left flange.
  out.circles.push_back({geometry.leftEdge, single(geometry.baseLine - di), diameter, false});
  // The former line and the right flange end where a full layer's last turn
  // position ends.
  out.line1X2 = single(geometry.lineStart + turnsPerLayer * di);
  out.line3X = out.line1X2;

  // Turn positions still free in the current layer, and the way it runs.
  float layerRemainder = single(turnsPerLayer - 1.0);
  int direction = +1;
  const double lastIndex = roundTo15Digits(turns - 1);
  for (int i = 1; i <= lastIndex; ++i) {
    const TurnCircle& prev = out.circles.back();
    TurnCircle next{prev.left, prev.top, diameter, false};
    if (layerRemainder == 0) {
      // Layers alternate between N_pl and N_pl - 1 turns: the next one starts
      // half a diameter back, in the groove above the last turn.
      next.left = single(prev.left - di / 2);
      next.top = single(prev.top - layerRise);
      direction = direction == +1 ? -1 : +1;
      layerRemainder = single(direction == -1 ? turnsPerLayer - 1.0 : turnsPerLayer);
    } else if (layerRemainder == 0.5f) {
      // Every layer holds the same count, each shifted by half a diameter.
      next.left = single(prev.left + direction * di / 2);
      next.top = single(prev.top - layerRise);
      layerRemainder = turnsPerLayer;
      direction = direction == +1 ? -1 : +1;
    } else {
      next.left = single(prev.left + direction * di);
    }
    out.circles.push_back(next);
    layerRemainder = single(layerRemainder - 1.0);
  }

  out.circles.front().filled = true;
  out.circles.back().filled = true;
  out.flangeTop = out.circles.back().top;
  return out;
}

}  // namespace kelvane::form
