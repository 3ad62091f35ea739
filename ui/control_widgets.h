#pragma once

#include <QRect>
#include <map>
#include <string>

#include "form/control_table.h"

class QButtonGroup;
class QLabel;
class QWidget;

namespace kelvane::ui {

class SectionDrawing;

// The widgets of the main window, one per control of the design.
struct ControlWidgets {
  std::map<std::string, QWidget*> byId;  // by control address, "Text1(9)"
  QButtonGroup* shapes = nullptr;        // Option1(0..2); a button's id is its index
  QButtonGroup* materials = nullptr;     // Option3(0..2)
  SectionDrawing* drawing = nullptr;     // Shape2 with the turns and lines on it

  QWidget* find(const form::ControlId& id) const;
};

// Creates every control of the design on `window`, at its place, with its
// text, font, colours and tab order; nothing is connected yet.
ControlWidgets buildControls(QWidget& window);

// A rectangle of the design in pixels, its edges rounded to the nearest pixel
// so controls that touch in twips touch on screen.
QRect twipsToPixels(int left, int top, int width, int height);

// The width a control leaves for its text: a box's frame, an option
// button's circle and a push button's margins take their share.
int textRoom(const QWidget& control);

}  // namespace kelvane::ui
