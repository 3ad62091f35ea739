#include "form/shown_units.h"

namespace kelvane::form {

std::string unitCaption(LengthUnit unit) {
  switch (unit) {
    case LengthUnit::Millimetre:
      return "全長 mm";
    case LengthUnit::Metre:
      return "全長 m";
    case LengthUnit::Kilometre:
      return "全長 Km";
  }
  return "全長";
}

std::string unitCaption(MassUnit unit) {
  switch (unit) {
    case MassUnit::Milligram:
      return "重量 mg";
    case MassUnit::Gram:
      return "重量 g";
    case MassUnit::Kilogram:
      return "重量 Kg";
  }
  return "重量";
}

std::string unitCaption(ResistanceUnit unit) {
  return unit == ResistanceUnit::Kiloohm ? "DCR KΩ" : "DCR Ω";
}

}  // namespace kelvane::form
