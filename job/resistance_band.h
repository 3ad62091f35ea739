#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/calculate_coil.h"
#include "core/coil.h"
#include "wiredata/standard_resistance.h"

namespace kelvane::job {

// The coil's resistance as a customer checks it against the wire standard:
// the conductor resistance at 20 °C of the nominal wire, and the limits the
// standard publishes for the size, over the coil's wire length. It stands
// beside the form's DCR in every output, which keeps the form's own
// resistivity and its thin-wire factor k; the sheet's note says by how much
// the two differ.

// The figures of a band, in the order the outputs give them.
enum class BandBound { Minimum, Nominal, Maximum };
inline constexpr std::array<BandBound, 3> kBandBounds = {BandBound::Minimum, BandBound::Nominal,
                                                         BandBound::Maximum};

// The name of a band figure in every output: 規格DCR最小, 規格DCR公称,
// 規格DCR最大.
std::string_view bandItem(BandBound bound);

// A band in ohms; no minimum or maximum where the standard gives no limit
// for the size.
struct OhmBand {
  std::optional<double> minimum;
  double nominal = 0;
  std::optional<double> maximum;
  std::optional<double> at(BandBound bound) const;
};

struct CoilResistanceBand {
  wiredata::ResistanceBand perMetre;  // Ω/m, of the press's wire
  double bareDiameter = 0;            // mm, as the press read it
  // Each result column has its own wire length, and its DCR is worked out
  // from it: the band beside each DCR is over the same length. `aligned` is
  // over the aligned winding's length (全長 整列), `predicted` over the one
  // with the crossing zone (全長 予測).
  OhmBand aligned;
  OhmBand predicted;
};

// The band of the wire the resistances were worked out for, over the lengths
// of the press that worked them out; none for a conductor the standard gives
// no resistivity for (copper-clad aluminium).
std::optional<CoilResistanceBand> coilResistanceBand(const PressedResistance& wire,
                                                     const CoilResults& pressed);

// The sheet's note on the resistances: where the band's figures come from,
// per metre, and the form's resistivity, thin-wire factor k and density with
// their values for this coil, so that the ratio of the form's DCR to the
// band's nominal figure is told.
std::string resistanceNote(const PressedResistance& wire, const CoilResults& pressed);

}  // namespace kelvane::job
