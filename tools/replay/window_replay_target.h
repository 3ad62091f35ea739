#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/replay/replay_target.h"

class QApplication;
class QWidget;

namespace kelvane::ui {
class MainWindow;
}

namespace kelvane::replay {

// The real window as a replay target, driven the way a person drives it:
// focus moves, key strokes into the boxes, mouse clicks on the buttons. The
// snapshot is read off the widgets, so it shows what the window shows.
// Needs a running QApplication; shows the window and makes it active.
class WindowReplayTarget : public ReplayTarget {
 public:
  WindowReplayTarget();
  // The target owns the application and ends it after the window.
  explicit WindowReplayTarget(std::unique_ptr<QApplication> app);
  ~WindowReplayTarget() override;

  bool focus(const form::ControlId& id) override;
  bool type(const form::ControlId& id, const std::string& text) override;
  bool click(const form::ControlId& id) override;
  void key(int keyCode) override;
  void closeSheet() override;
  bool set(const form::ControlId& id, const std::string& text) override;
  Expected<void> open(const std::string& path) override;
  Expected<void> save(const std::string& path) override;
  Snapshot snapshot() const override;

  ui::MainWindow& window() { return *window_; }

 private:
  // The control's widget when a person could reach it now, else null.
  QWidget* reachable(const form::ControlId& id) const;
  // Brings the window to the front, as a person clicks on it after working
  // in another window.
  void bringForward();

  std::unique_ptr<QApplication> app_;
  std::unique_ptr<ui::MainWindow> window_;
  std::vector<std::string> messages_;
  int prints_ = 0;
  job::Job opened_;  // the job last opened: what a save keeps besides the form
};

// Starts Qt (on the offscreen platform unless QT_QPA_PLATFORM names another)
// and returns the window as a replay target; null when the window cannot be
// made active. `argc` must outlive the target.
std::unique_ptr<ReplayTarget> makeWindowReplayTarget(int& argc, char** argv);

}  // namespace kelvane::replay
