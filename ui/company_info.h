#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace kelvane::ui {

// 会社情報: who issues the customer's quotation, printed at its top right.
// Kept in the user's settings, the same for every job.
struct CompanyInfo {
  QString name;       // 会社名
  QString address;    // 住所
  QString telephone;  // 電話
  QString person;     // 担当者, when a job names none of its own
  bool operator==(const CompanyInfo&) const = default;
};

CompanyInfo storedCompanyInfo();
void storeCompanyInfo(const CompanyInfo& company);

// 編集 › 会社情報…: the four texts, taken on OK (Enter), called off by Esc.
class CompanyInfoDialog : public QDialog {
  Q_OBJECT
 public:
  CompanyInfoDialog(const CompanyInfo& company, QWidget* parent);
  CompanyInfo company() const;

 private:
  QLineEdit* name_;
  QLineEdit* address_;
  QLineEdit* telephone_;
  QLineEdit* person_;
};

}  // namespace kelvane::ui
