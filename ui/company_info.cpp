#include "ui/company_info.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

#include "job/job_json.h"

namespace kelvane::ui {
namespace {

const QString kGroup = QStringLiteral("company");

QLineEdit* boxFor(const QString& text, const QString& name, QWidget* parent) {
  auto* box = new QLineEdit(text, parent);
  box->setObjectName(name);
  box->setMaxLength(int(job::kMaxTextChars));
  box->setMinimumWidth(320);
  return box;
}

}  // namespace

CompanyInfo storedCompanyInfo() {
  QSettings s(QStringLiteral("kelvane"), QStringLiteral("kelvane"));
  s.beginGroup(kGroup);
  return {s.value(QStringLiteral("name")).toString(), s.value(QStringLiteral("address")).toString(),
          s.value(QStringLiteral("telephone")).toString(),
          s.value(QStringLiteral("person")).toString()};
}

void storeCompanyInfo(const CompanyInfo& company) {
  QSettings s(QStringLiteral("kelvane"), QStringLiteral("kelvane"));
  s.beginGroup(kGroup);
  s.setValue(QStringLiteral("name"), company.name);
  s.setValue(QStringLiteral("address"), company.address);
  s.setValue(QStringLiteral("telephone"), company.telephone);
  s.setValue(QStringLiteral("person"), company.person);
}

CompanyInfoDialog::CompanyInfoDialog(const CompanyInfo& company, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("会社情報"));
  name_ = boxFor(company.name, QStringLiteral("name"), this);
  address_ = boxFor(company.address, QStringLiteral("address"), this);
  telephone_ = boxFor(company.telephone, QStringLiteral("telephone"), this);
  person_ = boxFor(company.person, QStringLiteral("person"), this);
  person_->setToolTip(QStringLiteral("案件情報に担当者がないとき、見積書にこの名前を載せます。"));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QFormLayout(this);
  layout->addRow(QStringLiteral("会社名"), name_);
  layout->addRow(QStringLiteral("住所"), address_);
  layout->addRow(QStringLiteral("電話"), telephone_);
  layout->addRow(QStringLiteral("担当者"), person_);
  layout->addRow(buttons);
}

CompanyInfo CompanyInfoDialog::company() const {
  return {name_->text(), address_->text(), telephone_->text(), person_->text()};
}

}  // namespace kelvane::ui
