#include "ui/quotation_sheet.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>
#include <algorithm>

#include "core/number_text.h"
#include "core/temperature_resistance.h"
#include "form/control_table.h"
#include "job/output_file.h"
#include "ui/fonts.h"
#include "ui/framed_panel.h"
#include "ui/job_files.h"
#include "ui/section_drawing.h"

namespace kelvane::ui {
namespace {

// The page, in millimetres.
constexpr double kPageWidth = 210, kPageHeight = 297;
constexpr double kMargin = 15;
constexpr double kRowHeight = 5.8;      // a row of the tables
constexpr double kHeadingHeight = 6.5;  // a block's heading and the gap below it
constexpr double kBlockGap = 5;         // between one block and the heading of the next
constexpr double kCellPadding = 1.2;    // text to the side of its cell
constexpr double kTextPoints = 9;       // the tables and the job's fields
constexpr double kSmallestPoints = 5;   // a text shrunk to fit stops here

const QColor kInk(0, 0, 0);
const QColor kGrid(140, 140, 140);
const QColor kLabelFill(232, 232, 232);
const QColor kNoteInk(70, 70, 70);
const QColor kWarning(200, 0, 0);

const QString kOutOfDate = QStringLiteral("計算結果は入力と一致していません（再計算が必要）");

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

// The painter's device seen as the A4 page: positions and sizes in
// millimetres, fonts in points. The page is scaled to fit a device of
// another size and centred across it.
class Page {
 public:
  explicit Page(QPainter& painter) : p_(painter) {
    const QPaintDevice& device = *painter.device();
    perMm_ = device.logicalDpiX() / 25.4;
    const double scale =
        std::min(device.width() / (kPageWidth * perMm_), device.height() / (kPageHeight * perMm_));
    p_.translate((device.width() - kPageWidth * perMm_ * scale) / 2, 0);
    p_.scale(scale, scale);
    p_.fillRect(toDevice(QRectF(0, 0, kPageWidth, kPageHeight)), Qt::white);
  }

  QPainter& painter() { return p_; }
  double toDevice(double mm) const { return mm * perMm_; }
  QRectF toDevice(const QRectF& mm) const {
    return {toDevice(mm.x()), toDevice(mm.y()), toDevice(mm.width()), toDevice(mm.height())};
  }

  QFont font(double points, bool bold = false) const {
    QFont f(windowFace(form::kControlFont));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
  }
  // A face whose every half-width character is as wide as any other, for
  // texts aligned with spaces.
  QFont monospaceFont(double points) const {
    QFont f(QStringLiteral("IPAGothic"));
    f.setStyleHint(QFont::TypeWriter);
    f.setPointSizeF(points);
    return f;
  }
  double widthOf(const QFont& font, const QString& text) const {
    return QFontMetricsF(font, p_.device()).horizontalAdvance(text) / perMm_;
  }

  // One line of text in `box`, vertically centred, shrunk to fit its width
  // and, below the smallest size, cut short with an ellipsis.
  void line(const QRectF& box, const QString& text, QFont font, Qt::Alignment align,
            const QColor& colour = kInk) {
    const QRectF inner = box.adjusted(kCellPadding, 0, -kCellPadding, 0);
    // A device of low resolution rounds the size to its pixels: measured
    // again after each step.
    for (double natural;
         (natural = widthOf(font, text)) > inner.width() && font.pointSizeF() > kSmallestPoints;) {
      const double smaller =
          std::min(font.pointSizeF() * inner.width() / natural, font.pointSizeF() - 0.25);
      font.setPointSizeF(std::max(kSmallestPoints, smaller));
    }
    const QString shown =
        QFontMetricsF(font, p_.device()).elidedText(text, Qt::ElideRight, toDevice(inner.width()));
    p_.setFont(font);
    p_.setPen(colour);
    p_.drawText(toDevice(inner), int(align | Qt::AlignVCenter), shown);
  }

  // Text wrapped inside `box`, shrunk until it fits; what still does not fit
  // at the smallest size is cut off at the box's edge.
  void paragraph(const QRectF& box, const QString& text, QFont font, const QColor& colour = kInk) {
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

  // How tall `text` wraps in a box `width` wide, in millimetres.
  double wrappedHeight(double width, const QString& text, const QFont& font) const {
    const QRectF inner(0, 0, toDevice(width - 2 * kCellPadding), 1e9);
    return QFontMetricsF(font, p_.device())
                   .boundingRect(inner, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text)
                   .height() /
               perMm_ +
           1.2;
  }

  void rect(const QRectF& box, const QColor& border, double penMm,
            const QBrush& fill = Qt::NoBrush) {
    QPen pen(border);
    pen.setWidthF(toDevice(penMm));
    pen.setJoinStyle(Qt::MiterJoin);
    p_.setPen(pen);
    p_.setBrush(fill);
    p_.drawRect(toDevice(box));
  }

  void rule(double x1, double y, double x2, double penMm) {
    QPen pen(kInk);
    pen.setWidthF(toDevice(penMm));
    p_.setPen(pen);
    p_.drawLine(QPointF(toDevice(x1), toDevice(y)), QPointF(toDevice(x2), toDevice(y)));
  }

 private:
  QPainter& p_;
  double perMm_ = 1;
};

// A block's title, left on a thin rule; gives the top of the block below it.
double heading(Page& page, double x, double y, double width, const QString& title) {
  page.line(QRectF(x - kCellPadding, y, width, 5), title, page.font(10.5, true), Qt::AlignLeft);
  page.rule(x, y + 5.2, x + width, 0.25);
  return y + kHeadingHeight;
}

struct Column {
  double width;
  Qt::Alignment align;
};

// A ruled table: the first row is its heading, on grey. Gives the y below it.
double table(Page& page, double x, double y, const std::vector<Column>& columns,
             const std::vector<QStringList>& rows) {
  const QFont font = page.font(kTextPoints);
  double width = 0;
  for (const Column& c : columns) width += c.width;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const QRectF rowBox(x, y, width, kRowHeight);
    if (r == 0) page.rect(rowBox, kGrid, 0.2, kLabelFill);
    double left = x;
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const QRectF cell(left, y, columns[c].width, kRowHeight);
      page.rect(cell, kGrid, 0.2);
      const QString text = c < std::size_t(rows[r].size()) ? rows[r][int(c)] : QString();
      page.line(cell, text, font, r == 0 ? Qt::AlignHCenter : columns[c].align);
      left += columns[c].width;
    }
    y += kRowHeight;
  }
  return y;
}

// The out-of-date mark: the words in red in a red frame.
void outOfDateMark(Page& page, const QRectF& box) {
  page.rect(box, kWarning, 0.5, QColor(255, 240, 240));
  page.line(box, kOutOfDate, page.font(9.5, true), Qt::AlignHCenter, kWarning);
}

// The title, the time, the version; the job's fields below. Gives the y below them.
double header(Page& page, const QuotationContent& content) {
  const double right = kPageWidth - kMargin;
  page.line(QRectF(kMargin - kCellPadding, kMargin, 52, 11), QStringLiteral("見積計算書"),
            page.font(20, true), Qt::AlignLeft);
  if (!content.resultsCurrent) outOfDateMark(page, QRectF(64, kMargin + 2, 84, 7));
  const QFont small = page.font(8);
  page.line(
      QRectF(right - 45 + kCellPadding, kMargin, 45, 5.5),
      QStringLiteral("作成日時 ") + content.printedAt.toString(QStringLiteral("yyyy/MM/dd HH:mm")),
      small, Qt::AlignRight);
  page.line(QRectF(right - 45 + kCellPadding, kMargin + 5.5, 45, 5.5),
            QStringLiteral("Kelvane ") + content.programVersion, small, Qt::AlignRight);
  page.rule(kMargin, kMargin + 12.5, right, 0.5);

  // 顧客名 and 見積番号, 品番 and 担当者 side by side; the memo below across the page.
  constexpr double kLabel = 20, kFieldHeight = 7;
  const double half = (right - kMargin) / 2;
  const QFont label = page.font(kTextPoints);
  const QFont value = page.font(10);
  // A label on grey and the frame of its value.
  auto field = [&](double x, double y, double width, double height, const QString& name) {
    page.rect(QRectF(x, y, kLabel, height), kGrid, 0.2, kLabelFill);
    page.line(QRectF(x, y, kLabel, std::min(height, kFieldHeight)), name, label, Qt::AlignHCenter);
    page.rect(QRectF(x + kLabel, y, width - kLabel, height), kGrid, 0.2);
  };
  const auto& f = content.fields;
  double y = kMargin + 16;
  const std::pair<QString, const std::string*> pairs[2][2] = {
      {{QStringLiteral("顧客名"), &f.customer}, {QStringLiteral("見積番号"), &f.quotationNumber}},
      {{QStringLiteral("品番"), &f.partNumber}, {QStringLiteral("担当者"), &f.personInCharge}},
  };
  for (const auto& row : pairs) {
    for (int i = 0; i < 2; ++i) {
      const double x = kMargin + i * half;
      field(x, y, half, kFieldHeight, row[i].first);
      page.line(QRectF(x + kLabel, y, half - kLabel, kFieldHeight), fromUtf8(*row[i].second), value,
                Qt::AlignLeft);
    }
    y += kFieldHeight;
  }
  // The memo's box grows with its text up to three lines or so; a longer
  // memo gets smaller text.
  const QString memo = fromUtf8(f.memo);
  const QFont memoFont = page.font(kTextPoints);
  const double memoWidth = right - kMargin - kLabel;
  const double memoHeight =
      std::clamp(page.wrappedHeight(memoWidth, memo, memoFont), kFieldHeight, 17.0);
  field(kMargin, y, right - kMargin, memoHeight, QStringLiteral("メモ"));
  page.paragraph(QRectF(kMargin + kLabel, y, memoWidth, memoHeight), memo, memoFont);
  return y + memoHeight;
}

double inputsBlock(Page& page, double x, double y, double width, const QuotationContent& content) {
  y = heading(page, x, y, width, QStringLiteral("入力"));
  std::vector<QStringList> rows = {
      {QStringLiteral("項目"), QStringLiteral("入力値"), fromUtf8(job::tableHeading().unit)}};
  for (const job::TableRow& r : content.table.inputs)
    rows.push_back({fromUtf8(r.item), fromUtf8(r.max), fromUtf8(r.unit)});
  const double unit = 16, item = (width - unit) * 0.55;
  return table(
      page, x, y,
      {{item, Qt::AlignLeft}, {width - unit - item, Qt::AlignRight}, {unit, Qt::AlignLeft}}, rows);
}

double resultsBlock(Page& page, double x, double y, double width, const QuotationContent& content) {
  y = heading(page, x, y, width, QStringLiteral("計算結果"));
  if (!content.resultsCurrent) {
    outOfDateMark(page, QRectF(x, y, width, 7));
    y += 8.5;
  }
  const job::TableRow& h = job::tableHeading();
  std::vector<QStringList> rows = {
      {fromUtf8(h.item), fromUtf8(h.max), fromUtf8(h.mid), fromUtf8(h.unit)}};
  for (const job::TableRow& r : content.table.results)
    rows.push_back({fromUtf8(r.item), fromUtf8(r.max), fromUtf8(r.mid), fromUtf8(r.unit)});
  const double unit = 12, value = 25.5, item = width - unit - 2 * value;
  return table(page, x, y,
               {{item, Qt::AlignLeft},
                {value, Qt::AlignRight},
                {value, Qt::AlignRight},
                {unit, Qt::AlignLeft}},
               rows);
}

// What the two columns mean, and the one row that has them the other way
// round; across the page below both columns.
void columnNote(Page& page, double y, const QuotationContent& content) {
  QString note = QStringLiteral(
      "Max：整列巻きの長さを基準にした値。予測 Mid：クロス部の盛り上がりを見込んだ予測値。\n"
      "DCR の行だけは意図して逆です：Max 列に予測 Mid の長さの抵抗値、"
      "予測 Mid 列に Max の長さの抵抗値を示します。");
  if (!content.temperatureNote.isEmpty()) note += QLatin1Char('\n') + content.temperatureNote;
  const QFont font = page.font(8.5);
  const double width = kPageWidth - 2 * kMargin;
  const double height = page.wrappedHeight(width, note, font);
  page.paragraph(QRectF(kMargin - kCellPadding, y, width, height), note, font, kNoteInk);
}

// The section as the window's panel Shape2 shows it, scaled into `width`.
double drawingBlock(Page& page, double x, double y, double width, const QuotationContent& content) {
  y = heading(page, x, y, width, QStringLiteral("断面図"));
  const form::ControlDesign& panel = *form::findControl({"Shape2", -1});
  const QRectF twips(panel.left, panel.top, panel.width, panel.height);
  const double height = width * twips.height() / twips.width();

  QPainter& p = page.painter();
  p.save();
  p.translate(page.toDevice(x), page.toDevice(y));
  p.scale(page.toDevice(width) / twips.width(), page.toDevice(width) / twips.width());
  p.translate(-twips.topLeft());
  p.setClipRect(twips);
  p.fillRect(twips, toQColor(panel.background.value_or(form::Rgb{255, 255, 255})));
  SectionDrawing::Content section;
  section.drawing = content.drawing;
  section.turnsShown = content.turnsShown;
  section.linesShown = content.linesShown;
  paintSection(p, section, SectionPens::Paper);
  p.restore();
  page.rect(QRectF(x, y, width, height), toQColor(panel.foreground.value_or(form::Rgb{})), 0.3);
  return y + height;
}

double wireSheetBlock(Page& page, double x, double y, double width,
                      const QuotationContent& content) {
  y = heading(page, x, y, width, QStringLiteral("線材データ"));
  if (content.wireSheet.empty()) {
    page.line(QRectF(x, y, width, kRowHeight),
              QStringLiteral("素線径(d)が正しくないため作れません"), page.font(8), Qt::AlignLeft,
              kNoteInk);
    return y + kRowHeight;
  }
  // One size for the whole block, the largest at which its widest line fits.
  QFont font = page.monospaceFont(8);
  double widest = 0;
  for (const std::string& line : content.wireSheet)
    widest = std::max(widest, page.widthOf(font, fromUtf8(line)));
  const double room = width - 2 * kCellPadding - 1;
  if (widest > room) font.setPointSizeF(font.pointSizeF() * room / widest);
  const double lineHeight = std::max(2.6, font.pointSizeF() * 25.4 / 72 * 1.3);
  const double height = content.wireSheet.size() * lineHeight + 2;
  page.rect(QRectF(x, y, width, height), kGrid, 0.2);
  double top = y + 1;
  for (const std::string& line : content.wireSheet) {
    page.line(QRectF(x, top, width, lineHeight), fromUtf8(line), font, Qt::AlignLeft);
    top += lineHeight;
  }
  return y + height;
}

}  // namespace

QuotationContent quotationOf(const form::Form1& form, const job::JobFields& fields) {
  QuotationContent c;
  c.fields = fields;
  c.table = job::resultsTable(form, fields.workingCelsius);
  c.drawing = form.state().drawing;
  c.turnsShown = form.isVisible({"Shape1", 0});
  c.linesShown = {form.isVisible({"Line1", -1}), form.isVisible({"Line2", -1}),
                  form.isVisible({"Line3", -1})};
  // The data sheet exactly as 計算書 prints it for these boxes, pressed on a
  // copy so that the window's own sheet and messages stay as they are.
  form::Form1 scratch = form;
  scratch.closeSheet();
  scratch.Command2_Click();
  c.wireSheet = scratch.state().sheetLines;
  if (const auto conductor = job::workingResistanceConductor(form, fields.workingCelsius)) {
    c.temperatureNote =
        QStringLiteral(
            "DCR (%1 °C)：20 °C の値から R_T = R_20 × (1 + α (T − 20))、α = %2 "
            "/K（%3）で換算した値です。")
            .arg(fromUtf8(plainDecimal(fields.workingCelsius)),
                 QString::number(TemperatureCoefficient(*conductor), 'g', 5),
                 fromUtf8(form::findControl({"Option3", static_cast<int>(*conductor)})->text));
  }
  c.resultsCurrent = form.state().resultsCurrent;
  c.printedAt = QDateTime::currentDateTime();
  const std::string_view version = job::programVersion();
  c.programVersion = QString::fromUtf8(version.data(), qsizetype(version.size()));
  return c;
}

void paintQuotation(QPainter& painter, const QuotationContent& content) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  Page page(painter);
  const double top = header(page, content) + kBlockGap;

  // The inputs and the results on the left; the section and the wire on the right.
  constexpr double kLeftWidth = 97, kGutter = 6;
  const double rightX = kMargin + kLeftWidth + kGutter;
  const double rightWidth = kPageWidth - kMargin - rightX;
  const double inputsEnd = inputsBlock(page, kMargin, top, kLeftWidth, content);
  const double leftEnd = resultsBlock(page, kMargin, inputsEnd + kBlockGap, kLeftWidth, content);
  const double drawingEnd = drawingBlock(page, rightX, top, rightWidth, content);
  const double rightEnd = wireSheetBlock(page, rightX, drawingEnd + kBlockGap, rightWidth, content);
  columnNote(page, std::max(leftEnd, rightEnd) + 2, content);
  painter.restore();
}

std::optional<QByteArray> quotationPdf(const QuotationContent& content) {
  // Made whole in memory: a disk that fills up can then only refuse the file,
  // never leave half a PDF in its place.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setPageLayout(
      QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  writer.setResolution(1200);
  writer.setTitle(QStringLiteral("見積計算書 ") + fromUtf8(content.fields.quotationNumber));
  writer.setCreator(QStringLiteral("Kelvane ") + content.programVersion);
  QPainter painter;
  if (!painter.begin(&writer)) return std::nullopt;
  paintQuotation(painter, content);
  if (!painter.end()) return std::nullopt;
  return bytes;
}

std::optional<QString> writeQuotationPdf(const QString& path, const QuotationContent& content) {
  const std::optional<QByteArray> pdf = quotationPdf(content);
  if (!pdf) {
    return QStringLiteral("「%1」を保存できません（PDFを作れません）。")
        .arg(QString::fromStdString(job::displayName(fileOf(path))));
  }
  return saveFile(path, std::string_view(pdf->constData(), std::size_t(pdf->size())));
}

}  // namespace kelvane::ui
