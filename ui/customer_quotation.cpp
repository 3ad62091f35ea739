#include "ui/customer_quotation.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <tuple>

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

QString numberWithRevision(const job::JobFields& fields) {
  const QString revision = QStringLiteral("第%1版").arg(std::max(1, fields.revision));
  return fields.quotationNumber.empty()
             ? revision
             : qt(fields.quotationNumber) + QStringLiteral("（") + revision + QStringLiteral("）");
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
       {std::pair{QStringLiteral("見積番号"), numberWithRevision(q.fields)},
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

// A row a lot size: what is quoted, the quantity, 単価 and 金額; below it
// 小計, 消費税 and 合計 of the first lot. Gives the y below them.
double prices(Page& page, const CustomerQuotation& q, double top) {
  double y = heading(page, kMargin, top, kContentWidth, QStringLiteral("明細"));
  const std::vector<Column> columns = {
      {72, Qt::AlignLeft}, {30, Qt::AlignRight}, {39, Qt::AlignRight}, {39, Qt::AlignRight}};
  // 単価, 金額 and 小計 are before tax; 消費税 and 合計 say what they are.
  std::vector<Row> rows = {rowOf({QStringLiteral("品番・品名"), QStringLiteral("数量"),
                                  QStringLiteral("単価（税抜）"), QStringLiteral("金額（税抜）")})};
  for (const job::QuotedItem& item : q.request.items) {
    const QString names = qt(item.partNumber) +
                          (item.partNumber.empty() || item.name.empty() ? "" : " ") + qt(item.name);
    const job::LotPrice& lot = item.basis();
    rows.push_back(
        rowOf({names.isEmpty() ? QStringLiteral("巻線コイル") : names,
               qt(job::quantityText(lot.quantity)) + QStringLiteral(" 個"),
               qt(job::unitPriceText(lot.unitPriceSen)), qt(job::yenText(lot.amountYen))}));
  }
  y = table(page, kMargin, y, columns, rows, 10);

  // The totals stand under 単価 and 金額.
  const double labelX = kMargin + 72 + 30, labelWidth = 39, valueWidth = 39;
  for (const auto& [label, amount, bold] :
       {std::tuple{QStringLiteral("小計（税抜）"), q.request.subtotalYen, false},
        std::tuple{qt(job::kTaxCaption), q.request.taxYen, false},
        std::tuple{QStringLiteral("合計"), q.request.totalYen, true}}) {
    page.rect(QRectF(labelX, y, labelWidth, kRowHeight + 0.5), kGrid, 0.2, kLabelFill);
    page.line(QRectF(labelX, y, labelWidth, kRowHeight + 0.5), label, page.font(kTextPoints, bold),
              Qt::AlignHCenter);
    page.rect(QRectF(labelX + labelWidth, y, valueWidth, kRowHeight + 0.5), kGrid, 0.2);
    page.line(QRectF(labelX + labelWidth, y, valueWidth, kRowHeight + 0.5),
              qt(job::yenText(amount)), page.font(10, bold), Qt::AlignRight);
    y += kRowHeight + 0.5;
  }
  return y;
}

// The first page's fields below the prices, and where the remarks go on.
struct Plan {
  std::vector<QString> remarksHere;              // the remarks' lines on the first page
  std::vector<std::vector<QString>> laterPages;  // the lines that go on after it
  int pageCount() const { return 1 + int(laterPages.size()); }
};

// Everything of the first page above the remarks' lines: the header, the
// addressee and the issuer side by side, the prices, 納期, 支払条件, 有効期限
// and the remarks' heading. Gives the y the remarks start at.
double firstPageAboveRemarks(Page& page, const CustomerQuotation& q) {
  const double headerEnd = header(page, q);
  const double left = addressee(page, q, headerEnd + 4);
  const double right = issuer(page, q, headerEnd + 4);
  double y = prices(page, q, std::max(left, right) + kBlockGap) + kBlockGap;
  field(page, kMargin, y, kContentWidth, QStringLiteral("納期"), qt(q.fields.deliveryTerms));
  y += kFieldHeight;
  field(page, kMargin, y, kContentWidth, QStringLiteral("支払条件"), qt(q.fields.paymentTerms));
  y += kFieldHeight;
  field(page, kMargin, y, kContentWidth, QStringLiteral("有効期限"),
        QStringLiteral("発行日より%1日間（%2まで）")
            .arg(q.fields.validDays)
            .arg(dateText(validUntil(q.issuedOn, q.fields.validDays))));
  y += kFieldHeight + 2;
  return heading(page, kMargin, y, kContentWidth, QStringLiteral("備考"));
}

// The remarks take what room the first page has left; the rest goes on.
Plan plan(QPainter& painter, const CustomerQuotation& q) {
  Page page(painter, Page::Measure);
  Plan plan;
  const QString remarks = qt(q.fields.remarks);
  const QFont font = page.font(kTextPoints);
  const double lineHeight = page.lineHeight(font);
  const double top = firstPageAboveRemarks(page, q);
  const double width = kContentWidth - 2 * kCellPadding;
  const std::vector<TextLine> lines = page.wrap(remarks, font, width);
  // Remarks that go on leave the first page's last line to say so.
  const int room = std::max(1, int((kContentBottom - top - 1) / lineHeight));
  const int firstLines = int(lines.size()) <= room ? room : std::max(1, room - 1);
  const int laterLines = int((kContentBottom - (kMargin + 16) - kHeadingHeight) / lineHeight);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const QString text = textOf(remarks, lines[i]);
    if (int(i) < firstLines) {
      plan.remarksHere.push_back(text);
      continue;
    }
    if ((int(i) - firstLines) % laterLines == 0) plan.laterPages.emplace_back();
    plan.laterPages.back().push_back(text);
  }
  return plan;
}

void paintFirstPage(Page& page, const CustomerQuotation& q, const Plan& plan) {
  double y = firstPageAboveRemarks(page, q);
  const QFont font = page.font(kTextPoints);
  const double lineHeight = page.lineHeight(font);
  for (const QString& line : plan.remarksHere) {
    page.line(QRectF(kMargin, y, kContentWidth, lineHeight), line, font, Qt::AlignLeft);
    y += lineHeight;
  }
  if (!plan.laterPages.empty()) {
    page.line(QRectF(kMargin, y, kContentWidth, lineHeight), QStringLiteral("（次ページに続く）"),
              page.font(kSmallPoints), Qt::AlignLeft, kNoteInk);
  }
}

void paintLaterPage(Page& page, const CustomerQuotation& q, const std::vector<QString>& lines) {
  page.line(QRectF(kMargin - kCellPadding, kMargin, 100, 11), QStringLiteral("見積書（続き）"),
            page.font(16, true), Qt::AlignLeft);
  page.line(QRectF(kRight - 80, kMargin, 80 + kCellPadding, 11), numberWithRevision(q.fields),
            page.font(kSmallPoints), Qt::AlignRight);
  page.rule(kMargin, kMargin + 12.5, kRight, 0.5);
  double y = heading(page, kMargin, kMargin + 16, kContentWidth, QStringLiteral("備考（続き）"));
  const QFont font = page.font(kTextPoints);
  const double lineHeight = page.lineHeight(font);
  for (const QString& line : lines) {
    page.line(QRectF(kMargin, y, kContentWidth, lineHeight), line, font, Qt::AlignLeft);
    y += lineHeight;
  }
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
          paintFirstPage(page, quotation, laidOut);
        } else {
          paintLaterPage(page, quotation, laidOut.laterPages[std::size_t(number - 2)]);
        }
      });
  painter.restore();
  return painted;
}

std::optional<QByteArray> customerQuotationPdf(const CustomerQuotation& quotation) {
  return pdfOf(QStringLiteral("見積書 ") + numberWithRevision(quotation.fields),
               quotation.programVersion, [&](QPainter& painter, QPagedPaintDevice& pages) {
                 return paintCustomerQuotation(painter, pages, quotation);
               });
}

Expected<void> writeCustomerQuotationPdf(const QString& path, const CustomerQuotation& quotation) {
  return savePdf(path, customerQuotationPdf(quotation));
}

}  // namespace kelvane::ui
