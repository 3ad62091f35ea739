#include "wiredata/standard_resistance.h"

#include <cmath>
#include <numbers>

#include "wiredata/wire_tables.h"

namespace kelvane::wiredata {
namespace {

// Annealed copper of the international standard: 1/58 Ω·mm²/m, written to the
// five figures the standards use.
constexpr double kCopperResistivity = 0.017241;
// Aluminium for electrical use at 61 % of that conductivity: 0.017241 / 0.61,
// to the same five figures.
constexpr double kAluminiumResistivity = 0.028264;

// The tables asked for a copper wire's limits, in turn.
constexpr const char* kCopperLimitTables[] = {"enamelled_round_copper_iec60317",
                                              "enamelled_round_copper_jis_c3202"};

}  // namespace

std::optional<double> standardResistivity(ConductorMaterial material) {
  switch (material) {
    case ConductorMaterial::Copper:
      return kCopperResistivity;
    case ConductorMaterial::Aluminium:
      return kAluminiumResistivity;
    case ConductorMaterial::CopperCladAluminium85:
      break;
  }
  return std::nullopt;
}

std::string resistivitySourceText(const std::string& key) {
  if (key == kCopperResistivitySource)
    return "焼なまし銅の国際標準（IACS）の体積抵抗率 0.017241 Ω·mm²/m（20 °C。IEC 60228、"
           "IEC 60317-0-1 と同じ値）";
  if (key == kAluminiumResistivitySource)
    return "電気用アルミニウムの導電率 61 %IACS による体積抵抗率 0.028264 Ω·mm²/m（20 °C。"
           "IEC 60889 と同じ値）";
  return {};
}

std::optional<ResistanceBand> standardResistanceBand(ConductorMaterial material,
                                                     double bareDiameterMm) {
  const std::optional<double> rho = standardResistivity(material);
  if (!rho || !std::isfinite(bareDiameterMm) || !(bareDiameterMm > 0)) return std::nullopt;
  const double area = std::numbers::pi * bareDiameterMm * bareDiameterMm / 4;  // mm²
  const double nominal = *rho / area;
  // A diameter so small that one metre of it has no finite resistance has no
  // band either.
  if (!std::isfinite(nominal)) return std::nullopt;

  ResistanceBand band;
  band.nominal = nominal;
  band.nominalSource = material == ConductorMaterial::Copper ? kCopperResistivitySource
                                                             : kAluminiumResistivitySource;
  if (material != ConductorMaterial::Copper) return band;

  const auto& tables = standardWireTables();
  if (!tables) return band;
  for (const char* id : kCopperLimitTables) {
    for (const WireTable& table : *tables) {
      if (table.id != id) continue;
      const auto row = rowOfDiameter(table, bareDiameterMm);
      const auto low = table.columnIndex("r20_min");
      const auto high = table.columnIndex("r20_max");
      if (!row || !low || !high) continue;
      const WireRow& wire = table.rows[*row];
      const auto minimum = table.figure(wire, "r20_min");
      const auto maximum = table.figure(wire, "r20_max");
      if (!minimum || !maximum) continue;
      band.minimum = minimum;
      band.maximum = maximum;
      band.limitsTable = table.id;
      band.limitsSource = table.sourceOf(wire, *low);
      return band;
    }
  }
  return band;
}

}  // namespace kelvane::wiredata
