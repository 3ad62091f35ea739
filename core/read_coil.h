#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/coil.h"
#include "core/coil_fields.h"
#include "core/input_checks.h"
#include "core/typed_number.h"

namespace kelvane {

// A coil as typed: the text of every input, the former (none: no shape
// chosen) and the material.
struct TypedCoil {
  std::array<std::string, kInputBoxCount> texts;
  std::optional<FormerShape> former = FormerShape::Rectangular;
  ConductorMaterial material = ConductorMaterial::Copper;
  const std::string& text(InputBox b) const { return texts[indexOf(b)]; }
  bool operator==(const TypedCoil&) const = default;
};

// The coil as the window opens: every input's opening text, the rectangular
// former, copper.
TypedCoil openingCoil();

// The texts read as 計算 reads them, and the first input that cannot be read
// with the sentence saying why, as the press's own checks give one.
struct CoilReading {
  Coil coil;  // an empty r2 gives no r2
  std::optional<InputProblem> refusal;
};

// Reads the inputs the press uses. Only an input in `shown` is held against
// the press: one its former hides takes no part in the results. With no
// former every input is. Without the turns, the turns are 0 and their text
// is not read (a target is to fill it).
CoilReading readCoil(const TypedCoil& typed, const std::array<bool, kInputBoxCount>& shown,
                     bool withTurns = true);
// The same, showing the inputs of the coil's own former.
CoilReading readCoil(const TypedCoil& typed);

// The refusal of a text whose comma is neither a digit group nor anything
// else the program could read without guessing.
std::string unclearCommaMessage(std::string_view name, const std::string& text);

// Why a text, read as `n` with `units`, cannot be used, naming its input and
// quoting the text: its comma, something besides the number and the units,
// a number too large; none when it can be read.
std::optional<std::string> unreadableMessage(std::string_view name, const std::string& text,
                                             const TypedNumber& n,
                                             std::span<const std::string_view> units);

}  // namespace kelvane
