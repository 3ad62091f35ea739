#pragma once

#include <QObject>

namespace kelvane::ui {

// The keys of the Japanese business programs our users know: Enter in a box
// moves on to the next control in tab order, as Tab does (so the box's
// lost-focus rule runs), and Enter on a button presses it. Installed on each
// control.
class BusinessKeys : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace kelvane::ui
