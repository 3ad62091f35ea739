#pragma once

#include "form/form1.h"

class QWidget;

namespace kelvane::ui {

// A coil of this many turns is summed away from the window's thread: beyond
// it the sum may take longer than a person waits without seeing progress.
inline constexpr double kLongPressTurns = 20'000'000;

// The form's way of running a computation in this window: a coil of fewer
// than kLongPressTurns at once, a larger one on a worker thread while a
// progress dialog with a cancel button stands over the window.
form::WorkRunner progressRunner(QWidget* window);

}  // namespace kelvane::ui
