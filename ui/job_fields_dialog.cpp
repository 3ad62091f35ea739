#include "ui/job_fields_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/number_text.h"
#include "core/temperature_resistance.h"
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

JobFieldsDialog::JobFieldsDialog(const job::JobFields& fields, QWidget* parent)
    : QDialog(parent), fields_(fields) {
  setWindowTitle(QStringLiteral("案件情報"));
  customer_ = lineFor(fields.customer, this);
  partNumber_ = lineFor(fields.partNumber, this);
  quotationNumber_ = lineFor(fields.quotationNumber, this);
  personInCharge_ = lineFor(fields.personInCharge, this);
  memo_ = new QPlainTextEdit(qt(fields.memo), this);
  memo_->setTabChangesFocus(true);
  memo_->setMinimumHeight(110);
  temperature_ = new QLineEdit(qt(plainDecimal(fields.workingCelsius)), this);
  temperature_->setMaxLength(32);
  temperature_->setFixedWidth(90);
  temperature_->setAlignment(Qt::AlignRight);
  temperature_->setToolTip(
      QStringLiteral("見積書と CSV に、この温度での直流抵抗も載せます（20 °C の値から換算）。"));
  auto* temperatureRow = new QHBoxLayout;
  temperatureRow->addWidget(temperature_);
  temperatureRow->addWidget(new QLabel(QStringLiteral("°C"), this));
  temperatureRow->addStretch();
  refusal_ = new QLabel(this);
  refusal_->setStyleSheet(QStringLiteral("color: #c00000;"));
  refusal_->setWordWrap(true);
  refusal_->hide();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  // One Enter in any box takes the fields, as in every dialog; on キャンセル
  // it calls the dialog off. In the memo Enter starts a new line, so there
  // Ctrl+Enter takes the fields. Esc calls the dialog off from anywhere.
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  memo_->installEventFilter(this);

  auto* layout = new QFormLayout(this);
  layout->addRow(QStringLiteral("顧客名"), customer_);
  layout->addRow(QStringLiteral("品番"), partNumber_);
  layout->addRow(QStringLiteral("見積番号"), quotationNumber_);
  layout->addRow(QStringLiteral("担当者"), personInCharge_);
  layout->addRow(QStringLiteral("メモ"), memo_);
  layout->addRow(QStringLiteral("使用温度"), temperatureRow);
  layout->addRow(refusal_);
  layout->addRow(buttons);
}

bool JobFieldsDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == memo_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) {
      accept();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void JobFieldsDialog::accept() {
  const Expected<double> celsius = readWorkingTemperature(temperature_->text().toStdString());
  if (!celsius) {
    refusal_->setText(qt(celsius.message()));
    refusal_->show();
    temperature_->setFocus();
    temperature_->selectAll();
    return;
  }
  fields_ = {customer_->text().toStdString(),        partNumber_->text().toStdString(),
             quotationNumber_->text().toStdString(), personInCharge_->text().toStdString(),
             memo_->toPlainText().toStdString(),     *celsius};
  QDialog::accept();
}

}  // namespace kelvane::ui
