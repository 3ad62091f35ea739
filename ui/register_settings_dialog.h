#pragma once

#include <QDialog>

#include "ui/quotation_issue.h"

class QLineEdit;

namespace kelvane::ui {

// 見積 › 見積台帳の設定…: where the register is (a file, or a PostgreSQL
// server's URL shared by a team; empty: this PC's own) and how a new
// quotation is numbered. OK takes them once the pattern numbers something.
class RegisterSettingsDialog : public QDialog {
  Q_OBJECT
 public:
  RegisterSettingsDialog(const RegisterSettings& settings, QWidget* parent);
  RegisterSettings settings() const;
  void accept() override;

 private:
  QLineEdit* location_;
  QLineEdit* pattern_;
};

}  // namespace kelvane::ui
