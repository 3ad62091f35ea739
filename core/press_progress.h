#pragma once

#include <atomic>

namespace kelvane {

// How far a long press has come, and a way for the person waiting to call it
// off. The press runs on one thread and the window polls it from another.
class PressProgress {
 public:
  void cancel() { cancelled_.store(true, std::memory_order_relaxed); }
  bool cancelled() const { return cancelled_.load(std::memory_order_relaxed); }

  // Share of the turns summed so far, 0 … 1.
  double fraction() const { return fraction_.load(std::memory_order_relaxed); }
  void report(double fraction) {
    fraction_.store(fraction, std::memory_order_relaxed);
    if (listener_) listener_(fraction);
  }

  // Told of every report as it comes, on the press's thread: for a window
  // that cannot poll (the browser page's worker has one thread, busy with
  // the press, and passes each share on to the page).
  using Listener = void (*)(double fraction);
  void setListener(Listener listener) { listener_ = listener; }

 private:
  Listener listener_ = nullptr;
  std::atomic<bool> cancelled_{false};
  std::atomic<double> fraction_{0};
};

}  // namespace kelvane
