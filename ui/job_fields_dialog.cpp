#include "ui/job_fields_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "job/job_json.h"

namespace kelvane::ui {
namespace {

QString qt(const std::string& s) { return QString::fromStdString(s); }

QLineEdit* lineFor(const std::string& text, QWidget* parent) {
  auto* box = new QLineEdit(qt(text), parent);
  // A longer text could not be opened again once saved.
  box->setMaxLength(static_cast<int>(job::kMaxTextChars));
  box->setMinimumWidth(320);
  return box;
}

}  // namespace

JobFieldsDialog::JobFieldsDialog(const job::JobFields& fields, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("案件情報"));
  customer_ = lineFor(fields.customer, this);
  partNumber_ = lineFor(fields.partNumber, this);
  quotationNumber_ = lineFor(fields.quotationNumber, this);
  personInCharge_ = lineFor(fields.personInCharge, this);
  memo_ = new QPlainTextEdit(qt(fields.memo), this);
  memo_->setTabChangesFocus(true);
  memo_->setMinimumHeight(110);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QFormLayout(this);
  layout->addRow(QStringLiteral("顧客名"), customer_);
  layout->addRow(QStringLiteral("品番"), partNumber_);
  layout->addRow(QStringLiteral("見積番号"), quotationNumber_);
  layout->addRow(QStringLiteral("担当者"), personInCharge_);
  layout->addRow(QStringLiteral("メモ"), memo_);
  layout->addRow(buttons);
}

job::JobFields JobFieldsDialog::fields() const {
  return {customer_->text().toStdString(), partNumber_->text().toStdString(),
          quotationNumber_->text().toStdString(), personInCharge_->text().toStdString(),
          memo_->toPlainText().toStdString()};
}

}  // namespace kelvane::ui
