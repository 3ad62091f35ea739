#pragma once

namespace kelvane {

// The unit each result row is shown in, chosen by the size of one value.
enum class LengthUnit { Millimetre, Metre, Kilometre };
enum class MassUnit { Milligram, Gram, Kilogram };
enum class ResistanceUnit { Ohm, Kiloohm };

// The units of the length, weight and resistance rows a press chose.
struct ShownUnits {
  LengthUnit length = LengthUnit::Millimetre;
  MassUnit mass = MassUnit::Milligram;
  ResistanceUnit resistance = ResistanceUnit::Ohm;
  bool operator==(const ShownUnits&) const = default;
};

// What a value in millimetres, grams or ohms is multiplied by to be shown in
// the unit.
double factorOf(LengthUnit unit);
double factorOf(MassUnit unit);
double factorOf(ResistanceUnit unit);

// Weights (grams) and resistances (ohms) of the two total lengths, Max (the
// aligned walk) and Mid (with the crossing allowance), and the units chosen
// for them.
struct WeightResistance {
  double conductorArea = 0;                 // S, mm²
  double insulationArea = 0;                // Si, mm²
  double alignedDcr = 0, predictedDcr = 0;  // without the thin-wire correction
  double alignedConductorWeight = 0, predictedConductorWeight = 0;
  double alignedInsulationWeight = 0, predictedInsulationWeight = 0;
  double alignedWeight = 0, predictedWeight = 0;
  LengthUnit lengthUnit = LengthUnit::Millimetre;
  MassUnit massUnit = MassUnit::Milligram;
  ResistanceUnit resistanceUnit = ResistanceUnit::Ohm;
};

// The unit of each row, chosen on one unscaled value: the lengths on the Max
// total (mm up to 1000 mm, m up to 1,000,000 mm, Km beyond), the weights on
// the Mid total weight in grams (mg up to 1 g, g up to 1000 g, Kg beyond), the
// resistance on the Max resistance in ohms (Ω up to 1000 Ω, KΩ beyond).
LengthUnit LengthUnitFor(double alignedLength);
MassUnit MassUnitFor(double predictedWeight);
ResistanceUnit ResistanceUnitFor(double alignedDcr);

// What a resistance in ohms is multiplied by to be shown: the unit's factor
// with the thin-wire correction k.
double shownResistanceFactor(ResistanceUnit unit, double k);

// The thin-wire correction of the displayed resistance for bare diameter d.
double ThinWireFactor(double d);

// d, dw: bare and finished diameter (mm); alignedLength, predictedLength: total lengths
// (mm); resistivity Ω·mm²/km, density g/cm³. A wire without conductor
// (circleArea(d) == 0) has no resistance to speak of: the press refuses it
// before this step, and a direct call gives resistances of 0.
WeightResistance ComputeWeightResistance(double d, double dw, double alignedLength,
                                         double predictedLength, double resistivity,
                                         double density);

}  // namespace kelvane
