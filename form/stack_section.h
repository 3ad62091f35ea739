#pragma once

// The section drawing of several windings on one former: each winding's
// turns over the tape on the one below, all on one scale.

#include <cstddef>
#include <optional>
#include <vector>

#include "core/winding_stack.h"
#include "form/section_layout.h"

namespace kelvane::form {

// A rectangle of the drawing in twips: its top-left corner and its size.
struct Band {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
  bool operator==(const Band&) const = default;
};

// One winding as drawn: its turns as circles of its own wire, or, when it has
// too many turns to draw one by one, the band its layers fill.
struct WindingTurns {
  std::size_t winding = 0;          // its place in the stack, from 0 (巻線1 is 0)
  std::vector<TurnCircle> circles;  // winding order; the first and last marked filled
  std::optional<Band> layers;       // instead of the circles
  bool operator==(const WindingTurns&) const = default;
};

// The tape wrapped between two windings, across the layers.
struct TapeBand {
  std::size_t under = 0;  // the winding it lies under, from 0
  Band band;
  bool operator==(const TapeBand&) const = default;
};

// A straight line of the drawing from (x1, y1) to (x2, y2), twips.
struct Segment {
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool operator==(const Segment&) const = default;
};

struct StackSection {
  // False when the stack cannot be drawn (no winding, a figure that is not
  // finite): nothing of it is shown.
  bool visible = false;
  std::vector<WindingTurns> windings;  // from the former outward
  std::vector<TapeBand> tapes;         // bottom to top; none where no tape is wrapped
  Segment formerLine;                  // along the former, under the widest layer
  Segment leftFlange;                  // from the former up to the top of the coil
  Segment rightFlange;
  float twipsPerMm = 0;  // the one scale of every winding and tape
  bool operator==(const StackSection&) const = default;
};

// The drawing of a computed stack in the panel `geometry` gives, on one
// scale chosen so that every winding's build and the tape between them fit
// the panel's height and the widest layer its width. Winding 1 lies on the
// former line against the left flange; winding k+1 starts on the build of
// winding k (the height the next is wound on) plus the tape. A winding of
// kMostTurnsDrawn turns or more, or of turns smaller than a pixel, is drawn as
// its band of layers, so the work stays bounded whatever the turns. A stack
// of one winding draws the circles DiagramLayout draws for that coil.
StackSection stackSection(const DiagramGeometry& geometry, const StackResult& stack);

}  // namespace kelvane::form
