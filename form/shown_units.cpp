#include "form/shown_units.h"

#include "core/coil_fields.h"

namespace kelvane::form {
namespace {

// The row's name and the unit as the window spells it: "全長 Km".
std::string caption(ResultBox row, std::string_view symbol) {
  return std::string(resultField(row).name) + " " + std::string(symbol);
}

}  // namespace

std::string unitCaption(LengthUnit unit) {
  return caption(ResultBox::AlignedLength, windowSymbol(unit));
}

std::string unitCaption(MassUnit unit) {
  return caption(ResultBox::AlignedWeight, windowSymbol(unit));
}

std::string unitCaption(ResistanceUnit unit) {
  return caption(ResultBox::AlignedDcr, windowSymbol(unit));
}

}  // namespace kelvane::form
