#include "ui/section_drawing.h"

#include <QPainter>
#include <algorithm>

namespace kelvane::ui {
namespace {

const form::ControlDesign& designOf(const char* name, int index = -1) {
  return *form::findControl({name, index});
}

}  // namespace

SectionDrawing::SectionDrawing(QWidget* parent) : FramedPanel(designOf("Shape2"), parent) {}

void SectionDrawing::setContent(const Content& content) {
  if (content == content_) return;
  content_ = content;
  update();
}

void SectionDrawing::paintContents(QPainter& painter) { paintSection(painter, content_); }

void paintSection(QPainter& painter, const SectionDrawing::Content& content, SectionPens pens) {
  static const QColor turnFill = toQColor(*designOf("Shape1", 0).foreground);
  static const QColor lineColour = toQColor(*designOf("Line1").foreground);
  const auto pen = [pens](const QColor& colour, int pixels) {
    QPen p(colour);
    if (pens == SectionPens::Screen) {
      p.setCosmetic(true);
      p.setWidth(pixels);
    } else {
      p.setWidthF(pixels * kTwipsPerPixel);
    }
    return p;
  };
  const form::Drawing& d = content.drawing;

  // The former line and the two flanges, two pixels wide.
  painter.setPen(pen(lineColour, 2));
  const form::LinePosition* lines[3] = {&d.line1, &d.line2, &d.line3};
  for (int i = 0; i < 3; ++i) {
    if (!content.linesShown[i]) continue;
    painter.drawLine(QLineF(lines[i]->x1, lines[i]->y1, lines[i]->x2, lines[i]->y2));
  }

  // The turns lie in front of the lines. A circle fills the smaller side of
  // its box, centred, as the template's design box is not square.
  if (!content.turnsShown) return;
  painter.setPen(pen(Qt::black, 1));
  for (const form::Circle& c : d.circles) {
    const double diameter = std::min(c.width, c.height);
    const QRectF box(c.left + (c.width - diameter) / 2, c.top + (c.height - diameter) / 2, diameter,
                     diameter);
    painter.setBrush(c.filled ? QBrush(turnFill) : QBrush(Qt::NoBrush));
    painter.drawEllipse(box);
  }
}

}  // namespace kelvane::ui
