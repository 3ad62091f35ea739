#include "ui/customer_quotation.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <functional>
#include <tuple>
#include <vector>

#include "job/addressee.h"
#include "job/money_text.h"
#include "job/quotation_text.h"
#include "ui/paper_page.h"

namespace kelvane::ui {
namespace {

using namespace paper;

constexpr double kContentWidth = kPageWidth - 2 * kMargin;
constexpr double kRight = kPageWidth - kMargin;
// The customer, the subject and the amount on the left; the quotation's
// number and dates, the company and the stamps on the right.
constexpr double kLeftWidth = 108;
constexpr double kRightX = kMargin + 118;
constexpr double kRightWidth = kRight - kRightX;
constexpr double kLabelWidth = 22;    // the grey label of a field
constexpr double kFieldHeight = 6.5;  // a field's row
constexpr double kStampSize = 20;     // a stamp's square, below its caption

QString qt(const std::string& text) { return printed(text); }
QString qt(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QString dateText(const QDate& date) {
  return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day());
}

// A grey label and its value in one ruled row.
void field(Page& page, double x, double y, double width, const QString& label, const QString& value,
           double points = kTextPoints) {
  page.rect(QRectF(x, y, kLabelWidth, kFieldHeight), kGrid, 0.2, kLabelFill);
  page.line(QRectF(x, y, kLabelWidth, kFieldHeight), label, page.font(kTextPoints),
            Qt::AlignHCenter);
  page.rect(QRectF(x + kLabelWidth, y, width - kLabelWidth, kFieldHeight), kGrid, 0.2);
  page.line(QRectF(x + kLabelWidth, y, width - kLabelWidth, kFieldHeight), value, page.font(points),
            Qt::AlignLeft);
}

// 「Q2026-0012（第2版）」; a copy printed again says so, and a sample has
// no 版 of its own.
QString numberWithRevision(const CustomerQuotation& q) {
  QString revision = QStringLiteral("第%1版").arg(std::max(1, q.fields.revision));
  if (q.copy == CustomerQuotation::Copy::Reissue) revision += QStringLiteral("・再発行");
  if (q.copy == CustomerQuotation::Copy::Draft) revision = QStringLiteral("見本");
  return q.fields.quotationNumber.empty() ? revision
                                          : qt(q.fields.quotationNumber) + QStringLiteral("（") +
                                                revision + QStringLiteral("）");
}

// Across a sample's every page, over everything else: the outline of the
// word only, in grey, so that every figure under it still reads.
void sampleMark(Page& page) {
  QPainter& painter = page.painter();
  painter.save();
  painter.translate(page.toDevice(kPageWidth / 2), page.toDevice(kPageHeight / 2));
  painter.rotate(-30);
  QFont font = page.font(kTextPoints, true);
  font.setPixelSize(int(page.toDevice(45)));  // a glyph 45 mm high
  const QString word = QStringLiteral("見本");
  const QFontMetricsF metrics(font);
  QPainterPath outline;
  outline.addText(-metrics.horizontalAdvance(word) / 2,
                  metrics.ascent() / 2 - metrics.descent() / 2, font, word);
  painter.setPen(QPen(QColor(150, 150, 150), page.toDevice(0.5)));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(outline);
  painter.restore();
}

// The quantity the totals are of, said once for the customer: a single
// item's quantity, or the lines of several.
QString basisNote(const CustomerQuotation& q, const QString& oneItem, const QString& items) {
  if (q.request.items.size() == 1)
    return oneItem.arg(qt(job::quantityText(q.request.items.front().basis().quantity)));
  return items;
}

// The title across the top, and on the right the quotation's number and
// dates. Gives the y below them.
double header(Page& page, const CustomerQuotation& q) {
  page.line(QRectF(kMargin, kMargin, kContentWidth, 12), QStringLiteral("見　積　書"),
            page.font(22, true), Qt::AlignHCenter);
  page.rule(kMargin + 60, kMargin + 12.5, kRight - 60, 0.4);
  page.rule(kMargin + 60, kMargin + 13.3, kRight - 60, 0.4);
  double y = kMargin + 18;
  const QDate until = validUntil(q.issuedOn, q.fields.validDays);
  for (const auto& [label, value] :
       {std::pair{QStringLiteral("見積番号"), numberWithRevision(q)},
        std::pair{QStringLiteral("発行日"), dateText(q.issuedOn)},
        std::pair{QStringLiteral("有効期限"),
                  dateText(until) + QStringLiteral("（%1日間）").arg(q.fields.validDays)}}) {
    field(page, kRightX, y, kRightWidth, label, value);
    y += kFieldHeight;
  }
  return y;
}

// 「customer 御中」 or 「customer person 様」 on its rule, the greeting, 件名
// and 品番, and the amount in a frame. Gives the y below them.
double addressee(Page& page, const CustomerQuotation& q, double top) {
  double y = top;
  const job::Addressee to = job::addresseeOf(q.fields.customer, q.fields.customerPerson);
  // An honorific typed with the name stays with it, the name's box then
  // taking the whole rule.
  const double honorificWidth = to.honorific.empty() ? 0 : 14;
  page.line(QRectF(kMargin, y, kLeftWidth - honorificWidth, 10), qt(to.name), page.font(14),
            Qt::AlignLeft);
  if (!to.honorific.empty())
    page.line(QRectF(kMargin + kLeftWidth - honorificWidth, y, honorificWidth, 10),
              qt(to.honorific), page.font(14), Qt::AlignRight);
  page.rule(kMargin, y + 10.5, kMargin + kLeftWidth, 0.4);
  y += 14;
  page.line(QRectF(kMargin - kCellPadding, y, kLeftWidth, 6),
            QStringLiteral("下記のとおりお見積り申し上げます。"), page.font(kTextPoints),
            Qt::AlignLeft);
  y += 8;
  field(page, kMargin, y, kLeftWidth, QStringLiteral("件名"), qt(q.fields.subject));
  y += kFieldHeight;
  // A quotation of one coil names it here as well, as it always has.
  if (q.request.items.size() == 1) {
    field(page, kMargin, y, kLeftWidth, QStringLiteral("品番"),
          qt(q.request.items.front().partNumber));
    y += kFieldHeight;
  }
  y += 4;

  // The amount the customer reads first: the total with tax of every item's
  // quoted lot.
  const double height = 12;
  page.rect(QRectF(kMargin, y, kLeftWidth, height), kInk, 0.5);
  page.rect(QRectF(kMargin, y, 38, height), kInk, 0.5, kLabelFill);
  page.line(QRectF(kMargin, y, 38, height), QStringLiteral("御見積金額（税込）"),
            page.font(10, true), Qt::AlignHCenter);
  page.line(QRectF(kMargin + 38, y, kLeftWidth - 38, height), qt(job::yenText(q.request.totalYen)),
            page.font(16, true), Qt::AlignRight);
  y += height + 1;
  if (!q.request.items.empty()) {
    page.line(QRectF(kMargin - kCellPadding, y, kLeftWidth, 4.5),
              basisNote(q, QStringLiteral("数量 %1 個の合計金額です。"),
                        QStringLiteral("明細 %1 品目の合計金額です。").arg(q.request.items.size())),
              page.font(kSmallPoints), Qt::AlignLeft, kNoteInk);
    y += 4.5;
  }
  return y;
}

// Who issues the quotation, and the boxes for the stamps of who made and
// who approved it. Gives the y below them.
double issuer(Page& page, const CustomerQuotation& q, double top) {
  double y = top;
  const CompanyInfo& c = q.company;
  page.line(QRectF(kRightX - kCellPadding, y, kRightWidth + kCellPadding, 6.5),
            printed(c.name.toStdString()), page.font(11, true), Qt::AlignLeft);
  y += 7;
  const QFont small = page.font(8.5);
  const double lineHeight = page.lineHeight(small);
  const QString person = !q.fields.personInCharge.empty() ? qt(q.fields.personInCharge)
                                                          : printed(c.person.toStdString());
  for (const QString& text :
       {printed(c.address.toStdString()),
        c.telephone.isEmpty() ? QString()
                              : QStringLiteral("TEL ") + printed(c.telephone.toStdString()),
        person.isEmpty() ? QString() : QStringLiteral("担当 ") + person}) {
    if (text.isEmpty()) continue;
    page.line(QRectF(kRightX - kCellPadding, y, kRightWidth + kCellPadding, lineHeight), text,
              small, Qt::AlignLeft);
    y += lineHeight;
  }
  y += 3;
  const double left = kRight - 2 * kStampSize;
  for (const auto& [i, caption] :
       {std::pair{0, QStringLiteral("作成")}, std::pair{1, QStringLiteral("承認")}}) {
    const double x = left + i * kStampSize;
    page.rect(QRectF(x, y, kStampSize, 5), kGrid, 0.2, kLabelFill);
    page.line(QRectF(x, y, kStampSize, 5), caption, page.font(kSmallPoints), Qt::AlignHCenter);
    page.rect(QRectF(x, y + 5, kStampSize, kStampSize), kGrid, 0.2);
  }
  return y + 5 + kStampSize;
}

// The items' names as their line gives them: 品番 and 品名, or what stands
// for a coil without either.
QString namesOf(const job::QuotedItem& item) {
  const QString names = qt(item.partNumber) +
                        (item.partNumber.empty() || item.name.empty() ? "" : " ") + qt(item.name);
  return names.isEmpty() ? QStringLiteral("巻線コイル") : names;
}

Row lotRow(const QString& names, const job::LotPrice& lot) {
  return rowOf({names, qt(job::quantityText(lot.quantity)) + QStringLiteral(" 個"),
                qt(job::unitPriceText(lot.unitPriceSen)), qt(job::yenText(lot.amountYen))});
}

// The items' table and the table of prices by quantity share their columns:
// what is quoted, the quantity, 単価 and 金額, all before tax.
const std::vector<Column> kPriceColumns = {
    {72, Qt::AlignLeft}, {30, Qt::AlignRight}, {39, Qt::AlignRight}, {39, Qt::AlignRight}};
const Row kPriceHeading = rowOf({QStringLiteral("品番・品名"), QStringLiteral("数量"),
                                 QStringLiteral("単価（税抜）"), QStringLiteral("金額（税抜）")});
constexpr double kTotalsRow = kRowHeight + 0.5;
constexpr double kNoteHeight = 4.5;  // a note's line below a table or a heading
// The gap that keeps the prices by quantity apart from the totals above them.
constexpr double kApart = 9;

// A piece of what goes below the first page's head, painted with its top at
// y. The rows of a table that does not fit go on on the next page, under the
// table's head again; a heading is never left alone at the foot of a page.
struct Block {
  double height = 0;
  // atTop: the first row of its table on a page it continues on.
  std::function<void(Page& page, double y, bool atTop)> paint;
  int table = -1;             // a row of this table (index into the heads)
  bool keepWithNext = false;  // on the same page as the block after it
  bool space = false;         // a gap, left out at the top of a page
};

// What a table that continues repeats at the top of the next page.
struct TableHead {
  double height = 0;
  std::function<void(Page& page, double y)> paint;
};

// A block, a repeated head or a note, where it stands on its page.
struct Laid {
  double y;
  std::function<void(Page& page, double y)> paint;
};

// Every page below its head: the first page's below the addressee and the
// issuer, the pages after it below 見積書（続き）.
struct Plan {
  std::vector<std::vector<Laid>> pages;
  int pageCount() const { return int(pages.size()); }
};

// 小計, 消費税 and 合計 under 単価 and 金額, and on their left what they are of.
void totals(Page& page, const CustomerQuotation& q, double y) {
  const double labelX = kMargin + 72 + 30, labelWidth = 39, valueWidth = 39;
  page.line(QRectF(kMargin - kCellPadding, y, labelX - kMargin - 2, kTotalsRow),
            basisNote(q, QStringLiteral("小計・消費税・合計は数量 %1 個の場合です。"),
                      QStringLiteral("小計・消費税・合計は各品目の上記数量での金額です。")),
            page.font(kSmallPoints), Qt::AlignLeft, kNoteInk);
  for (const auto& [label, amount, bold] :
       {std::tuple{QStringLiteral("小計（税抜）"), q.request.subtotalYen, false},
        std::tuple{qt(job::kTaxCaption), q.request.taxYen, false},
        std::tuple{QStringLiteral("合計"), q.request.totalYen, true}}) {
    page.rect(QRectF(labelX, y, labelWidth, kTotalsRow), kGrid, 0.2, kLabelFill);
    page.line(QRectF(labelX, y, labelWidth, kTotalsRow), label, page.font(kTextPoints, bold),
              Qt::AlignHCenter);
    page.rect(QRectF(labelX + labelWidth, y, valueWidth, kTotalsRow), kGrid, 0.2);
    page.line(QRectF(labelX + labelWidth, y, valueWidth, kTotalsRow), qt(job::yenText(amount)),
              page.font(10, bold), Qt::AlignRight);
    y += kTotalsRow;
  }
}

// A heading with the column headings of the prices under it.
TableHead priceHead(const QString& title) {
  return {kHeadingHeight + kRowHeight, [title](Page& page, double y) {
            y = heading(page, kMargin, y, kContentWidth, title);
            tableRow(page, kMargin, y, kPriceColumns, kPriceHeading, RowKind::Heading, 10);
          }};
}

Block headingBlock(const QString& title) {
  return {kHeadingHeight,
          [title](Page& page, double y, bool) { heading(page, kMargin, y, kContentWidth, title); },
          -1, true};
}

Block priceHeadingRow() {
  return {kRowHeight,
          [](Page& page, double y, bool) {
            tableRow(page, kMargin, y, kPriceColumns, kPriceHeading, RowKind::Heading, 10);
          },
          -1, true};
}

Block space(double height) { return {height, {}, -1, false, true}; }

Block noteBlock(const QString& note) {
  return {kNoteHeight + 1,
          [note](Page& page, double y, bool) {
            page.line(QRectF(kMargin - kCellPadding, y, kContentWidth + kCellPadding, kNoteHeight),
                      note, page.font(kSmallPoints), Qt::AlignLeft, kNoteInk);
          },
          -1, true};
}

enum Table { Items, ByQuantity, Remarks };

// Everything below the first page's head, in order: the items and their
// totals, the prices by quantity, the terms and the remarks.
std::vector<Block> blocksOf(const Page& measure, const CustomerQuotation& q) {
  std::vector<Block> blocks;
  blocks.push_back(headingBlock(QStringLiteral("明細")));
  blocks.push_back(priceHeadingRow());
  for (const job::QuotedItem& item : q.request.items) {
    const Row row = lotRow(namesOf(item), item.basis());
    blocks.push_back({kRowHeight,
                      [row](Page& page, double y, bool) {
                        tableRow(page, kMargin, y, kPriceColumns, row, RowKind::Body, 10);
                      },
                      Items});
  }
  // The totals never stand alone: the last line goes with them.
  if (q.request.items.size() > 0) blocks.back().keepWithNext = true;
  blocks.push_back({3 * kTotalsRow, [&q](Page& page, double y, bool) { totals(page, q, y); }});

  // The other lots of each item: what a larger or smaller order would cost
  // each, well apart from the total so that nobody adds them to it.
  const bool byQuantity =
      std::any_of(q.request.items.begin(), q.request.items.end(),
                  [](const job::QuotedItem& item) { return item.quote.lots.size() > 1; });
  if (byQuantity) {
    blocks.push_back(space(kApart));
    blocks.push_back(headingBlock(QStringLiteral("数量別単価（参考）")));
    blocks.push_back(
        noteBlock(QStringLiteral("ご注文数量による単価の目安です。上記の小計・"
                                 "消費税・合計および御見積金額には含まれません。")));
    blocks.push_back(priceHeadingRow());
    for (const job::QuotedItem& item : q.request.items) {
      if (item.quote.lots.size() < 2) continue;
      const QString names = namesOf(item);
      bool first = true;
      for (const job::LotPrice& lot : item.quote.lots) {
        // An item's names stand on its first lot, and again where its lots
        // go on on another page.
        const Row named = lotRow(names, lot);
        Row unnamed = named;
        unnamed[0].text.clear();
        blocks.push_back({kRowHeight,
                          [named, unnamed, first](Page& page, double y, bool atTop) {
                            tableRow(page, kMargin, y, kPriceColumns,
                                     first || atTop ? named : unnamed, RowKind::Body, 10);
                          },
                          ByQuantity});
        first = false;
      }
    }
  }

  blocks.push_back(space(kBlockGap));
  blocks.push_back({3 * kFieldHeight + 2, [&q](Page& page, double y, bool) {
                      field(page, kMargin, y, kContentWidth, QStringLiteral("納期"),
                            qt(q.fields.deliveryTerms));
                      y += kFieldHeight;
                      field(page, kMargin, y, kContentWidth, QStringLiteral("支払条件"),
                            qt(q.fields.paymentTerms));
                      y += kFieldHeight;
                      field(page, kMargin, y, kContentWidth, QStringLiteral("有効期限"),
                            QStringLiteral("発行日より%1日間（%2まで）")
                                .arg(q.fields.validDays)
                                .arg(dateText(validUntil(q.issuedOn, q.fields.validDays))));
                    }});
  blocks.push_back(headingBlock(QStringLiteral("備考")));
  const QString remarks = qt(q.fields.remarks);
  const QFont font = measure.font(kTextPoints);
  const double lineHeight = measure.lineHeight(font);
  for (const TextLine& line : measure.wrap(remarks, font, kContentWidth - 2 * kCellPadding)) {
    const QString text = textOf(remarks, line);
    blocks.push_back({lineHeight,
                      [text, lineHeight](Page& page, double y, bool) {
                        page.line(QRectF(kMargin, y, kContentWidth, lineHeight), text,
                                  page.font(kTextPoints), Qt::AlignLeft);
                      },
                      Remarks});
  }
  return blocks;
}

// The first page's head: the header, the addressee and the issuer side by
// side. Gives the y below them.
double firstPageHead(Page& page, const CustomerQuotation& q) {
  const double headerEnd = header(page, q);
  const double left = addressee(page, q, headerEnd + 4);
  const double right = issuer(page, q, headerEnd + 4);
  return std::max(left, right) + kBlockGap;
}

// The head of every page after the first: the title and the quotation's
// number with its 版. Gives the y below it.
double laterPageHead(Page& page, const CustomerQuotation& q) {
  page.line(QRectF(kMargin - kCellPadding, kMargin, 100, 11), QStringLiteral("見積書（続き）"),
            page.font(16, true), Qt::AlignLeft);
  page.line(QRectF(kRight - 80, kMargin, 80 + kCellPadding, 11), numberWithRevision(q),
            page.font(kSmallPoints), Qt::AlignRight);
  page.rule(kMargin, kMargin + 12.5, kRight, 0.5);
  return kMargin + 16;
}

// Lays the blocks out page after page.
Plan plan(QPainter& painter, const CustomerQuotation& q) {
  Page measure(painter, Page::Measure);
  const std::vector<Block> blocks = blocksOf(measure, q);
  const TableHead heads[] = {priceHead(QStringLiteral("明細（続き）")),
                             priceHead(QStringLiteral("数量別単価（参考・続き）")),
                             {kHeadingHeight, [](Page& page, double y) {
                                heading(page, kMargin, y, kContentWidth,
                                        QStringLiteral("備考（続き）"));
                              }}};
  const double laterTop = laterPageHead(measure, q);

  Plan plan;
  plan.pages.emplace_back();
  double y = firstPageHead(measure, q);
  int lastTable = -1;  // the table of the block laid last
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const Block& block = blocks[i];
    if (block.space) {
      if (!plan.pages.back().empty()) y += block.height;
      continue;
    }
    // The blocks that stay together from here, and below them the room for
    // the note that their table goes on.
    std::size_t last = i;
    double needed = block.height;
    while (blocks[last].keepWithNext && last + 1 < blocks.size()) needed += blocks[++last].height;
    const bool tableGoesOn = last + 1 < blocks.size() && blocks[last].table >= 0 &&
                             blocks[last + 1].table == blocks[last].table;
    const double bottom = kContentBottom - (tableGoesOn ? kNoteHeight : 0);
    bool atTop = false;
    if (y + needed > bottom && !plan.pages.back().empty()) {
      const bool continues = block.table >= 0 && block.table == lastTable;
      if (continues)
        plan.pages.back().push_back({y, [](Page& page, double at) {
                                       page.line(QRectF(kMargin, at, kContentWidth, kNoteHeight),
                                                 QStringLiteral("（次ページに続く）"),
                                                 page.font(kSmallPoints), Qt::AlignLeft, kNoteInk);
                                     }});
      plan.pages.emplace_back();
      y = laterTop;
      if (continues) {
        const TableHead& head = heads[block.table];
        plan.pages.back().push_back({y, head.paint});
        y += head.height;
        atTop = true;
      }
    }
    plan.pages.back().push_back(
        {y, [paint = block.paint, atTop](Page& page, double at) { paint(page, at, atTop); }});
    y += block.height;
    lastTable = block.table;
  }
  return plan;
}

}  // namespace

QDate validUntil(const QDate& issuedOn, int validDays) { return issuedOn.addDays(validDays); }

bool paintCustomerQuotation(QPainter& painter, QPagedPaintDevice& pages,
                            const CustomerQuotation& quotation) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  const Plan laidOut = plan(painter, quotation);
  const bool painted =
      paintNumberedPages(painter, pages, laidOut.pageCount(), [&](Page& page, int number) {
        if (number == 1) {
          firstPageHead(page, quotation);
        } else {
          laterPageHead(page, quotation);
        }
        for (const Laid& laid : laidOut.pages[std::size_t(number - 1)]) laid.paint(page, laid.y);
        if (quotation.copy == CustomerQuotation::Copy::Draft) sampleMark(page);
      });
  painter.restore();
  return painted;
}

std::optional<QByteArray> customerQuotationPdf(const CustomerQuotation& quotation) {
  return pdfOf(QStringLiteral("見積書 ") + numberWithRevision(quotation), quotation.programVersion,
               [&](QPainter& painter, QPagedPaintDevice& pages) {
                 return paintCustomerQuotation(painter, pages, quotation);
               });
}

Expected<void> writeCustomerQuotationPdf(const QString& path, const CustomerQuotation& quotation) {
  return savePdf(path, customerQuotationPdf(quotation));
}

}  // namespace kelvane::ui
