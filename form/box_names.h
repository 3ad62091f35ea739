#pragma once

#include <string>

#include "form/boxes.h"

namespace kelvane::form {

// A box as messages name it: the caption of its row ("巻き数(n)", "重量").
// Empty for a result box that takes no typing.
std::string boxName(InputBox b);
std::string boxName(ResultBox b);

// The refusal of a box text whose comma is neither a digit group nor
// anything else the program could read without guessing.
std::string unclearCommaMessage(const std::string& name, const std::string& text);

}  // namespace kelvane::form
