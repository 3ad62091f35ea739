#include "ui/requirement_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/number_text.h"
#include "job/requirement.h"

namespace kelvane::ui {
namespace {

enum Column { Result, Value, Unit, Tolerance, kColumnCount };

QString qt(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QTableWidgetItem* cell(const QString& text, bool editable) {
  auto* item = new QTableWidgetItem(text);
  Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  if (editable) flags |= Qt::ItemIsEditable;
  item->setFlags(flags);
  return item;
}

}  // namespace

RequirementDialog::RequirementDialog(const std::vector<job::Requirement>& requirements,
                                     QWidget* parent)
    : QDialog(parent), requirements_(requirements) {
  setWindowTitle(QStringLiteral("仕様"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(
      QStringLiteral("顧客の指定値です。結果の目標値を入力すると加わります。公差を空けると ±%1 %。")
          .arg(qt(plainDecimal(job::kDefaultTolerancePercent))),
      this));
  table_ = new QTableWidget(static_cast<int>(requirements.size()), kColumnCount, this);
  table_->setObjectName(QStringLiteral("requirements"));
  table_->setHorizontalHeaderLabels({QStringLiteral("項目"), QStringLiteral("仕様値"),
                                     QStringLiteral("単位"), QStringLiteral("公差 ±%")});
  table_->verticalHeader()->hide();
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setEditTriggers(QAbstractItemView::AllEditTriggers);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setColumnWidth(Result, 110);
  for (int r = 0; r < static_cast<int>(requirements.size()); ++r) {
    const job::Requirement& requirement = requirements[std::size_t(r)];
    table_->setItem(r, Result, cell(qt(job::requiredName(requirement.box)), false));
    table_->setItem(r, Value, cell(qt(plainDecimal(requirement.value)), true));
    table_->setItem(r, Unit, cell(qt(requirement.unit), false));
    table_->setItem(
        r, Tolerance,
        cell(requirement.tolerancePercent ? qt(plainDecimal(*requirement.tolerancePercent))
                                          : QString(),
             true));
  }
  layout->addWidget(table_);
  said_ = new QLabel(this);
  said_->setObjectName(QStringLiteral("refusal"));
  said_->setWordWrap(true);
  said_->setStyleSheet(QStringLiteral("color: #c00000"));
  layout->addWidget(said_);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* remove =
      buttons->addButton(QStringLiteral("行を削除(&D)"), QDialogButtonBox::ActionRole);
  remove->setAutoDefault(false);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);
  connect(remove, &QPushButton::clicked, this, [this] {
    const int row = table_->currentRow();
    if (row < 0) return;
    table_->removeRow(row);
    requirements_.erase(requirements_.begin() + row);
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  resize(460, 220);
}

QString RequirementDialog::refusal() const { return said_->text(); }

void RequirementDialog::accept() {
  std::vector<job::Requirement> read;
  for (int r = 0; r < table_->rowCount(); ++r) {
    const job::Requirement& was = requirements_[std::size_t(r)];
    const Expected<job::Requirement> requirement =
        job::typedRequirement(was.box, table_->item(r, Value)->text().toStdString(), was.unit,
                              table_->item(r, Tolerance)->text().toStdString());
    if (!requirement) {
      said_->setText(QString::fromStdString(requirement.message()));
      table_->setCurrentCell(r, Value);
      table_->setFocus(Qt::OtherFocusReason);
      return;
    }
    read.push_back(*requirement);
  }
  requirements_ = std::move(read);
  said_->clear();
  QDialog::accept();
}

}  // namespace kelvane::ui
