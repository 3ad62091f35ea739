#pragma once

namespace kelvane {

// Share of the straight part bl of side B taken by a crossing zone of zone
// wire diameters dw: 1 when the zone is longer than the straight part (or the
// straight part is 0 or less), otherwise (dw × zone) / bl.
double ClosHKeisan(double D, double bL, double CC);

}  // namespace kelvane
