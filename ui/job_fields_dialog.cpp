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
#include "job/quotation_text.h"
#include "ui/typed_entries.h"

namespace kelvane::ui {
namespace {

QString qt(const std::string& s) { return QString::fromStdString(s); }

QLineEdit* lineFor(const std::string& text, const char* name, QWidget* parent) {
  auto* box = new QLineEdit(qt(text), parent);
  box->setObjectName(QLatin1String(name));
  // A longer text could not be opened again once saved.
  box->setMaxLength(static_cast<int>(job::kMaxTextChars));
  box->setMinimumWidth(320);
  return box;
}

QPlainTextEdit* textFor(const std::string& text, const char* name, QWidget* parent) {
  auto* box = new QPlainTextEdit(qt(text), parent);
  box->setObjectName(QLatin1String(name));
  box->setTabChangesFocus(true);
  box->setMinimumHeight(80);
  return box;
}

// A short number box with its unit after it.
QLineEdit* numberFor(const QString& text, const char* name, QWidget* parent) {
  auto* box = new QLineEdit(text, parent);
  box->setObjectName(QLatin1String(name));
  box->setMaxLength(32);
  box->setFixedWidth(90);
  box->setAlignment(Qt::AlignRight);
  return box;
}

QHBoxLayout* withUnit(QLineEdit* box, const QString& unit, QWidget* parent) {
  auto* row = new QHBoxLayout;
  row->addWidget(box);
  row->addWidget(new QLabel(unit, parent));
  row->addStretch();
  return row;
}

// 版 and 発行日 as the quotation was last issued.
QString issueText(const job::JobFields& fields) {
  if (fields.revision == 0)
    return QStringLiteral("未発行（見積書を印刷または PDF に出力すると第1版）");
  return QStringLiteral("第%1版（%2 発行）").arg(fields.revision).arg(qt(fields.issuedOn));
}

}  // namespace

void JobFieldsDialog::offerNumber(const QString& next) {
  quotationNumber_->setPlaceholderText(
      next.isEmpty() ? QStringLiteral("発行時に見積台帳で採番")
                     : QStringLiteral("発行時に見積台帳で採番（次は %1）").arg(next));
}

JobFieldsDialog::JobFieldsDialog(const job::JobFields& fields, QWidget* parent)
    : QDialog(parent), fields_(fields) {
  setWindowTitle(QStringLiteral("案件情報"));
  customer_ = lineFor(fields.customer, "customer", this);
  customer_->setToolTip(QStringLiteral("会社名または部署名：見積書には「… 御中」と載ります。"));
  customerPerson_ = lineFor(fields.customerPerson, "customerPerson", this);
  customerPerson_->setToolTip(
      QStringLiteral("見積書の宛名にする先方の方の氏名：「会社名 氏名 様」と載ります。"));
  quotationNumber_ = lineFor(fields.quotationNumber, "quotationNumber", this);
  personInCharge_ = lineFor(fields.personInCharge, "personInCharge", this);
  subject_ = lineFor(fields.subject, "subject", this);
  deliveryTerms_ = lineFor(fields.deliveryTerms, "deliveryTerms", this);
  paymentTerms_ = lineFor(fields.paymentTerms, "paymentTerms", this);
  validDays_ = numberFor(QString::number(fields.validDays), "validDays", this);
  validDays_->setToolTip(QStringLiteral("見積書の有効期限：発行日からの日数です。"));
  remarks_ = textFor(fields.remarks, "remarks", this);
  remarks_->setToolTip(QStringLiteral("見積書の備考欄に載ります。"));
  memo_ = textFor(fields.memo, "memo", this);
  memo_->setToolTip(QStringLiteral("社内用：見積計算書に載り、見積書には載りません。"));
  temperature_ = numberFor(qt(plainDecimal(fields.workingCelsius)), "workingCelsius", this);
  temperature_->setToolTip(
      QStringLiteral("見積書と CSV に、この温度での直流抵抗も載せます（20 °C の値から換算）。"));
  refusal_ = new QLabel(this);
  refusal_->setStyleSheet(QStringLiteral("color: #c00000;"));
  refusal_->setWordWrap(true);
  refusal_->hide();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  // One Enter in any box takes the fields, as in every dialog; on キャンセル
  // it calls the dialog off. In the memo and the remarks Enter starts a new
  // line, so there Ctrl+Enter takes the fields. Esc calls the dialog off
  // from anywhere.
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  memo_->installEventFilter(this);
  remarks_->installEventFilter(this);

  auto* layout = new QFormLayout(this);
  layout->addRow(QStringLiteral("顧客名"), customer_);
  layout->addRow(QStringLiteral("先方ご担当者"), customerPerson_);
  layout->addRow(QStringLiteral("見積番号"), quotationNumber_);
  layout->addRow(QStringLiteral("担当者"), personInCharge_);
  layout->addRow(QStringLiteral("件名"), subject_);
  layout->addRow(QStringLiteral("納期"), deliveryTerms_);
  layout->addRow(QStringLiteral("支払条件"), paymentTerms_);
  layout->addRow(QStringLiteral("有効期限"),
                 withUnit(validDays_, QStringLiteral("日（発行日から）"), this));
  layout->addRow(QStringLiteral("備考"), remarks_);
  layout->addRow(QStringLiteral("版"), new QLabel(issueText(fields), this));
  layout->addRow(QStringLiteral("メモ"), memo_);
  layout->addRow(QStringLiteral("使用温度"), withUnit(temperature_, QStringLiteral("°C"), this));
  layout->addRow(refusal_);
  layout->addRow(buttons);
  // Esc over typed entries asks before they go.
  askBeforeEscDiscards(*this);
}

bool JobFieldsDialog::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == memo_ || watched == remarks_) && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) {
      accept();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void JobFieldsDialog::refuse(const std::string& why, QLineEdit* box) {
  refusal_->setText(qt(why));
  refusal_->show();
  box->setFocus();
  box->selectAll();
}

void JobFieldsDialog::accept() {
  const Expected<int> days = job::readValidDays(validDays_->text().toStdString());
  if (!days) return refuse(days.message(), validDays_);
  const Expected<double> celsius = readWorkingTemperature(temperature_->text().toStdString());
  if (!celsius) return refuse(celsius.message(), temperature_);
  fields_.customer = customer_->text().toStdString();
  fields_.customerPerson = customerPerson_->text().toStdString();
  fields_.quotationNumber = quotationNumber_->text().toStdString();
  fields_.personInCharge = personInCharge_->text().toStdString();
  fields_.memo = memo_->toPlainText().toStdString();
  fields_.workingCelsius = *celsius;
  fields_.subject = subject_->text().toStdString();
  fields_.deliveryTerms = deliveryTerms_->text().toStdString();
  fields_.paymentTerms = paymentTerms_->text().toStdString();
  fields_.remarks = remarks_->toPlainText().toStdString();
  fields_.validDays = *days;
  QDialog::accept();
}

}  // namespace kelvane::ui
