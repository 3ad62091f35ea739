#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/typed_number.h"
#include "form/boxes.h"

namespace kelvane::form {

// A box as messages name it: the caption of its row ("巻き数(n)", "重量").
// Empty for a result box that takes no typing.
std::string boxName(InputBox b);
std::string boxName(ResultBox b);

// The refusal of a box text whose comma is neither a digit group nor
// anything else the program could read without guessing.
std::string unclearCommaMessage(const std::string& name, const std::string& text);

// The units an input box may be typed with, as the window writes them: mm
// for the sizes, ° for the fan angle, none for the turns.
std::span<const std::string_view> unitsOf(InputBox b);

// Why a box text, read as `n` with `units`, cannot be used, naming the box
// and quoting the text: its comma, something besides the number and the
// units, a number too large; none when it can be read.
std::optional<std::string> unreadableMessage(const std::string& name, const std::string& text,
                                             const TypedNumber& n,
                                             std::span<const std::string_view> units);

}  // namespace kelvane::form
