#include "ui/cost_breakdown.h"

#include <algorithm>

#include "core/number_text.h"
#include "core/winding_stack.h"
#include "job/money_text.h"
#include "job/quotation_text.h"

namespace kelvane::ui {
namespace {

using namespace paper;

constexpr double kContentWidth = kPageWidth - 2 * kMargin;
constexpr double kHalf = (kContentWidth - 6) / 2;

QString qt(const std::string& text) { return printed(text); }
QString qt(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

// The figures of the terms with their letters, as the formulas name them.
double termsBlock(Page& page, double x, double y, const SheetCost& cost) {
  y = heading(page, x, y, kHalf, QStringLiteral("見積条件"));
  const char* letters[] = {"P", "L", "S", "h", "s", "r", "o", "m"};
  std::vector<Row> rows = {
      rowOf({QStringLiteral("項目"), QStringLiteral("値"), QStringLiteral("単位")})};
  for (const job::TermFigure figure : job::kTermFigures) {
    QString name = qt(job::termName(figure)) + QLatin1Char(' ') +
                   QLatin1String(letters[static_cast<int>(figure)]);
    if (figure == job::TermFigure::WirePrice)
      name += QStringLiteral("（%1）").arg(cost.materialName);
    rows.push_back(rowOf(
        {name, qt(job::termText(job::termValue(cost.terms, figure))), qt(job::termUnit(figure))}));
  }
  QStringList lots;
  for (const std::int64_t q : cost.terms.quantities) lots << qt(job::quantityText(q));
  rows.push_back(
      rowOf({QStringLiteral("数量 Q"), lots.join(QStringLiteral(", ")), QStringLiteral("個")}));
  return table(page, x, y,
               {{42, Qt::AlignLeft}, {kHalf - 42 - 22, Qt::AlignRight}, {22, Qt::AlignLeft}}, rows);
}

// How each figure of the breakdown is worked out.
double formulasBlock(Page& page, double x, double y) {
  y = heading(page, x, y, kHalf, QStringLiteral("計算式（1 個当たり）"));
  const QString text = QStringLiteral(
      "w：線材質量（予測 Mid の合計重量）kg、n：巻き数\n"
      "材料費 = w × (1 + L/100) × P\n"
      "加工費 = (n / S + h + s / Q) / 60 × r\n"
      "部材費 = 部材の単価の和\n"
      "原価 = 材料費 + 加工費 + 部材費\n"
      "単価 = 原価 × (1 + o/100) × (1 + m/100)、0.01 円未満を四捨五入\n"
      "金額 = 単価 × Q、1 円未満を四捨五入\n"
      "消費税 = 小計の 10 %、1 円未満を切り捨て");
  const QFont font = page.font(8.5);
  const double height = page.wrappedHeight(kHalf, text, font);
  page.paragraph(QRectF(x - kCellPadding, y, kHalf + kCellPadding, height), text, font);
  return y + height;
}

// What a coil's price is worked out from: its w and n on one line.
double coilFigures(Page& page, double y, const job::CoilPrice& price) {
  page.line(QRectF(kMargin - kCellPadding, y - 0.6, kContentWidth, 5),
            QStringLiteral("w = %1 kg、n = %2")
                .arg(qt(job::massText(price.wireMassKg)), qt(plainDecimal(price.turns))),
            page.font(kTextPoints), Qt::AlignLeft);
  return y + 5.5;
}

// What a stack's price is worked out from: a row a winding with its wire's
// price and speed and what it adds, then the tape.
double stackFigures(Page& page, double y, const job::StackPrice& price) {
  std::vector<Row> rows = {
      rowOf({QStringLiteral("巻線"), QStringLiteral("w kg"), QStringLiteral("n"),
             QStringLiteral("P 円/kg"), QStringLiteral("S min⁻¹"), QStringLiteral("材料費"),
             QStringLiteral("n / S 分")})};
  for (std::size_t k = 0; k < price.costs.size() && k < price.windings.size(); ++k) {
    const job::WindingCost& cost = price.costs[k];
    rows.push_back(
        rowOf({qt(windingLabel(k, cost.name)), qt(job::massText(cost.wireMassKg)),
               qt(plainDecimal(cost.turns)), qt(job::termText(cost.wireYenPerKg)),
               qt(job::termText(cost.windingRpm)), qt(job::costText(price.windings[k].materialYen)),
               qt(formatFixed4(price.windings[k].windingMinutes))}));
  }
  std::vector<Column> columns(7, Column{kContentWidth / 8, Qt::AlignRight});
  columns.front() = Column{kContentWidth - 6 * kContentWidth / 8, Qt::AlignLeft};
  y = table(page, kMargin, y, columns, rows);
  page.line(QRectF(kMargin - kCellPadding, y + 0.4, kContentWidth, 5),
            QStringLiteral("層間テープ（部材費に含む）：%1/個。材料費 = Σ w × (1 + L/100) × P、"
                           "加工費 = (Σ n / S + h + s / Q) / 60 × r")
                .arg(qt(job::costText(price.tapeYen))),
            page.font(kSmallPoints), Qt::AlignLeft);
  return y + 6.5;
}

// A row a lot size with its breakdown, then the first lot's totals.
double pricesBlock(Page& page, double y, const job::Quote& quote) {
  const QFont small = page.font(kSmallPoints);
  std::vector<Row> rows = {
      rowOf({QStringLiteral("数量"), QStringLiteral("材料費"), QStringLiteral("加工費"),
             QStringLiteral("部材費"), QStringLiteral("原価"), QStringLiteral("単価"),
             QStringLiteral("金額")})};
  for (const job::LotPrice& lot : quote.lots) {
    rows.push_back(rowOf({qt(job::quantityText(lot.quantity)), qt(job::costText(lot.materialYen)),
                          qt(job::costText(lot.processingYen)), qt(job::costText(lot.partsYen)),
                          qt(job::costText(lot.costYen)), qt(job::unitPriceText(lot.unitPriceSen)),
                          qt(job::yenText(lot.amountYen))}));
  }
  std::vector<Column> columns(7, Column{kContentWidth / 7, Qt::AlignRight});
  y = table(page, kMargin, y, columns, rows);
  const double labelX = kMargin + 4 * kContentWidth / 7, width = 1.5 * kContentWidth / 7;
  const QString first = quote.lots.empty()
                            ? QStringLiteral("小計")
                            : QStringLiteral("小計（数量 %1）")
                                  .arg(qt(job::quantityText(quote.lots.front().quantity)));
  for (const auto& [label, yen] :
       {std::pair{first, quote.subtotalYen}, std::pair{qt(job::kTaxCaption), quote.taxYen},
        std::pair{QStringLiteral("合計"), quote.totalYen}}) {
    page.rect(QRectF(labelX, y, width, kRowHeight), kGrid, 0.2, kLabelFill);
    page.line(QRectF(labelX, y, width, kRowHeight), label, small, Qt::AlignHCenter);
    page.rect(QRectF(labelX + width, y, width, kRowHeight), kGrid, 0.2);
    page.line(QRectF(labelX + width, y, width, kRowHeight), qt(job::yenText(yen)),
              page.font(kTextPoints), Qt::AlignRight);
    y += kRowHeight;
  }
  return y;
}

// The parts in two columns as far as the page has room; what does not fit
// is counted in the last row, with its sum.
double partsBlock(Page& page, double y, const std::vector<job::PartPrice>& parts) {
  y = heading(page, kMargin, y, kContentWidth, QStringLiteral("部材"));
  if (parts.empty()) {
    page.line(QRectF(kMargin - kCellPadding, y - 0.6, kContentWidth, 5), QStringLiteral("なし"),
              page.font(kTextPoints), Qt::AlignLeft);
    return y + 5;
  }
  const int perColumn = std::max(1, int((kContentBottom - y) / kRowHeight) - 1);
  const auto room = 2 * static_cast<std::size_t>(perColumn);
  std::vector<Row> cells;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (parts.size() > room && i + 1 == room) {
      double rest = 0;
      for (std::size_t j = i; j < parts.size(); ++j) rest += parts[j].yenPerPiece;
      cells.push_back(
          rowOf({QStringLiteral("ほか %1 点").arg(parts.size() - i), qt(job::costText(rest))}));
      break;
    }
    cells.push_back(rowOf({qt(parts[i].name), qt(job::costText(parts[i].yenPerPiece))}));
  }
  const std::size_t leftCount = std::min(cells.size(), std::size_t(perColumn));
  const std::vector<Column> columns = {{kHalf - 28, Qt::AlignLeft}, {28, Qt::AlignRight}};
  const Row head = rowOf({QStringLiteral("部材名"), QStringLiteral("円/個")});
  std::vector<Row> left = {head}, right = {head};
  left.insert(left.end(), cells.begin(), cells.begin() + std::ptrdiff_t(leftCount));
  right.insert(right.end(), cells.begin() + std::ptrdiff_t(leftCount), cells.end());
  double end = table(page, kMargin, y, columns, left);
  if (right.size() > 1) end = std::max(end, table(page, kMargin + kHalf + 6, y, columns, right));
  return end;
}

}  // namespace

double costBreakdown(Page& page, double top, const SheetCost& cost) {
  const double termsEnd = termsBlock(page, kMargin, top, cost);
  const double formulasEnd = formulasBlock(page, kMargin + kHalf + 6, top);
  double y = std::max(termsEnd, formulasEnd) + kBlockGap;
  if (const auto* price = std::get_if<job::CoilPrice>(&cost.price)) {
    y = heading(page, kMargin, y, kContentWidth, QStringLiteral("原価の内訳と価格（1 個当たり）"));
    y = pricesBlock(page, coilFigures(page, y, *price), price->quote) + kBlockGap;
  } else if (const auto* stack = std::get_if<job::StackPrice>(&cost.price)) {
    y = heading(page, kMargin, y, kContentWidth,
                QStringLiteral("原価の内訳と価格（1 個当たり、巻線ごと）"));
    y = pricesBlock(page, stackFigures(page, y, *stack), stack->quote) + kBlockGap;
  } else {
    y = heading(page, kMargin, y, kContentWidth, QStringLiteral("原価の内訳と価格"));
    const auto& why = std::get<QString>(cost.price);
    const QFont font = page.font(kTextPoints);
    const double height = page.wrappedHeight(kContentWidth, why, font);
    page.paragraph(QRectF(kMargin - kCellPadding, y, kContentWidth, height), why, font, kWarning);
    y += height + kBlockGap;
  }
  return partsBlock(page, y, cost.terms.parts);
}

}  // namespace kelvane::ui
