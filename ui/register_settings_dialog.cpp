#include "ui/register_settings_dialog.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "job/json_fields.h"
#include "ledger/register.h"

namespace kelvane::ui {

RegisterSettingsDialog::RegisterSettingsDialog(const RegisterSettings& settings, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("見積台帳の設定"));
  location_ = new QLineEdit(settings.location, this);
  location_->setObjectName(QStringLiteral("location"));
  location_->setMaxLength(int(job::kMaxTextChars));
  location_->setMinimumWidth(420);
  location_->setPlaceholderText(QString::fromStdString(ledger::registerLocationFromEnvironment()));
  location_->setToolTip(QStringLiteral(
      "台帳のファイル、またはチームで共有する PostgreSQL の URL"
      "（postgresql://ユーザー@サーバー/データベース）。空のときはこの PC の台帳です。"));
  pattern_ = new QLineEdit(settings.numberPattern, this);
  pattern_->setObjectName(QStringLiteral("numberPattern"));
  pattern_->setMaxLength(64);
  pattern_->setPlaceholderText(QString::fromLatin1(kDefaultNumberPattern));
  pattern_->setToolTip(
      QStringLiteral("{yyyy} 年、{yy} 年の下 2 桁、{mm} 月、{nnnn} 通し番号"
                     "（n の数だけの桁）。空のときは Q{yyyy}-{nnnn} です。"));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QFormLayout(this);
  layout->addRow(QStringLiteral("台帳の場所"), location_);
  layout->addRow(QStringLiteral("見積番号の形"), pattern_);
  layout->addRow(buttons);
}

RegisterSettings RegisterSettingsDialog::settings() const {
  return {location_->text().trimmed(), pattern_->text().trimmed()};
}

void RegisterSettingsDialog::accept() {
  const QString pattern = settings().numberPattern;
  if (!pattern.isEmpty()) {
    const Expected<std::string> example = ledger::numberFromPattern(
        pattern.toStdString(), QDate::currentDate().toString(Qt::ISODate).toStdString(), 1);
    if (!example) {
      QMessageBox::warning(
          this, windowTitle(),
          QStringLiteral("「見積番号の形」: %1").arg(QString::fromStdString(example.message())));
      pattern_->setFocus();
      return;
    }
  }
  QDialog::accept();
}

}  // namespace kelvane::ui
