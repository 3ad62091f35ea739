#pragma once

#include <QDialog>

#include "job/job.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace kelvane::ui {

// 案件情報: the job's own fields, edited together and taken on OK (Enter in
// any box, Ctrl+Enter in the memo and the remarks); Esc calls it off, asking
// first when something was typed (askBeforeEscDiscards). A
// working temperature or a period of validity that cannot be taken keeps
// the dialog open, says why below the fields and selects its text. The
// quotation's 版 and 発行日 are shown, not edited: issuing it sets them.
class JobFieldsDialog : public QDialog {
  Q_OBJECT
 public:
  JobFieldsDialog(const job::JobFields& fields, QWidget* parent);

  // The fields as accepted.
  const job::JobFields& fields() const { return fields_; }
  // The number the register would give this quotation when first issued,
  // shown greyed in an empty 見積番号 (empty: the register is not known).
  void offerNumber(const QString& next);

  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void refuse(const std::string& why, QLineEdit* box);

  job::JobFields fields_;
  QLineEdit* customer_;
  QLineEdit* customerPerson_;
  QLineEdit* quotationNumber_;
  QLineEdit* personInCharge_;
  QLineEdit* subject_;
  QLineEdit* deliveryTerms_;
  QLineEdit* paymentTerms_;
  QLineEdit* validDays_;
  QPlainTextEdit* remarks_;
  QPlainTextEdit* memo_;
  QLineEdit* temperature_;
  QLabel* refusal_;
};

}  // namespace kelvane::ui
