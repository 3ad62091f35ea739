#include "ui/issue_compare_dialog.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cstdlib>

#include "job/money_text.h"
#include "job/quotation_text.h"
#include "ui/paper_page.h"

namespace kelvane::ui {

namespace {

using paper::printed;

QString qt(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

std::string revisionText(const job::IssueRecord& r) {
  return "第" + std::to_string(r.revision) + "版（" + r.issuedOn + "）";
}

// A name of the item (品番, 品名) as its cell shows it: "old → new" when the
// newer 版 renamed it.
QString nameText(const std::optional<job::IssuedLine>& older,
                 const std::optional<job::IssuedLine>& newer, std::string job::IssuedLine::*field,
                 bool& changed) {
  changed = older && newer && (*older).*field != (*newer).*field;
  if (changed) return printed((*older).*field) + QStringLiteral(" → ") + printed((*newer).*field);
  return printed(newer ? (*newer).*field : (*older).*field);
}

QTableWidgetItem* cell(const QString& text, bool changed, Qt::Alignment alignment) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(alignment | Qt::AlignVCenter);
  if (changed) {
    QFont bold = item->font();
    bold.setBold(true);
    item->setFont(bold);
  }
  return item;
}

std::optional<std::int64_t> figure(const std::optional<job::IssuedLine>& line,
                                   std::int64_t job::IssuedLine::*field) {
  if (!line) return std::nullopt;
  return (*line).*field;
}

}  // namespace

QString IssueCompareDialog::figureText(std::optional<std::int64_t> older,
                                       std::optional<std::int64_t> newer,
                                       const std::function<std::string(std::int64_t)>& text) {
  if (!older) return newer ? qt(text(*newer)) : QString();
  if (!newer || *older == *newer) return qt(text(*older));
  const std::int64_t difference = *newer - *older;
  const std::string sign = difference < 0 ? "-" : "+";
  return qt(text(*older) + " → " + text(*newer) + "（" + sign + text(std::llabs(difference)) +
            "）");
}

IssueCompareDialog::IssueCompareDialog(const job::IssueRecord& older, const job::IssueRecord& newer,
                                       QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("版の比較 - ") + printed(newer.quotationNumber));
  const ledger::IssueComparison comparison = ledger::compareIssues(older, newer);

  auto* heading =
      new QLabel(printed(newer.quotationNumber) + QStringLiteral("　") + qt(revisionText(older)) +
                     QStringLiteral(" → ") + qt(revisionText(newer)),
                 this);
  heading->setObjectName(QStringLiteral("heading"));

  const QStringList columns = {QStringLiteral("区分"), QStringLiteral("品番"),
                               QStringLiteral("品名"), QStringLiteral("数量"),
                               QStringLiteral("単価"), QStringLiteral("金額")};
  auto* table = new QTableWidget(int(comparison.lines.size()), int(columns.size()), this);
  table->setObjectName(QStringLiteral("lines"));
  table->setHorizontalHeaderLabels(columns);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->verticalHeader()->hide();
  const auto quantity = [](std::int64_t n) { return job::quantityText(n); };
  const auto unitPrice = [](std::int64_t sen) { return job::unitPriceText(sen); };
  const auto yen = [](std::int64_t y) { return job::yenText(y); };
  const Qt::Alignment right = Qt::AlignRight;
  for (int r = 0; r < int(comparison.lines.size()); ++r) {
    const ledger::LineComparison& line = comparison.lines[std::size_t(r)];
    const bool both = line.older && line.newer;
    bool renamed = false;
    table->setItem(r, 0,
                   cell(qt(ledger::changeWord(line.change)),
                        line.change != ledger::LineChange::Same, Qt::AlignHCenter));
    table->setItem(r, 1,
                   cell(nameText(line.older, line.newer, &job::IssuedLine::partNumber, renamed),
                        renamed, Qt::AlignLeft));
    table->setItem(r, 2,
                   cell(nameText(line.older, line.newer, &job::IssuedLine::name, renamed), renamed,
                        Qt::AlignLeft));
    const auto put = [&](int column, std::int64_t job::IssuedLine::*field,
                         const std::function<std::string(std::int64_t)>& text) {
      const auto was = figure(line.older, field);
      const auto now = figure(line.newer, field);
      table->setItem(r, column, cell(figureText(was, now, text), both && *was != *now, right));
    };
    put(3, &job::IssuedLine::quantity, quantity);
    put(4, &job::IssuedLine::unitPriceSen, unitPrice);
    put(5, &job::IssuedLine::amountYen, yen);
    // An added item on green, a dropped one greyed: seen at a glance.
    if (line.change == ledger::LineChange::Added || line.change == ledger::LineChange::Removed) {
      for (int c = 0; c < table->columnCount(); ++c) {
        QTableWidgetItem* item = table->item(r, c);
        if (line.change == ledger::LineChange::Added) {
          item->setBackground(QColor(0xe6, 0xf4, 0xe6));
        } else {
          item->setForeground(QColor(0x80, 0x80, 0x80));
        }
      }
    }
  }
  table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  table->resizeColumnsToContents();
  table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);

  auto* totals = new QGridLayout;
  const auto total = [&](int row, const QString& caption, const ledger::FigurePair& pair,
                         const QString& name) {
    auto* value = new QLabel(figureText(pair.older, pair.newer, yen), this);
    value->setObjectName(name);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (pair.older != pair.newer) {
      QFont bold = value->font();
      bold.setBold(true);
      value->setFont(bold);
    }
    totals->addWidget(new QLabel(caption, this), row, 0);
    totals->addWidget(value, row, 1);
  };
  total(0, QStringLiteral("小計"), comparison.subtotalYen, QStringLiteral("subtotal"));
  total(1, QStringLiteral("消費税"), comparison.taxYen, QStringLiteral("tax"));
  total(2, QStringLiteral("合計"), comparison.totalYen, QStringLiteral("total"));
  totals->setColumnStretch(2, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("閉じる"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(table, 1);
  layout->addLayout(totals);
  layout->addWidget(buttons);
  resize(820, 420);
}

}  // namespace kelvane::ui
