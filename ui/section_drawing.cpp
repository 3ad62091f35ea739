#include "ui/section_drawing.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRectF>
#include <algorithm>
#include <array>

#include "ui/fonts.h"

namespace kelvane::ui {
namespace {

const form::ControlDesign& designOf(const char* name, int index = -1) {
  return *form::findControl({name, index});
}

// A stroke `pixels` wide: whole device pixels on screen, twips on paper.
QPen sectionPen(SectionPens pens, const QColor& colour, int pixels) {
  QPen p(colour);
  if (pens == SectionPens::Screen) {
    p.setCosmetic(true);
    p.setWidth(pixels);
  } else {
    p.setWidthF(pixels * kTwipsPerPixel);
  }
  return p;
}

QRectF rectOf(const form::Band& b) { return {b.left, b.top, b.width, b.height}; }

QRectF boxOf(const form::TurnCircle& c) { return {c.left, c.top, c.diameter, c.diameter}; }

QString windingName(std::size_t index) { return QStringLiteral("巻線%1").arg(index + 1); }

// The legend's lettering, in twips as the drawing is: about ten pixels high
// on screen, 2.5 mm or so on the 見積計算書, in the face every page is set in.
QFont legendFont(SectionPens pens) {
  QFont f = pens == SectionPens::Paper ? QFont(paperFace()) : QFont();
  f.setPixelSize(165);
  return f;
}

// Everything the stack covers, lines included.
QRectF coveredBy(const form::StackSection& stack) {
  QRectF covered = QRectF(QPointF(stack.leftFlange.x1, stack.leftFlange.y2),
                          QPointF(stack.rightFlange.x1, stack.formerLine.y1))
                       .normalized();
  for (const form::WindingTurns& w : stack.windings) {
    for (const form::TurnCircle& c : w.circles) covered |= boxOf(c);
    if (w.layers) covered |= rectOf(*w.layers);
  }
  for (const form::TapeBand& t : stack.tapes) covered |= rectOf(t.band);
  return covered;
}

// A swatch in the winding's shade and its name, one row a winding, in the
// panel's top right corner; left out where it would cover the drawing.
void paintLegend(QPainter& painter, const form::StackSection& stack, SectionPens pens) {
  const form::ControlDesign& panel = designOf("Shape2");
  const QFont font = legendFont(pens);
  const QFontMetricsF metrics(font, painter.device());
  const double row = 210;
  const double swatch = 120;
  const double gap = 60;
  double textWidth = 0;
  for (const form::WindingTurns& w : stack.windings)
    textWidth = std::max(textWidth, metrics.horizontalAdvance(windingName(w.winding)));
  const double margin = 75;
  const double width = swatch + gap + textWidth;
  const QRectF legend(panel.left + panel.width - margin - width, panel.top + margin, width,
                      row * static_cast<double>(stack.windings.size()));
  if (legend.intersects(coveredBy(stack).adjusted(-gap, -gap, gap, gap))) return;

  painter.setFont(font);
  double y = legend.top();
  for (const form::WindingTurns& w : stack.windings) {
    painter.setPen(sectionPen(pens, Qt::black, 1));
    painter.setBrush(windingShade(w.winding));
    painter.drawRect(QRectF(legend.left(), y + (row - swatch) / 2, swatch, swatch));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(legend.left() + swatch + gap, y, textWidth + gap, row),
                     Qt::AlignLeft | Qt::AlignVCenter, windingName(w.winding));
    y += row;
  }
}

// The windings over their tapes: each turn outlined and filled in its
// winding's shade, the first and last turn of a winding (its leads) marked
// with a dot; a winding of too many turns as the band of its layers, its
// number in it where it fits.
void paintStack(QPainter& painter, const form::StackSection& stack, SectionPens pens) {
  painter.setPen(sectionPen(pens, QColor(0x80, 0x80, 0x80), 1));
  for (const form::TapeBand& t : stack.tapes) {
    const QRectF band = rectOf(t.band);
    painter.setBrush(QColor(0xf2, 0xf2, 0xf2));
    painter.drawRect(band);
    QBrush hatch(QColor(0x90, 0x90, 0x90), Qt::BDiagPattern);
    painter.fillRect(band, hatch);
  }

  const QFont font = legendFont(pens);
  const QFontMetricsF metrics(font, painter.device());
  for (const form::WindingTurns& w : stack.windings) {
    const QColor shade = windingShade(w.winding);
    painter.setPen(sectionPen(pens, Qt::black, 1));
    painter.setBrush(shade);
    if (w.layers) {
      const QRectF band = rectOf(*w.layers);
      painter.drawRect(band);
      if (band.height() >= metrics.height() &&
          band.width() >= metrics.horizontalAdvance(windingName(w.winding))) {
        painter.setFont(font);
        painter.setPen(qGray(shade.rgb()) < 128 ? Qt::white : Qt::black);
        painter.drawText(band, Qt::AlignCenter, windingName(w.winding));
      }
      continue;
    }
    for (const form::TurnCircle& c : w.circles) painter.drawEllipse(boxOf(c));
    painter.setPen(Qt::NoPen);
    painter.setBrush(qGray(shade.rgb()) < 128 ? Qt::white : Qt::black);
    for (const form::TurnCircle& c : w.circles) {
      if (!c.filled) continue;
      const double dot = c.diameter * 0.36;
      painter.drawEllipse(boxOf(c).center(), dot / 2, dot / 2);
    }
  }
  paintLegend(painter, stack, pens);
}

}  // namespace

QColor windingShade(std::size_t index) {
  // Greys (Qt's qGray) 125, 225, 50, 175, 75, 200, 100 and 150 in turn: the
  // first three, the usual transformer, far apart from each other.
  static const std::array<QColor, 8> shades = {
      QColor(0x45, 0x8a, 0xd0),  // blue
      QColor(0xee, 0xe5, 0xb9),  // pale yellow
      QColor(0x12, 0x47, 0x36),  // dark green
      QColor(0xdb, 0xa5, 0x6e),  // orange
      QColor(0x63, 0x24, 0x91),  // purple
      QColor(0xb2, 0xe5, 0x99),  // light green
      QColor(0xba, 0x3a, 0x2e),  // red
      QColor(0xdb, 0x68, 0xa1),  // pink
  };
  return shades[index % shades.size()];
}

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
    return sectionPen(pens, colour, pixels);
  };
  if (content.stack) {
    // The stack in place of the single coil; nothing when it cannot be drawn.
    if (!content.stack->visible) return;
    const form::StackSection& stack = *content.stack;
    painter.save();
    painter.setPen(pen(lineColour, 2));
    const form::Segment* segments[3] = {&stack.formerLine, &stack.leftFlange, &stack.rightFlange};
    for (int i = 0; i < 3; ++i) {
      if (!content.linesShown[i]) continue;
      painter.drawLine(QLineF(segments[i]->x1, segments[i]->y1, segments[i]->x2, segments[i]->y2));
    }
    if (content.turnsShown) paintStack(painter, stack, pens);
    painter.restore();
    return;
  }
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
