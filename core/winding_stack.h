#pragma once

// Several windings on one former: a transformer's primary and secondaries, a
// choke's windings, wound one over the other with insulating tape between
// them. Each winding is a coil as the window computes one; the former it
// sits on is the outside of the winding below it and of the tape on that.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/coil.h"
#include "core/expected.h"
#include "core/former_shape.h"
#include "core/materials.h"
#include "core/press_progress.h"

namespace kelvane {

// The most windings one former carries.
inline constexpr std::size_t kMostWindings = 8;
// The most layers of tape between two windings.
inline constexpr int kMostInsulationLayers = 1000;

// The sizes of a former, mm (the fan angle in degrees): those of its shape
// are used, the others are carried as they were given.
struct Former {
  FormerShape shape = FormerShape::Rectangular;
  double innerDiameter = 0;  // D
  double sideA = 0;
  double sideB = 0;
  double cornerR1 = 0;
  double cornerR2 = 0;
  double fanRadius = 0;  // R
  double fanAngle = 0;   // AG
  bool operator==(const Former&) const = default;
};

// The former a coil is given on (an r2 not given is r1); none when no shape
// is chosen.
std::optional<Former> formerOf(const Coil& coil);

// The inputs that are a former's sizes (D, A, B, r1, r2, R, AG): a winding
// above the first takes them from the outside of the one below.
bool isFormerSize(InputBox box);

// The coil wound on `former`: its wire, turns, lead and layer width, and the
// former's shape and sizes in place of its own.
Coil onFormer(Coil coil, const Former& former);

// The former grown outward by `build` mm all round: a round former's D by
// twice it; a rectangular one's A and B by twice it and both corners' radii
// by it; a fan's outline offset by it. The fan's corners keep their centres:
// the radii and R grow by the build, A by twice it, and B by twice the build
// times tan(AG/2), the slant of its sides, so that its r2 corners stay where
// the outline puts them (B / 2 − r2·tan(AG/2) from the middle) and the
// outline's arcs, sides and edge come out as before, only further out.
Former grownBy(const Former& former, double build);

// The tape between two windings: its thickness a layer and the layers
// wrapped. None at all is allowed.
struct Insulation {
  double thicknessPerLayer = 0;  // mm
  int layers = 0;
  double thickness() const { return thicknessPerLayer * layers; }
  bool operator==(const Insulation&) const = default;
};

// One winding of a stack as the engineer gives it: a name (一次, 二次), the
// coil (its wire, material, turns, lead length and layer width; its former
// is the one it sits on, not its own), and the tape wrapped under it, over
// the winding below (none under the first, which sits on the former itself).
struct Winding {
  std::string name;
  Coil coil;
  Insulation under;
  bool operator==(const Winding&) const = default;
};

// A former and the windings on it, the first innermost: one to kMostWindings.
struct WindingStack {
  Former former;
  std::vector<Winding> windings;
  bool operator==(const WindingStack&) const = default;
};

// Which height a winding builds to where the next one is wound over it.
enum class BuildHeight {
  Aligned,    // 整列部巻高: the nested layers
  Predicted,  // 予測, クロス部巻高: with the crossing zone, the usual one
};

// One winding computed: the former it sat on, the press of its coil there
// (exactly what 計算 gives for those inputs), the height it builds to, and
// its outside.
struct WindingResult {
  Former former;  // the inherited inner size
  CoilCalculation calculation;
  double build = 0;  // the larger of the aligned and the crossing height, mm
  BuildHeight buildFrom = BuildHeight::Predicted;
  Former outside;  // the former grown by the build
  // The DCR at 20 °C in Ω as the window shows it (with the thin-wire
  // correction), of the aligned winding and with the crossing zone.
  double alignedDcrOhm = 0;
  double predictedDcrOhm = 0;
  const CoilResults& results() const { return calculation.press.results; }
};

// The stack computed: every winding, the outside of the finished coil, and
// the conductor's weight by material, g, indexed by ConductorMaterial.
struct StackResult {
  std::vector<WindingResult> windings;
  Former outside;
  std::array<double, 3> alignedConductorGrams{};
  std::array<double, 3> predictedConductorGrams{};
};

// How a message names a winding: 巻線2「二次」, or 巻線2 without a name;
// `index` counts from 0.
std::string windingLabel(std::size_t index, std::string_view name);

// Presses every winding in order, each on the outside of the one below plus
// the tape under it: the results, or the first winding that cannot be
// computed, its sentence after its name (巻線2「二次」: …): a refusal of its
// inputs or of the former it inherits, a length that could not be summed.
// Also refused: no winding or more than kMostWindings, tape of a thickness
// below 0 or beyond 1,000,000 mm, layers outside 0 … kMostInsulationLayers.
// A progress is handed to each winding's press in turn (its fraction is that
// of the winding being summed); calling it off cancels the stack.
// `pressed`, when given, is told of every winding's press as it ends, the
// one that fails included (its calculation says why): what a window shows
// on the winding's own form.
using WindingPressed = std::function<void(std::size_t index, const Former& former,
                                          const CoilCalculation& calculation)>;
Expected<StackResult> computeStack(const WindingStack& stack, PressProgress* progress = nullptr,
                                   const WindingPressed& pressed = {});

// A target met in one winding: the stack with that winding's turns changed,
// the stack computed again (the windings above sit on its new outside), and
// the turns found.
struct SolvedStack {
  WindingStack stack;
  StackResult result;
  std::int32_t turns = 0;
};

// The turns of winding `index` (from 0) that meet a weight or resistance
// target typed in the units that winding's boxes show, found as the window
// finds them for one coil (turnsForTarget) on the former the winding
// inherits; only its turns change, and the windings above follow. A failure
// names the winding: one below it or it that cannot be computed, a target no
// count reaches, a walk called off.
Expected<SolvedStack> solveStackTarget(const WindingStack& stack, std::size_t index,
                                       const ShownTarget& target,
                                       PressProgress* progress = nullptr);

}  // namespace kelvane
