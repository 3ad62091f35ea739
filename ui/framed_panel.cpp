#include "ui/framed_panel.h"

#include <QPainter>

namespace kelvane::ui {

QColor toQColor(const form::Rgb& rgb) { return {rgb.red, rgb.green, rgb.blue}; }

FramedPanel::FramedPanel(const form::ControlDesign& panel, QWidget* parent)
    : QWidget(parent),
      twips_(panel.left, panel.top, panel.width, panel.height),
      fill_(toQColor(panel.background.value_or(form::Rgb{255, 255, 255}))),
      border_(toQColor(panel.foreground.value_or(form::Rgb{}))) {}

void FramedPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
  painter.translate(-twips_.left(), -twips_.top());

  painter.fillRect(twips_, fill_);
  // The border runs along the centre of the outermost pixels.
  constexpr double kHalfPixel = kTwipsPerPixel / 2.0;
  QPen pen(border_);
  pen.setCosmetic(true);
  pen.setWidth(1);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(twips_).adjusted(kHalfPixel, kHalfPixel, -kHalfPixel, -kHalfPixel));

  paintContents(painter);
}

void FramedPanel::paintContents(QPainter&) {}

}  // namespace kelvane::ui
