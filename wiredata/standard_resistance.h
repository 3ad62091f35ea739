#pragma once

#include <optional>
#include <string>

#include "core/materials.h"

namespace kelvane::wiredata {

// The resistance a customer checks a wire against: one metre of the bare
// conductor at 20 °C, in Ω/m.
//
// - `nominal` is that of the nominal wire, ρ / (π d² / 4), with the
//   resistivity of the material in Ω·mm²/m: annealed copper 0.017241 (the
//   international annealed copper standard, 58 MS/m, as in IEC 60228 and
//   IEC 60317-0-1), aluminium 0.028264 (61 % of that conductivity, as in
//   IEC 60889). It exists for any positive diameter, listed or not.
// - `minimum` and `maximum` are the limits a published wire table gives for
//   exactly this diameter (to the 0.001 mm the tables state); none where no
//   table found gives them. For copper the IEC 60317 table is asked first,
//   then the JIS C 3202 table. The two standards' limits differ: a band
//   says which it is through `limitsTable`.
//
// To give a coil's band, multiply each figure by the coil's wire length in
// metres; the bounds keep their order. Nothing here depends on temperature:
// the figures hold at 20 °C only.
struct ResistanceBand {
  std::optional<double> minimum;
  double nominal = 0;
  std::optional<double> maximum;
  // Where the figures come from. `nominalSource` is one of the keys below;
  // `limitsTable` and `limitsSource` are the id of the wire table and the key
  // of its source (a key of WireTable::sources, whose text names it in
  // Japanese), both empty when there are no limits.
  std::string nominalSource;
  std::string limitsTable;
  std::string limitsSource;
  bool operator==(const ResistanceBand&) const = default;
};

// The keys of `nominalSource`.
inline constexpr const char* kCopperResistivitySource = "iacs-copper";
inline constexpr const char* kAluminiumResistivitySource = "iacs-61-aluminium";

// The resistivity at 20 °C in Ω·mm²/m the band's nominal figure uses; none for
// a material for which no source of a standard resistivity was found
// (copper-clad aluminium).
std::optional<double> standardResistivity(ConductorMaterial material);

// The Japanese text naming the source of a `nominalSource` key, for a sheet's
// note; empty for an unknown key.
std::string resistivitySourceText(const std::string& key);

// The band of a wire of the material with this bare diameter in mm. None for
// a diameter that is not finite or not above 0, or a material without a
// standard resistivity. Qt-free; reads the built-in wire tables, and gives the
// nominal figure alone if they cannot be read.
std::optional<ResistanceBand> standardResistanceBand(ConductorMaterial material,
                                                     double bareDiameterMm);

}  // namespace kelvane::wiredata
