#include "job/resistance_band.h"

#include "core/materials.h"
#include "core/number_text.h"
#include "job/results_table.h"
#include "wiredata/wire_tables.h"

namespace kelvane::job {
namespace {

constexpr double kMillimetresPerMetre = 1000;
constexpr double kMetresPerKilometre = 1000;

OhmBand over(const wiredata::ResistanceBand& perMetre, double lengthMm) {
  const double metres = lengthMm / kMillimetresPerMetre;
  OhmBand band;
  band.nominal = perMetre.nominal * metres;
  if (perMetre.minimum) band.minimum = *perMetre.minimum * metres;
  if (perMetre.maximum) band.maximum = *perMetre.maximum * metres;
  return band;
}

// "0.5488 Ω/m".
std::string perMetreText(double ohmsPerMetre) { return resistanceFigure(ohmsPerMetre) + " Ω/m"; }

// The wire table that gave a band's limits, by its title, and the source of
// the limits: "「エナメル銅線 (JIS C 3202 3種〜1種)」の表（華業科技…）".
std::string limitsSourceText(const wiredata::ResistanceBand& band) {
  const auto& tables = wiredata::standardWireTables();
  if (!tables) return {};
  for (const wiredata::WireTable& table : *tables) {
    if (table.id != band.limitsTable) continue;
    const auto source = table.sources.find(band.limitsSource);
    return "「" + table.title + "」の表" +
           (source == table.sources.end() ? "" : "（" + source->second + "）");
  }
  return {};
}

}  // namespace

std::string_view bandItem(BandBound bound) {
  switch (bound) {
    case BandBound::Minimum:
      return "規格DCR最小";
    case BandBound::Nominal:
      return "規格DCR公称";
    case BandBound::Maximum:
      return "規格DCR最大";
  }
  return "";
}

std::optional<double> OhmBand::at(BandBound bound) const {
  switch (bound) {
    case BandBound::Minimum:
      return minimum;
    case BandBound::Nominal:
      return nominal;
    case BandBound::Maximum:
      return maximum;
  }
  return std::nullopt;
}

std::optional<CoilResistanceBand> coilResistanceBand(const PressedResistance& wire,
                                                     const CoilResults& pressed) {
  const double d = wire.bareDiameter;
  const auto perMetre = wiredata::standardResistanceBand(wire.material, d);
  if (!perMetre) return std::nullopt;
  return CoilResistanceBand{*perMetre, d, over(*perMetre, pressed.alignedLength),
                            over(*perMetre, pressed.predictedLength)};
}

std::string resistanceNote(const PressedResistance& wire, const CoilResults& pressed) {
  const MaterialValues constants = MaterialConstants(wire.material);
  const std::string diameter = "素線径 " + plainDecimal(wire.bareDiameter) + " mm";
  const std::string material(materialName(wire.material));
  // The form's resistivity is per km; the standard's, per metre.
  const double formResistivity = constants.resistivity / kMetresPerKilometre;
  const double k = pressed.thinWireFactor;

  std::string note = "規格DCR：";
  const std::optional<CoilResistanceBand> band = coilResistanceBand(wire, pressed);
  if (band) {
    const wiredata::ResistanceBand& w = band->perMetre;
    const bool limited = w.minimum && w.maximum;
    note += "20 °C の導体抵抗を、規格による 1 m 当たりの値に各列の全長を掛けて求めた値です。" +
            diameter + " の 1 m 当たりの値は、公称 " + perMetreText(w.nominal);
    if (limited)
      note += "、最小 " + perMetreText(*w.minimum) + "、最大 " + perMetreText(*w.maximum);
    note += " です。公称は" + wiredata::resistivitySourceText(w.nominalSource) + "による値";
    if (limited) {
      note += "、最小・最大は" + limitsSourceText(w) + "による値です。";
    } else {
      note += "です。この素線径の最小・最大を載せた規格の表がないため、最小・最大は空欄です。";
    }
  } else {
    note += material + "には規格の体積抵抗率が見当たらないため、示していません。";
  }
  note += '\n';

  note += "画面の DCR は、体積抵抗率 " + plainDecimal(formResistivity) + " Ω·mm²/m（" + material +
          "）に細線補正係数 k = " + formatFixed4(k) + "（" + diameter +
          " での値。約 0.8 mm で 1、細いほど大きく、太いほど小さくなります）を掛けた値";
  if (band) {
    const auto standard = wiredata::standardResistivity(wire.material);
    note += "で、規格DCR公称の " + formatFixed4(k * formResistivity / *standard) + " 倍です。";
  } else {
    note += "です。";
  }
  note += "重量は密度 " + plainDecimal(constants.density) + " g/cm³ で求めています。";
  return note;
}

}  // namespace kelvane::job
