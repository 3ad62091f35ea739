#include "tools/batch/batch_results.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "core/coil_fields.h"
#include "core/number_text.h"
#include "core/temperature_resistance.h"
#include "core/weight_resistance.h"
#include "job/resistance_band.h"
#include "job/table_lines.h"

namespace kelvane::batch {
namespace {

struct Quantity {
  ResultBox box;
  Measure measure;
  std::optional<FormerShape> onlyFor;  // D' and R' share one box
  bool atWorkingTemperature = false;
  // A figure of the standard's band beside the DCR in `box`, over that
  // box's wire length, rather than the box's own resistance.
  std::optional<job::BandBound> band = std::nullopt;
};

// The unit every row of a column is written in.
constexpr LengthUnit kLengthUnit = LengthUnit::Metre;
constexpr MassUnit kMassUnit = MassUnit::Gram;
constexpr ResistanceUnit kResistanceUnit = ResistanceUnit::Ohm;

struct Column {
  std::string header;
  Quantity quantity;
};

// The columns with the resistances at the working temperature, and without.
const std::vector<Column>& columnsOf(bool workingTemperature) {
  static const std::array<std::vector<Column>, 2> columns = [] {
    std::array<std::vector<Column>, 2> both;
    for (const bool working : {false, true}) {
      std::vector<Column>& out = both[working];
      for (const ResultField& line : resultFields()) {
        const Measure measure = line.measure;
        const std::string unit(
            siSymbol(measure, ShownUnits{kLengthUnit, kMassUnit, kResistanceUnit}));
        const std::string bracket = unit.empty() ? "" : " [" + unit + "]";
        if (line.aligned == ResultBox::OuterRorD) {
          for (const FormerShape shape : {FormerShape::Round, FormerShape::Fan}) {
            out.push_back({std::string(outerRorDName(shape).value_or("")) + bracket,
                           {line.aligned, measure, shape}});
          }
          continue;
        }
        const std::string name(line.name);
        if (!line.predicted) {
          out.push_back({name + bracket, {line.aligned, measure, std::nullopt}});
          continue;
        }
        const std::string aligned = name + " " + std::string(job::kAlignedWord);
        const std::string predicted = name + " " + std::string(job::kPredictedWord);
        const ResultBox alignedBox = line.aligned;
        const ResultBox predictedBox = *line.predicted;
        out.push_back({aligned + bracket, {alignedBox, measure, std::nullopt}});
        out.push_back({predicted + bracket, {predictedBox, measure, std::nullopt}});
        if (working && measure == Measure::Resistance) {
          const std::string at = " (" + std::string(job::kWorkingTemperatureItem) + ")";
          out.push_back({aligned + at + bracket, {alignedBox, measure, {}, true}});
          out.push_back({predicted + at + bracket, {predictedBox, measure, {}, true}});
        }
        if (measure != Measure::Resistance) continue;
        for (const job::BandBound bound : job::kBandBounds) {
          const std::string item(job::bandItem(bound));
          const std::string alignedBand = item + " " + std::string(job::kAlignedWord);
          const std::string predictedBand = item + " " + std::string(job::kPredictedWord);
          out.push_back({alignedBand + bracket, {alignedBox, measure, {}, false, bound}});
          out.push_back({predictedBand + bracket, {predictedBox, measure, {}, false, bound}});
        }
      }
    }
    return both;
  }();
  return columns[workingTemperature];
}

// The number a result box was written from, in the column's unit.
double valueOf(ResultBox box, const CoilResults& r, const CalculationState& s) {
  const WeightResistance& w = r.weights;
  const double metres = factorOf(kLengthUnit);
  const double grams = factorOf(kMassUnit);
  const double ohms = shownResistanceFactor(kResistanceUnit, r.thinWireFactor);
  switch (box) {
    case ResultBox::LayerCount:
      return s.layerCount;
    case ResultBox::Thickness:
      return r.arrangement.thickness;
    case ResultBox::LastLayerTurns:
      return s.lastLayerTurns;
    case ResultBox::OuterA:
      return r.outerA;
    case ResultBox::OuterB:
      return r.outerB;
    case ResultBox::OuterRorD:
      return r.outerRorD;
    case ResultBox::AlignedHeight:
      return r.alignedHeight;
    case ResultBox::AlignedLength:
      return r.alignedLength * metres;
    case ResultBox::PredictedLength:
      return r.predictedLength * metres;
    case ResultBox::AlignedWeight:
      return w.alignedWeight * grams;
    case ResultBox::PredictedWeight:
      return w.predictedWeight * grams;
    case ResultBox::PredictedDcr:
      return w.predictedDcr * ohms;
    case ResultBox::AlignedDcr:
      return w.alignedDcr * ohms;
    case ResultBox::CrossHeight:
      return r.crossHeight;
    case ResultBox::FullHeight:
      return r.fullHeight;
    case ResultBox::AlignedInsulationWeight:
      return w.alignedInsulationWeight * grams;
    case ResultBox::PredictedInsulationWeight:
      return w.predictedInsulationWeight * grams;
    case ResultBox::AlignedConductorWeight:
      return w.alignedConductorWeight * grams;
    case ResultBox::PredictedConductorWeight:
      return w.predictedConductorWeight * grams;
    default:
      return 0;
  }
}

// How many decimals the window's unit shows in the column's: the window
// writes three decimals in the unit it chose, so a row it shows in mm needs
// six in m not to lose any of them.
int decimalsBeside(double windowFactor, double columnFactor) {
  int decimals = 3;
  for (double ratio = windowFactor / columnFactor; ratio > 5; ratio /= 10) ++decimals;
  return decimals;
}

// The power of ten of a number's first digit, |value| > 0: without a
// logarithm, which would cost more than all the rest of a cell.
int firstDigitPower(double magnitude) {
  int power = 0;
  if (magnitude >= 1) {
    for (double p = 10; p <= magnitude && power < 400; p *= 10) ++power;
  } else {
    for (double p = 1; p > magnitude && power > -400; p /= 10) --power;
  }
  return power;
}

// The decimals of a number as plainDecimal writes it.
int plainDecimals(double value) {
  const std::string text = plainDecimal(value);
  const std::size_t point = text.find('.');
  return point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

std::string cellOf(const Quantity& q, const job::ShownCoil& s, const CoilResults& r,
                   std::optional<double> workingCelsius,
                   const std::optional<job::CoilResistanceBand>& band) {
  if (!s.resultShown[indexOf(q.box)]) return "";
  if (q.onlyFor && s.typed.former != q.onlyFor) return "";
  if (q.measure == Measure::Text) return s.text(q.box);
  const double value = valueOf(q.box, r, s.calc);
  switch (q.measure) {
    case Measure::Count:
      return plainDecimal(value);
    case Measure::Thickness:
      return numberCell(value, std::max(3, plainDecimals(value)));
    case Measure::Millimetres:
      return numberCell(value, 3);
    case Measure::Length:
      return numberCell(value, decimalsBeside(factorOf(s.units->length), factorOf(kLengthUnit)));
    case Measure::Mass:
      return numberCell(value, decimalsBeside(factorOf(s.units->mass), factorOf(kMassUnit)));
    case Measure::Resistance: {
      const int decimals = decimalsBeside(factorOf(s.units->resistance), factorOf(kResistanceUnit));
      if (q.band) {
        if (!band) return "";
        const job::OhmBand& ohms =
            q.box == ResultBox::PredictedDcr ? band->predicted : band->aligned;
        const std::optional<double> figure = ohms.at(*q.band);
        return figure ? numberCell(*figure, decimals) : "";
      }
      if (!q.atWorkingTemperature) return numberCell(value, decimals);
      if (!workingCelsius || *workingCelsius == kReferenceCelsius || !s.resistance) return "";
      const Expected<double> at =
          ResistanceAtTemperature(value, *workingCelsius, s.resistance->material);
      return at ? numberCell(*at, decimals) : "";
    }
    case Measure::Text:
      break;
  }
  return "";
}

// The value with exactly `decimals` decimals, correctly rounded. A value of
// a few significant digits is rounded as a whole number of the last decimal's
// unit, which costs a tenth of the general conversion: its scaled product is
// then within 1e-7 of the exact one, so only a fraction within 1e-6 of a half
// is left to std::to_chars.
std::string fixedDecimals(double value, int decimals) {
  static constexpr std::array<double, 23> kPowers = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (decimals < static_cast<int>(kPowers.size())) {
    const double scaled = std::abs(value) * kPowers[decimals];
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (scaled < 1e9 && std::abs(fraction - 0.5) > 1e-6) {
      const auto units = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
      std::string digits = std::to_string(units);
      if (digits.size() <= static_cast<std::size_t>(decimals)) {
        digits.insert(0, decimals + 1 - digits.size(), '0');
      }
      if (decimals > 0) digits.insert(digits.size() - decimals, 1, '.');
      return (value < 0 && units != 0 ? "-" : "") + digits;
    }
  }
  std::array<char, 400> buffer;
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                          std::chars_format::fixed, decimals);
  return error == std::errc() ? std::string(buffer.data(), end) : std::string();
}

}  // namespace

std::vector<std::string> readableColumns(bool workingTemperature) {
  std::vector<std::string> headers;
  for (const Column& c : columnsOf(workingTemperature)) headers.push_back(c.header);
  return headers;
}

std::vector<std::string> readableCells(const job::ShownCoil& s,
                                       std::optional<double> workingCelsius) {
  const std::vector<Column>& columns = columnsOf(workingCelsius.has_value());
  std::vector<std::string> cells(columns.size());
  if (!s.pressed || !s.units) return cells;
  const std::optional<job::CoilResistanceBand> band =
      s.resistance ? job::coilResistanceBand(*s.resistance, *s.pressed) : std::nullopt;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    cells[i] = cellOf(columns[i].quantity, s, *s.pressed, workingCelsius, band);
  }
  return cells;
}

std::string numberCell(double value, int decimals) {
  if (!std::isfinite(value)) return "";
  if (value == 0) value = 0;  // no "-0"
  int digits = decimals;
  if (value != 0) {
    // Six significant digits. A power of ten a step off at the edge gives a
    // digit more, taken back below.
    digits = std::max(digits, 5 - firstDigitPower(std::abs(value)));
  }
  digits = std::clamp(digits, 0, 60);
  const auto fixed = [value](int decimals) { return fixedDecimals(value, decimals); };
  std::string text = fixed(digits);
  // Rounding up to the next power of ten (0.0999999996 → 0.1000000) gains a
  // digit the six did not ask for.
  const std::size_t first = text.find_first_of("123456789");
  if (digits > decimals && first != std::string::npos) {
    const int shown = static_cast<int>(
        std::count_if(text.begin() + first, text.end(), [](char c) { return c != '.'; }));
    if (shown > 6) text = fixed(digits - 1);
  }
  return text;
}

}  // namespace kelvane::batch
