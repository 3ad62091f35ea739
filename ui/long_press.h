#pragma once

#include "core/calculate_coil.h"
#include "form/form1.h"

class QWidget;

namespace kelvane::ui {

// A coil of this many turns is summed away from the window's thread: beyond
// it the sum may take longer than a person waits without seeing progress.
inline constexpr double kLongPressTurns = 20'000'000;

bool isLongPress(const form::PressRequest& request);

// Computes the press on a worker thread while a progress dialog with a
// cancel button stands over the window. A cancelled press comes back with
// the outcome Cancelled and nothing to write.
CoilPress computeWithProgress(QWidget* window, const form::PressRequest& request);

}  // namespace kelvane::ui
