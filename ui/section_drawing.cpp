#include "ui/section_drawing.h"

#include <QPainter>
#include <algorithm>

namespace kelvane::ui {
namespace {

const form::ControlDesign& designOf(const char* name, int index = -1) {
  return *form::findControl({name, index});
}

}  // namespace

SectionDrawing::SectionDrawing(QWidget* parent)
    : FramedPanel(designOf("Shape2"), parent),
      turnFill_(toQColor(*designOf("Shape1", 0).foreground)),
      lineColour_(toQColor(*designOf("Line1").foreground)) {}

void SectionDrawing::setContent(const Content& content) {
  if (content == content_) return;
  content_ = content;
  update();
}

void SectionDrawing::paintContents(QPainter& painter) {
  const form::Drawing& d = content_.drawing;

  // The former line and the two flanges, two pixels wide.
  QPen linePen(lineColour_);
  linePen.setCosmetic(true);
  linePen.setWidth(2);
  painter.setPen(linePen);
  const form::LinePosition* lines[3] = {&d.line1, &d.line2, &d.line3};
  for (int i = 0; i < 3; ++i) {
    if (!content_.linesShown[i]) continue;
    painter.drawLine(QLineF(lines[i]->x1, lines[i]->y1, lines[i]->x2, lines[i]->y2));
  }

  // The turns lie in front of the lines. A circle fills the smaller side of
  // its box, centred, as the template's design box is not square.
  if (!content_.turnsShown) return;
  QPen outline(Qt::black);
  outline.setCosmetic(true);
  outline.setWidth(1);
  painter.setPen(outline);
  for (const form::Circle& c : d.circles) {
    const double diameter = std::min(c.width, c.height);
    const QRectF box(c.left + (c.width - diameter) / 2, c.top + (c.height - diameter) / 2,
                     diameter, diameter);
    painter.setBrush(c.filled ? QBrush(turnFill_) : QBrush(Qt::NoBrush));
    painter.drawEllipse(box);
  }
}

}  // namespace kelvane::ui
