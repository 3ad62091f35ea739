#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/coil.h"
#include "core/read_coil.h"

namespace kelvane::job {

// A coil as it is shown after its presses, whoever pressed: the inputs as
// typed, the result texts as they stand, which of them show, and the numbers
// of the press that wrote them. The results table, the price and the batch's
// cells are made from one; the window's form gives its own (form/form_job.h),
// a batch row the one its press gives (pressOnOpening).
struct ShownCoil {
  TypedCoil typed;
  std::array<std::string, kResultBoxCount> results;
  std::array<bool, kInputBoxCount> inputShown{};
  std::array<bool, kResultBoxCount> resultShown{};
  // The name of the outer D' or R' line as the former that shows it names it.
  std::string outerRorDName;
  // Typed over by the user (a target, or emptied) since the press wrote it.
  std::array<bool, kResultBoxCount> typedOver{};
  // The results belong to the inputs as they stand: a complete press, and
  // nothing changed since.
  bool current = false;
  // The units of the length, weight and resistance rows; none before the
  // first press that reached them.
  std::optional<ShownUnits> units;
  // The resistances the DCR boxes were last written with, and the numbers of
  // the press that last wrote the lengths, weights and resistances.
  std::optional<PressedResistance> resistance;
  std::optional<CoilResults> pressed;
  CalculationState calc;  // what the last press left behind

  const std::string& text(ResultBox b) const { return results[indexOf(b)]; }
};

// A press of the coil on a window as it opens, the inputs the former shows
// held against it: the coil as it then shows, and the message the press
// showed (a refusal of an input, no former, a length that could not be
// summed); none for a complete press.
struct FirstPress {
  ShownCoil coil;
  std::string message;
};
FirstPress pressOnOpening(const TypedCoil& typed);

}  // namespace kelvane::job
