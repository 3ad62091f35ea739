#include "ui/quotation_sheet.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "core/number_text.h"
#include "core/temperature_resistance.h"
#include "form/boxes.h"
#include "form/control_table.h"
#include "form/diagram_geometry.h"
#include "form/form_job.h"
#include "job/item_stack.h"
#include "job/resistance_band.h"
#include "ui/cost_breakdown.h"
#include "ui/framed_panel.h"
#include "ui/paper_page.h"
#include "ui/section_drawing.h"

namespace kelvane::ui {
namespace {

using namespace paper;

constexpr double kFieldPoints = 10;  // 顧客名, 見積番号, 担当者, 品番, 品名
constexpr double kFieldLabelWidth = 20;
constexpr double kFieldHeight = 7;  // the least height of a field's row
// On the first page a field takes at most two lines and the memo at most
// twelve, fewer when the page has no room for them: the rest continues on
// the next page.
constexpr int kMostFieldLines = 2;
constexpr int kMostMemoLines = 12;
// The inputs and the results on the left; the section and the wire on the right.
constexpr double kLeftWidth = 97, kGutter = 6;
constexpr double kRightX = kMargin + kLeftWidth + kGutter;
constexpr double kRightWidth = kPageWidth - kMargin - kRightX;

const QString kOutOfDate = QStringLiteral("計算結果は入力と一致していません（再計算が必要）");

// A text that continues after the first page: its heading there and the
// part still to show (a field's lines beyond its place, or a cell's whole
// text), and the page it starts on once laid out.
struct Continuation {
  QString title;
  QString text;
  int page = 0;  // 1-based
};

// A field of the job on the first page: the lines it shows there, and the
// continuation of the rest, if any.
struct FieldPlan {
  QString name;
  double width = 0;  // the label's and the value's, in mm
  QStringList lines;
  std::optional<std::size_t> continuation;  // into Plan::continuations
};

// One line of the pages after the first.
struct FlowLine {
  double y;
  QString text;
  bool heading;
};

// Where everything goes, worked out before the first page is painted: the
// first page tells where its long texts continue, and every page its count.
struct Plan {
  // The number of the section's first page in the whole sheet: a job of
  // several items numbers its pages through.
  int firstPage = 1;
  std::vector<Row> inputRows, resultRows;
  // 顧客名, 見積番号 and 担当者; 品番 and 品名.
  std::vector<std::vector<FieldPlan>> fields;
  FieldPlan memo;
  std::vector<Continuation> continuations;
  std::vector<std::vector<FlowLine>> laterPages;
  // Where the item's requirements go: below the results, below the notes
  // on the right, or, when the first page has no room for them, on a page
  // of their own after it.
  enum class Place { None, Left, Right, OwnPage } requirement = Place::None;
  bool stackPage = false;  // the windings of the item, after the requirements'
  bool costPage = false;   // the job's cost, on the page after the first (and those above)
  int pageCount() const {
    return 1 + int(requirement == Place::OwnPage) + int(stackPage) + int(costPage) +
           int(laterPages.size());
  }
};

// The out-of-date mark: the words in red in a red frame.
void outOfDateMark(Page& page, const QRectF& box) {
  page.rect(box, kWarning, 0.5, QColor(255, 240, 240));
  page.line(box, kOutOfDate, page.font(9.5, true), Qt::AlignHCenter, kWarning);
}

// The title, the time and the version across the top of a page, on a rule.
void titleLine(Page& page, const QuotationContent& content, const QString& title) {
  const double right = kPageWidth - kMargin;
  page.line(QRectF(kMargin - kCellPadding, kMargin, 100, 11), title, page.font(20, true),
            Qt::AlignLeft);
  const QFont small = page.font(kSmallPoints);
  page.line(
      QRectF(right - 45 + kCellPadding, kMargin, 45, 5.5),
      QStringLiteral("作成日時 ") + content.printedAt.toString(QStringLiteral("yyyy/MM/dd HH:mm")),
      small, Qt::AlignRight);
  page.line(QRectF(right - 45 + kCellPadding, kMargin + 5.5, 45, 5.5),
            QStringLiteral("Kelvane ") + content.programVersion, small, Qt::AlignRight);
  page.rule(kMargin, kMargin + 12.5, right, 0.5);
}

QString continuedMark(int page) { return QStringLiteral("（続きは%1ページ）").arg(page); }

// How tall a field's value stands: its lines, and the mark of its continuation.
double fieldHeight(Page& page, const FieldPlan& field, const QFont& font) {
  double height = field.lines.size() * page.lineHeight(font) + 1.2;
  if (field.continuation) height += page.lineHeight(page.font(kSmallPoints));
  return std::max(kFieldHeight, height);
}

// A label on grey, the frame of its value, and the value's lines, centred
// from top to bottom.
void paintField(Page& page, const Plan& plan, double x, double y, double width, double height,
                const FieldPlan& field, const QFont& font) {
  page.rect(QRectF(x, y, kFieldLabelWidth, height), kGrid, 0.2, kLabelFill);
  page.line(QRectF(x, y, kFieldLabelWidth, std::min(height, kFieldHeight)), field.name,
            page.font(kTextPoints), Qt::AlignHCenter);
  page.rect(QRectF(x + kFieldLabelWidth, y, width - kFieldLabelWidth, height), kGrid, 0.2);
  const QFont small = page.font(kSmallPoints);
  const double lineHeight = page.lineHeight(font);
  const double linesHeight =
      field.lines.size() * lineHeight + (field.continuation ? page.lineHeight(small) : 0);
  double top = y + (height - linesHeight) / 2;
  const double valueWidth = width - kFieldLabelWidth;
  for (const QString& line : field.lines) {
    page.line(QRectF(x + kFieldLabelWidth, top, valueWidth, lineHeight), line, font, Qt::AlignLeft);
    top += lineHeight;
  }
  // While the sheet is planned, the continuations are not yet laid out.
  if (field.continuation && !page.measuresOnly()) {
    page.line(QRectF(x + kFieldLabelWidth, top, valueWidth, page.lineHeight(small)),
              continuedMark(plan.continuations[*field.continuation].page), small, Qt::AlignLeft,
              kNoteInk);
  }
}

// The job's and the item's fields below the title: 顧客名, 見積番号 and 担当者
// side by side, below them 品番 and 品名; the memo across the page. Gives
// the y below them.
double fieldsBlock(Page& page, const Plan& plan) {
  const QFont value = page.font(kFieldPoints);
  double y = kMargin + 16;
  for (const std::vector<FieldPlan>& row : plan.fields) {
    double height = 0;
    for (const FieldPlan& field : row) height = std::max(height, fieldHeight(page, field, value));
    double x = kMargin;
    for (const FieldPlan& field : row) {
      paintField(page, plan, x, y, field.width, height, field, value);
      x += field.width;
    }
    y += height;
  }
  const QFont memoFont = page.font(kTextPoints);
  const double memoHeight = fieldHeight(page, plan.memo, memoFont);
  paintField(page, plan, kMargin, y, kPageWidth - 2 * kMargin, memoHeight, plan.memo, memoFont);
  return y + memoHeight;
}

std::vector<Column> inputColumns(double width) {
  const double unit = 16, item = (width - unit) * 0.55;
  return {{item, Qt::AlignLeft}, {width - unit - item, Qt::AlignRight}, {unit, Qt::AlignLeft}};
}

std::vector<Column> resultColumns(double width) {
  const double unit = 12, value = 25.5, item = width - unit - 2 * value;
  return {{item, Qt::AlignLeft},
          {value, Qt::AlignRight},
          {value, Qt::AlignRight},
          {unit, Qt::AlignLeft}};
}

double inputsBlock(Page& page, double x, double y, double width, const Plan& plan) {
  y = heading(page, x, y, width, QStringLiteral("入力"));
  return table(page, x, y, inputColumns(width), plan.inputRows);
}

double resultsBlock(Page& page, double x, double y, double width, const QuotationContent& content,
                    const Plan& plan) {
  y = heading(page, x, y, width, QStringLiteral("計算結果"));
  if (!content.resultsCurrent) {
    outOfDateMark(page, QRectF(x, y, width, 7));
    y += 8.5;
  }
  return table(page, x, y, resultColumns(width), plan.resultRows);
}

// The customer's requirements of the item beside the results: each with
// what the results give and whether that meets it, a miss in red. Gives the
// y below it; nothing for an item without one.
double requirementBlock(Page& page, double x, double y, double width,
                        const QuotationContent& content) {
  if (content.requirements.empty()) return y;
  y = heading(page, x, y, width, QStringLiteral("仕様"));
  const double verdict = width * 0.14, result = width * 0.25, item = width * 0.23;
  const std::vector<Column> columns = {{item, Qt::AlignLeft},
                                       {width - item - result - verdict, Qt::AlignLeft},
                                       {result, Qt::AlignRight},
                                       {verdict, Qt::AlignHCenter}};
  y = tableRow(page, x, y, columns,
               rowOf({QStringLiteral("項目"), QStringLiteral("仕様"), QStringLiteral("結果"),
                      QStringLiteral("判定")}),
               RowKind::Heading);
  for (const RequirementRow& requirement : content.requirements) {
    const bool missed = requirement.check == job::RequirementCheck::Missed;
    y = tableRow(page, x, y, columns,
                 {{requirement.item, {}},
                  {requirement.wanted, {}},
                  {requirement.result, {}},
                  {verdictText(requirement.check), {}, missed ? kWarning : kInk}},
                 RowKind::Body);
  }
  return y;
}

// What the two columns of the results mean, which is the larger, and where
// the window shows each. Gives the y below it.
double columnNote(Page& page, double x, double y, double width, const QuotationContent& content) {
  const job::TableRow& window = job::tableHeading();
  const job::TableRow& sheet = job::outputHeading();
  QString note =
      printed(std::string(job::columnNote())) +
      QStringLiteral(
          "\n画面では%1が「%2」、%3が「%4」の列です（DCR の行だけは画面で逆の列に出ます）。")
          .arg(printed(sheet.aligned), printed(window.aligned), printed(sheet.predicted),
               printed(window.predicted));
  for (const std::string& line : content.table.notes) note += QLatin1Char('\n') + printed(line);
  if (!content.temperatureNote.isEmpty()) note += QLatin1Char('\n') + content.temperatureNote;
  if (!content.resistanceNote.isEmpty()) note += QLatin1Char('\n') + content.resistanceNote;
  const QFont font = page.font(8.5);
  const double height = page.wrappedHeight(width, note, font);
  page.paragraph(QRectF(x - kCellPadding, y, width + kCellPadding, height), note, font, kNoteInk);
  return y + height;
}

// The section as the window's panel Shape2 shows it, scaled into `width`,
// or the window's note in its place for a coil too large to draw; below it
// what the marked turns are and the outer dimensions.
double drawingBlock(Page& page, double x, double y, double width, const QuotationContent& content) {
  y = heading(page, x, y, width, QStringLiteral("断面図"));
  const form::ControlDesign& panel = *form::findControl({"Shape2", -1});
  const QRectF twips(panel.left, panel.top, panel.width, panel.height);
  const double height = width * twips.height() / twips.width();

  if (!page.measuresOnly()) {
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
    section.stack = content.stackDrawing;
    paintSection(p, section, SectionPens::Paper);
    p.restore();
  }
  if (!content.drawingNote.isEmpty() && !content.stackDrawing) {
    const form::ControlDesign& note = *form::findControl({"Label2", -1});
    page.line(QRectF(x + 4, y, width - 8, height), content.drawingNote, page.font(14),
              Qt::AlignHCenter, toQColor(note.foreground.value_or(form::Rgb{})));
  }
  page.rect(QRectF(x, y, width, height), toQColor(panel.foreground.value_or(form::Rgb{})), 0.3);
  y += height + 0.8;

  const QFont small = page.font(kSmallPoints);
  const double lineHeight = page.lineHeight(small);
  if (content.stackDrawing) {
    page.line(
        QRectF(x, y, width, lineHeight),
        QStringLiteral("巻線ごとに濃淡を変えて描いています（点：各巻線の巻き始め・巻き終わり）"),
        small, Qt::AlignLeft);
    y += lineHeight;
  } else if (content.turnsShown && !content.drawing.circles.empty()) {
    // The first and the last turn are the filled circles: the sample is one
    // of them as the drawing paints it.
    const double diameter = 2.6;
    if (!page.measuresOnly()) {
      QPainter& p = page.painter();
      QPen pen(Qt::black);
      pen.setWidthF(page.toDevice(0.15));
      p.setPen(pen);
      p.setBrush(toQColor(*form::findControl({"Shape1", 0})->foreground));
      p.drawEllipse(
          page.toDevice(QRectF(x + 0.5, y + (lineHeight - diameter) / 2, diameter, diameter)));
    }
    page.line(QRectF(x + diameter + 0.5, y, width - diameter - 0.5, lineHeight),
              QStringLiteral("巻き始め（1層目の左端）・巻き終わり"), small, Qt::AlignLeft);
    y += lineHeight;
  }
  if (!content.outerDimensions.empty()) {
    QStringList parts;
    for (const auto& [caption, text] : content.outerDimensions)
      parts << printed(caption) + QLatin1Char(' ') + printed(text) + QStringLiteral(" mm");
    page.line(QRectF(x - kCellPadding + 0.5, y, width, lineHeight),
              QStringLiteral("外形寸法　") + parts.join(QStringLiteral("　")), small,
              Qt::AlignLeft);
    y += lineHeight;
  }
  return y;
}

// The wire data sheet's values as a table: a row a quantity, its nominal
// value and those at the two ends of the tolerance, with their units per
// kilometre. Read from the lines the window's data sheet prints, so both
// show the same digits; none when they are not in that shape.
std::optional<std::vector<Row>> wireRows(const std::vector<std::string>& lines) {
  if (lines.size() != 16) return std::nullopt;
  std::vector<QString> names, values;
  for (const std::string& line : lines) {
    const QString text = printed(line);
    const qsizetype equals = text.lastIndexOf(QLatin1Char('='));
    names.push_back(equals < 0 ? QString() : text.left(equals).trimmed());
    values.push_back(equals < 0 ? QString() : text.mid(equals + 1).trimmed());
  }
  bool read = false;
  const double conductivity = values[1].toDouble(&read);
  if (!read) return std::nullopt;
  for (int i : {3, 4, 5, 7, 9, 10, 11, 13, 14, 15})
    if (values[i].isEmpty()) return std::nullopt;
  // "絶縁部　重量 Kg": the weight unit is the name's last word.
  QString weight = names[7].section(QLatin1Char(' '), -1);
  if (weight == QStringLiteral("Kg")) weight = QStringLiteral("kg");
  weight += QStringLiteral("/km");
  const QString ohms = QStringLiteral("Ω/km");
  return std::vector<Row>{
      rowOf({QStringLiteral("項目"), QStringLiteral("基準"), QStringLiteral("最小"),
             QStringLiteral("最大"), QStringLiteral("単位")}),
      rowOf({QStringLiteral("導電率"),
             QString::fromStdString(formatFixed4(conductivity)),
             {},
             {},
             {}}),
      rowOf({QStringLiteral("抵抗値"), values[3], values[5], values[4], ohms}),
      rowOf({QStringLiteral("導体部重量"), values[9], values[10], values[11], weight}),
      rowOf({QStringLiteral("絶縁部重量"), values[7], {}, {}, weight}),
      rowOf({QStringLiteral("合計重量"), values[13], values[14], values[15], weight}),
  };
}

double wireSheetBlock(Page& page, double x, double y, double width,
                      const QuotationContent& content) {
  y = heading(page, x, y, width, QStringLiteral("線材データ"));
  if (content.wireSheet.empty()) {
    page.line(QRectF(x, y, width, kRowHeight),
              QStringLiteral("素線径(d)が正しくないため作れません"), page.font(kSmallPoints),
              Qt::AlignLeft, kNoteInk);
    return y + kRowHeight;
  }
  if (const auto rows = wireRows(content.wireSheet)) {
    const QFont small = page.font(kSmallPoints);
    const double noteHeight = page.lineHeight(small);
    page.line(QRectF(x - kCellPadding, y - 0.6, width + kCellPadding, noteHeight),
              QStringLiteral("1 km 当たり（最小・最大は導体径の公差 ±0.02 mm）"), small,
              Qt::AlignLeft, kNoteInk);
    const double item = 18.5, unit = 11.5, value = (width - item - unit) / 3;
    // One size for the whole table, the largest at which its widest value
    // fits: a thin wire has resistances of many digits.
    double widest = 0;
    for (const Row& row : *rows)
      for (std::size_t c = 1; c <= 3; ++c)
        widest = std::max(widest, page.widthOf(page.font(kTextPoints), row[c].text));
    const double points =
        std::clamp(kTextPoints * (value - 2 * kCellPadding) / std::max(widest, 1.0),
                   kSmallestPoints, kTextPoints);
    return table(page, x, y + noteHeight,
                 {{item, Qt::AlignLeft},
                  {value, Qt::AlignRight},
                  {value, Qt::AlignRight},
                  {value, Qt::AlignRight},
                  {unit, Qt::AlignLeft}},
                 *rows, points);
  }
  // Lines of another shape are printed as they are, aligned with spaces.
  QFont font = page.monospaceFont(kSmallPoints);
  double widest = 0;
  for (const std::string& line : content.wireSheet)
    widest = std::max(widest, page.widthOf(font, printed(line)));
  const double room = width - 2 * kCellPadding - 1;
  if (widest > room) font.setPointSizeF(font.pointSizeF() * room / widest);
  const double lineHeight = std::max(2.6, font.pointSizeF() * 25.4 / 72 * 1.3);
  const double height = content.wireSheet.size() * lineHeight + 2;
  page.rect(QRectF(x, y, width, height), kGrid, 0.2);
  double top = y + 1;
  for (const std::string& line : content.wireSheet) {
    page.line(QRectF(x, top, width, lineHeight), printed(line), font, Qt::AlignLeft);
    top += lineHeight;
  }
  return y + height;
}

// From `top` down, the inputs and the results on the left; the drawing, the
// wire data and what the result columns mean on the right, where there is
// room. Gives the y below them.
double body(Page& page, double top, const QuotationContent& content, const Plan& plan) {
  const double inputsEnd = inputsBlock(page, kMargin, top, kLeftWidth, plan);
  double leftEnd = resultsBlock(page, kMargin, inputsEnd + kBlockGap, kLeftWidth, content, plan);
  if (plan.requirement == Plan::Place::Left)
    leftEnd = requirementBlock(page, kMargin, leftEnd + kBlockGap, kLeftWidth, content);
  const double drawingEnd = drawingBlock(page, kRightX, top, kRightWidth, content);
  const double wireEnd =
      wireSheetBlock(page, kRightX, drawingEnd + kBlockGap, kRightWidth, content);
  double rightEnd = columnNote(page, kRightX, wireEnd + 3, kRightWidth, content);
  if (plan.requirement == Plan::Place::Right)
    rightEnd = requirementBlock(page, kRightX, rightEnd + kBlockGap, kRightWidth, content);
  return std::max(leftEnd, rightEnd);
}

// The rows of a table with a mark on every value too long for its cell;
// the whole of such a value continues on a later page under the item's name.
std::vector<Row> markedRows(const Page& page, const std::vector<job::TableRow>& rows,
                            const std::vector<Column>& columns, const QString& what,
                            std::vector<Continuation>& continuations) {
  const job::TableRow& h = job::outputHeading();
  std::vector<Row> out;
  const bool twoValues = columns.size() == 4;
  out.push_back(twoValues ? rowOf({printed(h.item), printed(h.aligned), printed(h.predicted),
                                   printed(h.unit)})
                          : rowOf({printed(h.item), QStringLiteral("入力値"), printed(h.unit)}));
  const QFont font = page.font(kTextPoints);
  for (const job::TableRow& r : rows) {
    Row row;
    row.push_back({printed(r.item), {}});
    const std::pair<const std::string*, QString> values[] = {{&r.aligned, printed(h.aligned)},
                                                             {&r.predicted, printed(h.predicted)}};
    for (int v = 0; v < (twoValues ? 2 : 1); ++v) {
      Cell cell{printed(*values[v].first), {}};
      if (!page.fitsShrunk(columns[1 + v].width, cell.text, font)) {
        cell.mark = QStringLiteral("※%1").arg(continuations.size() + 1);
        QString title = cell.mark + QLatin1Char(' ') + what + QStringLiteral("「") +
                        printed(r.item) + QStringLiteral("」");
        if (twoValues) title += QStringLiteral("（") + values[v].second + QStringLiteral("）");
        continuations.push_back({title + QStringLiteral("の全文"), cell.text});
      }
      row.push_back(cell);
    }
    row.push_back({printed(r.unit), {}});
    out.push_back(row);
  }
  return out;
}

// A field on the first page: as many lines as it has up to `most`; a longer
// one shows `most` - 1 of them and the mark of its continuation.
FieldPlan planField(const Page& page, const QString& name, const QString& text, const QFont& font,
                    double width, int most, std::vector<Continuation>& continuations) {
  FieldPlan field;
  field.name = name;
  const std::vector<TextLine> lines = page.wrap(text, font, width - 2 * kCellPadding);
  const std::size_t shown =
      lines.size() <= std::size_t(most) ? lines.size() : std::size_t(std::max(1, most - 1));
  for (std::size_t i = 0; i < shown; ++i) field.lines << textOf(text, lines[i]);
  if (shown < lines.size()) {
    field.continuation = continuations.size();
    continuations.push_back({name + QStringLiteral("（続き）"), text.mid(lines[shown].start)});
  }
  return field;
}

// The pages after the first: each continued text under its heading, line
// by line, a heading never alone at the foot of a page.
void layOutLaterPages(const Page& page, Plan& plan) {
  const QFont text = page.font(kTextPoints);
  const double lineHeight = page.lineHeight(text);
  const double top = kMargin + 16, width = kPageWidth - 2 * kMargin;
  double y = kContentBottom;  // a page is started before the first heading
  for (Continuation& c : plan.continuations) {
    if (y + kHeadingHeight + lineHeight > kContentBottom) {
      plan.laterPages.emplace_back();
      y = top;
    } else {
      y += 2;
    }
    c.page = plan.firstPage - 1 + plan.pageCount();
    plan.laterPages.back().push_back({y, c.title, true});
    y += kHeadingHeight;
    for (const TextLine& line : page.wrap(c.text, text, width - 2 * kCellPadding)) {
      if (y + lineHeight > kContentBottom) {
        plan.laterPages.emplace_back();
        y = top;
      }
      plan.laterPages.back().push_back({y, textOf(c.text, line), false});
      y += lineHeight;
    }
  }
}

// `firstPage`: the number of the section's first page in the whole sheet.
Plan planSheet(QPainter& painter, const QuotationContent& content, int firstPage) {
  Page page(painter, Page::Measure);
  Plan plan;
  plan.firstPage = firstPage;
  std::vector<Continuation> fieldTexts, cellTexts;

  const auto& f = content.fields;
  const QFont value = page.font(kFieldPoints);
  // 品番 under 顧客名, as wide; 見積番号 and 担当者 take less room than names.
  const double width = kPageWidth - 2 * kMargin, names = 84, number = 50;
  const std::vector<std::vector<std::tuple<QString, QString, double>>> rows = {
      {{QStringLiteral("顧客名"), printed(f.customer), names},
       {QStringLiteral("見積番号"), printed(f.quotationNumber), number},
       {QStringLiteral("担当者"), printed(f.personInCharge), width - names - number}},
      {{QStringLiteral("品番"), printed(content.item.partNumber), names},
       {QStringLiteral("品名"), printed(content.item.name), width - names}},
  };
  for (const auto& row : rows) {
    plan.fields.emplace_back();
    for (const auto& [name, text, fieldWidth] : row) {
      plan.fields.back().push_back(planField(page, name, text, value, fieldWidth - kFieldLabelWidth,
                                             kMostFieldLines, fieldTexts));
      plan.fields.back().back().width = fieldWidth;
    }
  }

  plan.inputRows = markedRows(page, content.table.inputs, inputColumns(kLeftWidth),
                              QStringLiteral("入力"), cellTexts);
  plan.resultRows = markedRows(page, content.table.results, resultColumns(kLeftWidth),
                               QStringLiteral("計算結果"), cellTexts);

  const double memoTop = fieldsBlock(page, plan) - kFieldHeight;  // the memo still empty
  const QFont memoFont = page.font(kTextPoints);
  // The requirements go where the first page has room for them beside
  // two lines of the memo.
  if (!content.requirements.empty()) {
    const double leastMemo = std::max(kFieldHeight, 2 * page.lineHeight(memoFont) + 1.2);
    plan.requirement = Plan::Place::OwnPage;
    for (const Plan::Place place : {Plan::Place::Left, Plan::Place::Right}) {
      Plan trial = plan;
      trial.requirement = place;
      if (memoTop + leastMemo + kBlockGap + body(page, 0, content, trial) <= kContentBottom) {
        plan.requirement = place;
        break;
      }
    }
  }
  // The memo takes the room the first page has left, up to its most lines.
  const double bodyHeight = body(page, 0, content, plan);
  const double room = kContentBottom - bodyHeight - kBlockGap - memoTop - 1.2;
  const int memoLines =
      std::clamp(int(std::floor(room / page.lineHeight(memoFont))), 2, kMostMemoLines);
  plan.memo = planField(page, QStringLiteral("メモ"), printed(f.memo), memoFont,
                        kPageWidth - 2 * kMargin - kFieldLabelWidth, memoLines, fieldTexts);

  plan.continuations = std::move(fieldTexts);
  plan.continuations.insert(plan.continuations.end(), cellTexts.begin(), cellTexts.end());
  plan.stackPage = content.stack.has_value();
  plan.costPage = content.cost.has_value();
  layOutLaterPages(page, plan);
  return plan;
}

void paintFirstPage(Page& page, const QuotationContent& content, const Plan& plan) {
  titleLine(page, content, QStringLiteral("見積計算書"));
  // Which winding of the item the page shows, beside the title.
  if (!content.winding.isEmpty())
    page.line(QRectF(kMargin + 40, kMargin + 2.5, 62, 8), content.winding, page.font(12, true),
              Qt::AlignLeft);
  if (!content.resultsCurrent) outOfDateMark(page, QRectF(64, kMargin + 2, 84, 7));
  body(page, fieldsBlock(page, plan) + kBlockGap, content, plan);
}

void paintRequirementPage(Page& page, const QuotationContent& content) {
  titleLine(page, content, QStringLiteral("見積計算書（仕様）"));
  // Which item they are of, for a job of several.
  const QString names =
      printed(content.item.partNumber) + QStringLiteral("　") + printed(content.item.name);
  page.line(QRectF(kMargin - kCellPadding, kMargin + 15, kPageWidth - 2 * kMargin, 6),
            names.trimmed(), page.font(kFieldPoints), Qt::AlignLeft);
  requirementBlock(page, kMargin, kMargin + 23, kPageWidth - 2 * kMargin, content);
}

// The windings of the item, one over the other, and the finished coil.
void paintStackPage(Page& page, const QuotationContent& content) {
  titleLine(page, content, QStringLiteral("見積計算書（巻線構成）"));
  const job::StackTable& stack = *content.stack;
  const double width = kPageWidth - 2 * kMargin;
  double y = heading(page, kMargin, kMargin + 16, width, QStringLiteral("巻線（内側から順に）"));
  std::vector<Row> rows;
  rows.push_back(rowOf([&] {
    QStringList cells;
    for (const std::string& h : stack.heading) cells << printed(h);
    return cells;
  }()));
  for (const std::vector<std::string>& winding : stack.windings) {
    QStringList cells;
    for (const std::string& cell : winding) cells << printed(cell);
    rows.push_back(rowOf(cells));
  }
  // The winding's name and its material take what the figures leave.
  const auto columnCount = stack.heading.size();
  std::vector<Column> columns(columnCount, Column{19, Qt::AlignRight});
  const double names = (width - 19 * double(columnCount - 2)) / 2;
  columns[0] = Column{names, Qt::AlignLeft};
  columns[1] = Column{names, Qt::AlignLeft};
  y = table(page, kMargin, y, columns, rows);
  page.line(QRectF(kMargin - kCellPadding, y + 0.4, width, 5),
            QStringLiteral("次の巻線は、下の巻線の整列部巻高とクロス部巻高の大きい方（予測）と"
                           "層間絶縁の外側に巻きます。"),
            page.font(kSmallPoints), Qt::AlignLeft);
  y += 6 + kBlockGap;
  const std::vector<Column> sizes = {
      {50, Qt::AlignLeft}, {width - 50 - 15, Qt::AlignLeft}, {15, Qt::AlignLeft}};
  const auto rowsOf = [](const std::vector<job::TableRow>& lines) {
    std::vector<Row> out = {
        rowOf({QStringLiteral("項目"), QStringLiteral("寸法・値"), QStringLiteral("単位")})};
    for (const job::TableRow& row : lines)
      out.push_back(rowOf({printed(row.item), printed(row.aligned), printed(row.unit)}));
    return out;
  };
  y = heading(page, kMargin, y, width,
              QStringLiteral("内側寸法（巻線1は巻枠、その上は下の巻線と層間絶縁の外側）"));
  y = table(page, kMargin, y, sizes, rowsOf(stack.formers)) + kBlockGap;
  y = heading(page, kMargin, y, width, QStringLiteral("仕上がりコイル"));
  table(page, kMargin, y, sizes, rowsOf(stack.totals));
}

void paintCostPage(Page& page, const QuotationContent& content) {
  titleLine(page, content, QStringLiteral("見積計算書（原価）"));
  costBreakdown(page, kMargin + 16, *content.cost);
}

void paintLaterPage(Page& page, const QuotationContent& content,
                    const std::vector<FlowLine>& lines) {
  titleLine(page, content, QStringLiteral("見積計算書（続き）"));
  const double width = kPageWidth - 2 * kMargin;
  const QFont text = page.font(kTextPoints);
  for (const FlowLine& line : lines) {
    if (line.heading) {
      heading(page, kMargin, line.y, width, line.text);
    } else {
      page.line(QRectF(kMargin, line.y, width, page.lineHeight(text)), line.text, text,
                Qt::AlignLeft);
    }
  }
}

}  // namespace

QString verdictText(job::RequirementCheck check) {
  switch (check) {
    case job::RequirementCheck::Met:
      return QStringLiteral("適合");
    case job::RequirementCheck::Missed:
      return QStringLiteral("不適合");
    case job::RequirementCheck::NotKnown:
      break;
  }
  return QStringLiteral("—");
}

QuotationContent quotationOf(const form::Form1& form, const job::JobFields& fields,
                             const job::Item& item) {
  QuotationContent c;
  c.fields = fields;
  c.item = item;
  const job::ShownCoil coil = form::shownCoil(form);
  c.table = job::resultsTable(coil, fields.workingCelsius);
  for (const job::Requirement& requirement : item.requirements) {
    // The text names the result first, then the value and its tolerance.
    const QString text = printed(job::requirementText(requirement));
    const qsizetype space = text.indexOf(QLatin1Char(' '));
    const QString result = printed(job::requiredResultText(requirement, coil));
    c.requirements.push_back({text.left(space), space < 0 ? QString() : text.mid(space + 1),
                              result.isEmpty() ? QStringLiteral("—") : result,
                              job::checkRequirement(requirement, coil)});
  }
  c.drawing = form.state().drawing;
  c.turnsShown = form.isVisible({"Shape1", 0});
  c.linesShown = {form.isVisible({"Line1", -1}), form.isVisible({"Line2", -1}),
                  form.isVisible({"Line3", -1})};
  if (form.isVisible({"Label2", -1}))
    c.drawingNote = QString::fromUtf8(form::findControl({"Label2", -1})->text);
  for (const auto& [box, label] :
       {std::pair{form::box::OuterA, form::label1(16)},
        std::pair{form::box::OuterB, form::label1(15)},
        std::pair{form::box::OuterRorD, form::idOf(form::Caption::OuterRorD)}}) {
    const std::string& text = form.state().text(box);
    if (!form.isVisible(form::idOf(box)) || text.empty()) continue;
    const auto changing = form::captionOf(label);
    c.outerDimensions.emplace_back(
        changing ? form.state().caption(*changing) : form::findControl(label)->text, text);
  }
  // The data sheet exactly as 計算書 prints it for these boxes, pressed on a
  // copy so that the window's own sheet and messages stay as they are.
  form::Form1 scratch = form;
  scratch.closeSheet();
  scratch.showDataSheet();
  c.wireSheet = scratch.state().sheetLines;
  if (const auto conductor = job::workingResistanceConductor(coil, fields.workingCelsius)) {
    c.temperatureNote = QStringLiteral(
                            "DCR (%1 °C)：20 °C の値から R_T = R_20 × (1 + α (T − 20))、α = %2 "
                            "/K（%3）で換算した値です。")
                            .arg(QString::fromStdString(plainDecimal(fields.workingCelsius)),
                                 QString::number(TemperatureCoefficient(*conductor), 'g', 5),
                                 materialText(*conductor));
  }
  if (const form::FormState& s = form.state(); s.resistance && s.pressed)
    c.resistanceNote = printed(job::resistanceNote(*s.resistance, *s.pressed));
  c.resultsCurrent = form.state().resultsCurrent;
  c.printedAt = QDateTime::currentDateTime();
  const std::string_view version = job::programVersion();
  c.programVersion = QString::fromUtf8(version.data(), qsizetype(version.size()));
  return c;
}

std::vector<QuotationContent> quotationOfStack(std::span<const form::Form1> forms,
                                               const job::JobFields& fields, const job::Item& item,
                                               const std::optional<StackResult>& result) {
  std::vector<QuotationContent> sections;
  for (std::size_t k = 0; k < forms.size(); ++k) {
    job::Item shown = item;
    // What the customer asked is kept for the item's own coil, the first.
    if (k > 0) shown.requirements.clear();
    QuotationContent c = quotationOf(forms[k], fields, shown);
    const std::string& name =
        k == 0 ? item.windingName
               : (k <= item.upperWindings.size() ? item.upperWindings[k - 1].name : std::string());
    c.winding = printed(windingLabel(k, name));
    if (result) {
      c.stackDrawing = form::stackSection(form::diagramGeometry(), *result);
      if (const Expected<WindingStack> stack = job::stackOf(item); k == 0 && stack)
        c.stack = job::stackTable(*stack, *result, fields.workingCelsius);
    }
    sections.push_back(std::move(c));
  }
  return sections;
}

bool paintQuotation(QPainter& painter, QPagedPaintDevice& pages,
                    std::span<const QuotationContent> sections) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  std::vector<Plan> plans;
  plans.reserve(sections.size());
  int count = 0;
  for (const QuotationContent& section : sections) {
    plans.push_back(planSheet(painter, section, count + 1));
    count += plans.back().pageCount();
  }
  // The pages are numbered through the whole sheet; each item's section
  // starts on a page of its own.
  const bool painted = paintNumberedPages(painter, pages, count, [&](Page& page, int number) {
    std::size_t section = 0;
    while (number > plans[section].pageCount()) number -= plans[section++].pageCount();
    const QuotationContent& content = sections[section];
    const Plan& plan = plans[section];
    const int requirementPage = plan.requirement == Plan::Place::OwnPage ? 2 : 0;
    const int stackPage = plan.stackPage ? 2 + (requirementPage > 0) : 0;
    const int costPage = plan.costPage ? 2 + (requirementPage > 0) + (stackPage > 0) : 0;
    const int laterFrom = 2 + (requirementPage > 0) + (stackPage > 0) + (costPage > 0);
    if (number == 1) {
      paintFirstPage(page, content, plan);
    } else if (number == requirementPage) {
      paintRequirementPage(page, content);
    } else if (number == stackPage) {
      paintStackPage(page, content);
    } else if (number == costPage) {
      paintCostPage(page, content);
    } else {
      paintLaterPage(page, content, plan.laterPages[std::size_t(number - laterFrom)]);
    }
  });
  painter.restore();
  return painted;
}

std::optional<QByteArray> quotationPdf(std::span<const QuotationContent> sections) {
  if (sections.empty()) return std::nullopt;
  return pdfOf(QStringLiteral("見積計算書 ") + printed(sections.front().fields.quotationNumber),
               sections.front().programVersion, [&](QPainter& painter, QPagedPaintDevice& pages) {
                 return paintQuotation(painter, pages, sections);
               });
}

Expected<void> writeQuotationPdf(const QString& path, std::span<const QuotationContent> sections) {
  return savePdf(path, quotationPdf(sections));
}

}  // namespace kelvane::ui
