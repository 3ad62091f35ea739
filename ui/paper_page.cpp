#include "ui/paper_page.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <algorithm>

#include "job/output_file.h"
#include "job/printable_text.h"
#include "ui/fonts.h"
#include "ui/job_files.h"

namespace kelvane::ui::paper {

QString printed(const std::string& text) {
  return QString::fromStdString(job::withoutDirectionControls(text));
}

QString textOf(const QString& text, const TextLine& line) {
  QString shown = text.mid(line.start, line.length);
  while (!shown.isEmpty() && shown.back().isSpace()) shown.chop(1);
  return shown;
}

Page::Page(QPainter& painter, Use use) : p_(painter), measureOnly_(use == Measure) {
  const QPaintDevice& device = *painter.device();
  perMm_ = device.logicalDpiX() / 25.4;
  if (measureOnly_) return;
  const double scale =
      std::min(device.width() / (kPageWidth * perMm_), device.height() / (kPageHeight * perMm_));
  p_.translate((device.width() - kPageWidth * perMm_ * scale) / 2, 0);
  p_.scale(scale, scale);
  p_.fillRect(toDevice(QRectF(0, 0, kPageWidth, kPageHeight)), Qt::white);
}

QFont Page::font(double points, bool bold) const {
  QFont f(paperFace());
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

QFont Page::monospaceFont(double points) const {
  QFont f(QStringLiteral("IPAGothic"));
  f.setStyleHint(QFont::TypeWriter);
  f.setPointSizeF(points);
  return f;
}

double Page::widthOf(const QFont& font, const QString& text) const {
  return QFontMetricsF(font, p_.device()).horizontalAdvance(text) / perMm_;
}

double Page::lineHeight(const QFont& font) const {
  return std::max(QFontMetricsF(font, p_.device()).lineSpacing() / perMm_,
                  font.pointSizeF() * 25.4 / 72 * 1.3);
}

bool Page::fitsShrunk(double width, const QString& text, QFont font) const {
  font.setPointSizeF(kSmallestPoints);
  return widthOf(font, text) <= width - 2 * kCellPadding;
}

std::vector<TextLine> Page::wrap(const QString& text, const QFont& font, double width) const {
  std::vector<TextLine> lines;
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  for (qsizetype start = 0;;) {
    const qsizetype end = text.indexOf(QLatin1Char('\n'), start);
    qsizetype length = (end < 0 ? text.size() : end) - start;
    if (length > 0 && text[start + length - 1] == QLatin1Char('\r')) --length;
    if (length == 0) {
      lines.push_back({start, 0});
    } else {
      QTextLayout layout(text.mid(start, length), font, p_.device());
      layout.setTextOption(option);
      layout.beginLayout();
      for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(toDevice(width));
        lines.push_back({start + line.textStart(), line.textLength()});
      }
      layout.endLayout();
    }
    if (end < 0) break;
    start = end + 1;
  }
  return lines;
}

void Page::line(const QRectF& box, const QString& text, QFont font, Qt::Alignment align,
                const QColor& colour, const QString& mark) {
  if (measureOnly_) return;
  const QRectF inner = box.adjusted(kCellPadding, 0, -kCellPadding, 0);
  const QString whole = text + mark;
  // A device of low resolution rounds the size to its pixels: measured
  // again after each step.
  for (double natural;
       (natural = widthOf(font, whole)) > inner.width() && font.pointSizeF() > kSmallestPoints;) {
    const double smaller =
        std::min(font.pointSizeF() * inner.width() / natural, font.pointSizeF() - 0.25);
    font.setPointSizeF(std::max(kSmallestPoints, smaller));
  }
  const QFontMetricsF metrics(font, p_.device());
  const QString shown =
      mark.isEmpty()
          ? metrics.elidedText(text, Qt::ElideRight, toDevice(inner.width()))
          : metrics.elidedText(text, Qt::ElideRight,
                               toDevice(inner.width()) - metrics.horizontalAdvance(mark)) +
                mark;
  p_.setFont(font);
  p_.setPen(colour);
  p_.drawText(toDevice(inner), int(align | Qt::AlignVCenter), shown);
}

void Page::paragraph(const QRectF& box, const QString& text, QFont font, const QColor& colour) {
  if (measureOnly_) return;
  const QRectF inner = toDevice(box.adjusted(kCellPadding, 0.6, -kCellPadding, -0.6));
  const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
  while (font.pointSizeF() > kSmallestPoints &&
         QFontMetricsF(font, p_.device()).boundingRect(inner, flags, text).height() >
             inner.height())
    font.setPointSizeF(std::max(kSmallestPoints, font.pointSizeF() - 0.5));
  p_.save();
  p_.setClipRect(inner);
  p_.setFont(font);
  p_.setPen(colour);
  p_.drawText(inner, flags, text);
  p_.restore();
}

double Page::wrappedHeight(double width, const QString& text, const QFont& font) const {
  const QRectF inner(0, 0, toDevice(width - 2 * kCellPadding), 1e9);
  return QFontMetricsF(font, p_.device())
                 .boundingRect(inner, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text)
                 .height() /
             perMm_ +
         1.2;
}

void Page::rect(const QRectF& box, const QColor& border, double penMm, const QBrush& fill) {
  if (measureOnly_) return;
  QPen pen(border);
  pen.setWidthF(toDevice(penMm));
  pen.setJoinStyle(Qt::MiterJoin);
  p_.setPen(pen);
  p_.setBrush(fill);
  p_.drawRect(toDevice(box));
}

void Page::rule(double x1, double y, double x2, double penMm) {
  if (measureOnly_) return;
  QPen pen(kInk);
  pen.setWidthF(toDevice(penMm));
  p_.setPen(pen);
  p_.drawLine(QPointF(toDevice(x1), toDevice(y)), QPointF(toDevice(x2), toDevice(y)));
}

double heading(Page& page, double x, double y, double width, const QString& title) {
  page.line(QRectF(x - kCellPadding, y, width, 5), title, page.font(10.5, true), Qt::AlignLeft);
  page.rule(x, y + 5.2, x + width, 0.25);
  return y + kHeadingHeight;
}

Row rowOf(const QStringList& texts) {
  Row row;
  for (const QString& text : texts) row.push_back({text, {}});
  return row;
}

double table(Page& page, double x, double y, const std::vector<Column>& columns,
             const std::vector<Row>& rows, double points) {
  for (std::size_t r = 0; r < rows.size(); ++r)
    y = tableRow(page, x, y, columns, rows[r], r == 0 ? RowKind::Heading : RowKind::Body, points);
  return y;
}

double tableRow(Page& page, double x, double y, const std::vector<Column>& columns, const Row& row,
                RowKind kind, double points) {
  const QFont font = page.font(points);
  double width = 0;
  for (const Column& c : columns) width += c.width;
  if (kind == RowKind::Heading) page.rect(QRectF(x, y, width, kRowHeight), kGrid, 0.2, kLabelFill);
  double left = x;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const QRectF cell(left, y, columns[c].width, kRowHeight);
    page.rect(cell, kGrid, 0.2);
    const Cell text = c < row.size() ? row[c] : Cell{};
    page.line(cell, text.text, font, kind == RowKind::Heading ? Qt::AlignHCenter : columns[c].align,
              text.ink, text.mark);
    left += columns[c].width;
  }
  return y + kRowHeight;
}

void pageNumber(Page& page, int number, int count) {
  page.line(QRectF(kMargin, kContentBottom + 2, kPageWidth - 2 * kMargin, 5),
            QStringLiteral("%1/%2").arg(number).arg(count), page.font(kSmallPoints),
            Qt::AlignHCenter, kNoteInk);
}

bool paintNumberedPages(QPainter& painter, QPagedPaintDevice& pages, int count,
                        const std::function<void(Page& page, int number)>& paintOne) {
  for (int number = 1; number <= count; ++number) {
    if (number > 1 && !pages.newPage()) return false;
    painter.save();
    Page page(painter);
    paintOne(page, number);
    pageNumber(page, number, count);
    painter.restore();
  }
  return true;
}

std::optional<QByteArray> pdfOf(const QString& title, const QString& programVersion,
                                const DocumentPainter& paint) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setPageLayout(
      QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  writer.setResolution(1200);
  writer.setTitle(title);
  writer.setCreator(QStringLiteral("Kelvane ") + programVersion);
  QPainter painter;
  if (!painter.begin(&writer)) return std::nullopt;
  const bool painted = paint(painter, writer);
  if (!painter.end() || !painted) return std::nullopt;
  return bytes;
}

Expected<void> savePdf(const QString& path, const std::optional<QByteArray>& pdf) {
  if (!pdf)
    return Failure{"「" + job::displayName(fileOf(path)) +
                   "」を保存できません（PDFを作れません）。"};
  return saveFile(path, std::string_view(pdf->constData(), std::size_t(pdf->size())));
}

}  // namespace kelvane::ui::paper
