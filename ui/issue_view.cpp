#include "ui/issue_view.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryFile>
#include <QVBoxLayout>

#include "job/file_name.h"
#include "job/issue.h"
#include "job/job_json.h"
#include "job/money_text.h"
#include "job/quotation_text.h"
#include "ui/job_files.h"
#include "ui/paper_page.h"

namespace kelvane::ui {

namespace {

using paper::printed;

QString qt(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QString revisionText(int revision) { return QStringLiteral("第%1版").arg(revision); }

QLabel* valueLabel(const QString& text, const QString& name, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

QString IssueView::suggestedPdfName(const job::IssueRecord& record) {
  job::Job named;
  named.fields.quotationNumber =
      record.quotationNumber + "_第" + std::to_string(record.revision) + "版";
  return QString::fromStdString(
      job::suggestedFileName(named, "pdf", job::kCustomerQuotationDocument));
}

IssueView::IssueView(ledger::Register& book, ledger::StoredIssue issue,
                     std::vector<int> otherRevisions, Actions actions, QWidget* parent)
    : QDialog(parent), register_(book), issue_(std::move(issue)), actions_(std::move(actions)) {
  const job::IssueRecord& r = issue_.record;
  setWindowTitle(printed(r.quotationNumber) + QStringLiteral(" ") + revisionText(r.revision) +
                 QStringLiteral(" - 見積台帳"));

  auto* fields = new QFormLayout;
  fields->addRow(
      QStringLiteral("見積番号"),
      valueLabel(printed(r.quotationNumber) + QStringLiteral("　") + revisionText(r.revision),
                 QStringLiteral("number"), this));
  fields->addRow(QStringLiteral("発行日"), valueLabel(qt(r.issuedOn), "issuedOn", this));
  fields->addRow(QStringLiteral("有効期限"), valueLabel(qt(r.validUntil), "validUntil", this));
  fields->addRow(QStringLiteral("顧客名"), valueLabel(printed(r.customer), "customer", this));
  fields->addRow(QStringLiteral("件名"), valueLabel(printed(r.subject), "subject", this));
  fields->addRow(QStringLiteral("担当者"),
                 valueLabel(printed(r.personInCharge), "personInCharge", this));

  const QStringList columns = {QStringLiteral("品番"), QStringLiteral("品名"),
                               QStringLiteral("数量"), QStringLiteral("単価"),
                               QStringLiteral("金額")};
  auto* lines = new QTableWidget(int(r.lines.size()), int(columns.size()), this);
  lines->setObjectName(QStringLiteral("lines"));
  lines->setHorizontalHeaderLabels(columns);
  lines->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lines->setSelectionBehavior(QAbstractItemView::SelectRows);
  lines->verticalHeader()->hide();
  lines->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  for (int row = 0; row < int(r.lines.size()); ++row) {
    const job::IssuedLine& line = r.lines[std::size_t(row)];
    const QString texts[] = {
        printed(line.partNumber), printed(line.name), qt(job::quantityText(line.quantity)),
        qt(job::unitPriceText(line.unitPriceSen)), qt(job::yenText(line.amountYen))};
    for (int c = 0; c < int(columns.size()); ++c) {
      auto* item = new QTableWidgetItem(texts[c]);
      item->setTextAlignment((c >= 2 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
      lines->setItem(row, c, item);
    }
  }
  lines->resizeColumnsToContents();
  lines->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

  auto* totals = new QFormLayout;
  totals->setLabelAlignment(Qt::AlignRight);
  const auto total = [&](const QString& caption, std::int64_t yen, const QString& name) {
    QLabel* value = valueLabel(qt(job::yenText(yen)), name, this);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    totals->addRow(caption, value);
  };
  total(QStringLiteral("小計"), r.subtotalYen, QStringLiteral("subtotal"));
  total(qt(job::kTaxCaption), r.taxYen, QStringLiteral("tax"));
  total(QStringLiteral("合計"), r.totalYen, QStringLiteral("total"));
  auto* totalsRow = new QHBoxLayout;
  totalsRow->addStretch(1);
  totalsRow->addLayout(totals);

  const auto button = [&](const QString& text, const QString& name) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
  };
  QPushButton* savePdfButton = button(QStringLiteral("PDFを保存…"), "savePdf");
  QPushButton* showPdfButton = button(QStringLiteral("PDFを表示"), "showPdf");
  QPushButton* nextRevision = button(QStringLiteral("新しい版を作成"), "newRevision");
  QPushButton* newQuotation = button(QStringLiteral("この見積を元に作成"), "newQuotation");
  connect(savePdfButton, &QPushButton::clicked, this, &IssueView::savePdf);
  connect(showPdfButton, &QPushButton::clicked, this, &IssueView::showPdf);
  connect(nextRevision, &QPushButton::clicked, this, [this] { takeJob(false); });
  connect(newQuotation, &QPushButton::clicked, this, [this] { takeJob(true); });

  // Another 版 of the number to compare with; the one before this first.
  auto* compareRow = new QHBoxLayout;
  otherRevision_ = new QComboBox(this);
  otherRevision_->setObjectName(QStringLiteral("otherRevision"));
  std::sort(otherRevisions.begin(), otherRevisions.end(), [&](int a, int b) {
    const bool aBefore = a < r.revision, bBefore = b < r.revision;
    if (aBefore != bBefore) return aBefore;
    return aBefore ? a > b : a < b;
  });
  for (int revision : otherRevisions) otherRevision_->addItem(revisionText(revision), revision);
  QPushButton* compareButton = button(QStringLiteral("と比較"), "compare");
  connect(compareButton, &QPushButton::clicked, this, &IssueView::compareWithChosen);
  const bool comparable = !otherRevisions.empty();
  otherRevision_->setEnabled(comparable);
  compareButton->setEnabled(comparable);
  compareRow->addWidget(new QLabel(QStringLiteral("版を比較:"), this));
  compareRow->addWidget(otherRevision_);
  compareRow->addWidget(compareButton);
  compareRow->addStretch(1);

  auto* actionsRow = new QHBoxLayout;
  actionsRow->addWidget(savePdfButton);
  actionsRow->addWidget(showPdfButton);
  actionsRow->addSpacing(16);
  actionsRow->addWidget(nextRevision);
  actionsRow->addWidget(newQuotation);
  actionsRow->addStretch(1);
  QPushButton* close = button(QStringLiteral("閉じる"), "close");
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  actionsRow->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(lines, 1);
  layout->addLayout(totalsRow);
  layout->addLayout(compareRow);
  layout->addLayout(actionsRow);
  resize(760, 480);
}

std::optional<std::string> IssueView::pdfBytes() {
  const job::IssueRecord& r = issue_.record;
  Expected<std::string> bytes = register_.pdf(r.quotationNumber, r.revision);
  if (!bytes) {
    actions_.say(QString::fromStdString(bytes.message()));
    return std::nullopt;
  }
  // An issue taken from another register's ledger came without its PDF.
  if (bytes->empty()) {
    actions_.say(QStringLiteral("この版の PDF は台帳にありません。"));
    return std::nullopt;
  }
  return std::move(bytes.value());
}

void IssueView::savePdf() {
  const QString file = actions_.chooseFile(suggestedPdfName(issue_.record));
  if (file.isEmpty()) return;
  const std::optional<std::string> bytes = pdfBytes();
  if (!bytes) return;
  // Whole or not at all, as every file the program writes.
  const Expected<void> saved = saveFile(file, *bytes);
  if (!saved.ok()) actions_.say(QString::fromStdString(saved.message()));
}

void IssueView::showPdf() {
  const std::optional<std::string> bytes = pdfBytes();
  if (!bytes) return;
  // A file of its own in the temporary folder, readable by the user alone,
  // left for the viewer after this window closes; the system clears it.
  QString stem = suggestedPdfName(issue_.record);
  stem.chop(4);  // ".pdf"
  QTemporaryFile file(QDir::temp().filePath(stem + QStringLiteral("_XXXXXX.pdf")));
  file.setAutoRemove(false);
  if (!file.open()) {
    actions_.say(QStringLiteral("PDF を一時ファイルに書けません（%1）。").arg(file.errorString()));
    return;
  }
  const QString path = file.fileName();
  file.close();
  const Expected<void> saved = saveFile(path, *bytes);
  if (!saved.ok()) {
    QFile::remove(path);
    actions_.say(QString::fromStdString(saved.message()));
    return;
  }
  if (!actions_.openPdf(path)) {
    actions_.say(QStringLiteral("PDF を開くプログラムがありません（%1）。").arg(path));
  }
}

void IssueView::takeJob(bool newQuotation) {
  if (issue_.jobText.empty()) {
    actions_.say(QStringLiteral("この版の案件は台帳にありません。"));
    return;
  }
  const Expected<job::Job> issued = job::readJob(issue_.jobText);
  if (!issued) {
    actions_.say(QStringLiteral("この版の案件を読めません。") +
                 QString::fromStdString(issued.message()));
    return;
  }
  actions_.takeJob(job::withIssue(*issued, issue_.record), newQuotation);
  accept();
}

void IssueView::compareWithChosen() {
  if (otherRevision_->currentIndex() < 0) return;
  actions_.compareWith(otherRevision_->currentData().toInt());
}

}  // namespace kelvane::ui
