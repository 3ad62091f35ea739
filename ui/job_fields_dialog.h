#pragma once

#include <QDialog>

#include "job/job.h"

class QLineEdit;
class QPlainTextEdit;

namespace kelvane::ui {

// 案件情報: the job's own fields, edited together and taken on OK.
class JobFieldsDialog : public QDialog {
  Q_OBJECT
 public:
  JobFieldsDialog(const job::JobFields& fields, QWidget* parent);

  job::JobFields fields() const;

 private:
  QLineEdit* customer_;
  QLineEdit* partNumber_;
  QLineEdit* quotationNumber_;
  QLineEdit* personInCharge_;
  QPlainTextEdit* memo_;
};

}  // namespace kelvane::ui
