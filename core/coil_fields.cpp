#include "core/coil_fields.h"

#include <array>

#include "core/typed_number.h"

namespace kelvane {
namespace {

constexpr std::string_view kMm = "mm";

const std::array<InputField, kInputBoxCount> kInputFields = {{
    {"素線径(d)", kMm, units::kMillimetre, "bareDiameter", "0.2"},
    {"線仕上外径", kMm, units::kMillimetre, "finishedDiameter", "0.21"},
    {"巻き数(n)", "", {}, "turns", "10"},
    {"リード長さ(L)", kMm, units::kMillimetre, "leadLength", "10"},
    {"基準厚み(T)", kMm, units::kMillimetre, "referenceThickness", "0.8"},
    {"内径(D)", kMm, units::kMillimetre, "innerDiameter", "10"},
    {"A", kMm, units::kMillimetre, "sideA", "2"},
    {"B", kMm, units::kMillimetre, "sideB", "2"},
    {"r1", kMm, units::kMillimetre, "cornerR1", "0.3"},
    {"r2", kMm, units::kMillimetre, "cornerR2", "0.3"},
    {"R", kMm, units::kMillimetre, "fanRadius", "50"},
    {"AG", "°", units::kDegree, "fanAngle", "60"},
    {"XX", kMm, units::kMillimetre, "fanWideWidth", "60"},
    {"Tension", "", units::kMillimetre, "tension", "60"},
}};

using enum ResultBox;
constexpr ResultField kResultFields[] = {
    {"巻き方(列)", Arrangement, {}, Measure::Text},
    {"層数", LayerCount, {}, Measure::Count},
    {"厚み", Thickness, {}, Measure::Thickness},
    {"最終層　巻き列", LastLayerTurns, {}, Measure::Count},
    {"A'", OuterA, {}, Measure::Millimetres},
    {"B'", OuterB, {}, Measure::Millimetres},
    {"R' or D'", OuterRorD, {}, Measure::Millimetres},
    {"整列部巻高", AlignedHeight, {}, Measure::Millimetres},
    {"全長", AlignedLength, PredictedLength, Measure::Length},
    {"重量", AlignedWeight, PredictedWeight, Measure::Mass},
    {"DCR", AlignedDcr, PredictedDcr, Measure::Resistance},
    {"クロス部巻高", CrossHeight, FullHeight, Measure::Millimetres},
    {"絶縁部重量", AlignedInsulationWeight, PredictedInsulationWeight, Measure::Mass},
    {"導体部重量", AlignedConductorWeight, PredictedConductorWeight, Measure::Mass},
};
// The XXX row's, for a box of it: no name, no value.
constexpr ResultField kXxxField = {"", XxxMax, XxxMid, Measure::Text};

}  // namespace

const InputField& inputField(InputBox b) { return kInputFields[indexOf(b)]; }

std::span<const ResultField> resultFields() { return kResultFields; }

const ResultField& resultField(ResultBox b) {
  for (const ResultField& field : kResultFields) {
    if (field.aligned == b || field.predicted == b) return field;
  }
  return kXxxField;
}

bool formerShows(FormerShape former, InputBox b) {
  switch (b) {
    case InputBox::InnerDiameter:
      return former == FormerShape::Round;
    case InputBox::SideA:
    case InputBox::SideB:
    case InputBox::CornerR1:
    case InputBox::CornerR2:
      return former != FormerShape::Round;
    case InputBox::FanRadius:
    case InputBox::FanAngle:
    case InputBox::FanWideWidth:
      return former == FormerShape::Fan;
    default:
      return true;
  }
}

bool formerShows(FormerShape former, ResultBox b) {
  switch (b) {
    case OuterA:
    case OuterB:
      return former != FormerShape::Round;
    case OuterRorD:
      return former != FormerShape::Rectangular;
    default:
      return true;
  }
}

std::optional<std::string_view> outerRorDName(FormerShape former) {
  switch (former) {
    case FormerShape::Round:
      return "D'";
    case FormerShape::Fan:
      return "R'";
    case FormerShape::Rectangular:
      break;
  }
  return std::nullopt;
}

std::string_view windowSymbol(LengthUnit unit) {
  switch (unit) {
    case LengthUnit::Millimetre:
      return "mm";
    case LengthUnit::Metre:
      return "m";
    case LengthUnit::Kilometre:
      return "Km";
  }
  return "";
}

std::string_view windowSymbol(MassUnit unit) {
  switch (unit) {
    case MassUnit::Milligram:
      return "mg";
    case MassUnit::Gram:
      return "g";
    case MassUnit::Kilogram:
      return "Kg";
  }
  return "";
}

std::string_view windowSymbol(ResistanceUnit unit) {
  return unit == ResistanceUnit::Kiloohm ? "KΩ" : "Ω";
}

std::string_view siSymbol(LengthUnit unit) {
  return unit == LengthUnit::Kilometre ? "km" : windowSymbol(unit);
}

std::string_view siSymbol(MassUnit unit) {
  return unit == MassUnit::Kilogram ? "kg" : windowSymbol(unit);
}

std::string_view siSymbol(ResistanceUnit unit) {
  return unit == ResistanceUnit::Kiloohm ? "kΩ" : "Ω";
}

std::string_view siSymbol(Measure measure, const ShownUnits& units) {
  switch (measure) {
    case Measure::Thickness:
    case Measure::Millimetres:
      return "mm";
    case Measure::Length:
      return siSymbol(units.length);
    case Measure::Mass:
      return siSymbol(units.mass);
    case Measure::Resistance:
      return siSymbol(units.resistance);
    case Measure::Text:
    case Measure::Count:
      break;
  }
  return "";
}

}  // namespace kelvane
