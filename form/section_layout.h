#pragma once

#include <optional>
#include <vector>

namespace kelvane::form {

// One turn of the section drawing: the top-left corner of its square and its
// diameter, in twips, stored in single precision as the drawing keeps them.
struct TurnCircle {
  float left = 0;
  float top = 0;
  float diameter = 0;
  bool filled = false;
  bool operator==(const TurnCircle&) const = default;
};

// Where the drawing goes, in twips: the size of the panel that bounds it, the
// left flange, and the former line the first layer lies on.
struct DiagramGeometry {
  float panelWidth = 0;
  float panelHeight = 0;
  float leftEdge = 0;   // x of the left flange
  float baseLine = 0;   // y of the former line
  float lineStart = 0;  // x where the former line starts
};

// The room the drawing may fill, in whole twips: the panel less a margin below
// the drawing and beside it. None when the geometry has a figure that is not
// finite or the room is beyond a 32-bit twip count.
struct DiagramRoom {
  double width = 0;
  double height = 0;
};
std::optional<DiagramRoom> diagramRoom(const DiagramGeometry& geometry);

struct DiagramLayoutResult {
  // False when there is nothing to draw (no layer): the template circle and
  // the three lines are hidden.
  bool visible = false;
  std::vector<TurnCircle> circles;  // winding order; circles[0] is the template
  float line1X2 = 0;                // right end of the former line
  float line3X = 0;                 // x of the right flange
  float flangeTop = 0;              // Y2 of both flanges: top of the last circle
};

// The turns of one winding laid out layer by layer, in winding order: the
// first sits on `baseLine` against `left`, a layer runs across, and the next
// rises into the grooves of the one below, running back (layers of N_pl and
// N_pl - 1 turns, or every layer N_pl shifted by half a diameter when N_pl is
// a whole number and a half). Each circle has `diameter`; positions step by
// `step`, the diameter as a whole number of twips. The first and the last
// turn are marked filled. At least one circle; `turns` must be finite and
// below kMostTurnsDrawn, `turnsPerLayer` positive.
std::vector<TurnCircle> layTurns(double left, double baseLine, float diameter, double step,
                                 float turnsPerLayer, double turns);

// The circles and line ends for N_pl positions per layer (single precision,
// as stored by the press), N_layers layers and n turns as typed.
DiagramLayoutResult DiagramLayout(const DiagramGeometry& geometry, float turnsPerLayer,
                                  double layerCount, double turns);

}  // namespace kelvane::form
