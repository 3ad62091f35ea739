#pragma once

namespace kelvane {

// crossZoneShare ("cross height calculation"): the share of the straight part of
// side B taken by a crossing zone of zoneDiameters wire diameters dw — 1 when
// the zone is longer than the straight part (or the straight part is 0 or
// less), otherwise (dw × zoneDiameters) / straightB.
double crossZoneShare(double dw, double straightB, double zoneDiameters);

}  // namespace kelvane
