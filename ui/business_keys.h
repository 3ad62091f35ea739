#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;

namespace kelvane::ui {

// The Enter key of the Japanese business programs our users know: in the
// main window Enter moves on from box to box and presses buttons, Shift+Enter
// goes back. Which control comes next is the form's rule; this filter, put on
// each control, only hands it the key.
class BusinessKeys : public QObject {
  Q_OBJECT
 public:
  // `enter` runs for Enter on a watched control, with `backwards` for
  // Shift+Enter. The keypad's Enter counts as Enter.
  BusinessKeys(std::function<void(bool backwards)> enter, QObject* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(bool)> enter_;
};

// Whether the key closes a secondary window (the help, the data sheet): Esc,
// or the platform's close key (Ctrl+W).
bool closesWindow(const QKeyEvent& key);

}  // namespace kelvane::ui
