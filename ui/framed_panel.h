#pragma once

#include <QRect>
#include <QWidget>

#include "form/control_table.h"

class QPainter;

namespace kelvane::ui {

// A framed rectangle of the window (Shape2, Shape3): an opaque fill with a
// one-pixel border, painted in twips so its edges fall where the design puts
// them at every screen scale.
class FramedPanel : public QWidget {
  Q_OBJECT
 public:
  FramedPanel(const form::ControlDesign& panel, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  // Draws what lies on the panel; the painter works in the window's twips.
  virtual void paintContents(QPainter& painter);

 private:
  QRect twips_;  // the panel in the window's client area
  QColor fill_, border_;
};

// One pixel in twips at the design's 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

QColor toQColor(const form::Rgb& rgb);

}  // namespace kelvane::ui
