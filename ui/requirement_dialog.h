#pragma once

#include <QDialog>
#include <vector>

#include "job/job.h"

class QLabel;
class QTableWidget;

namespace kelvane::ui {

// 仕様: what the customer asked of the item's results, kept from the targets
// typed into the window. Each row's value and tolerance can be changed (an
// empty tolerance is the default), a row can be removed. OK (Enter) takes
// the rows when every one can be read; otherwise the first that cannot is
// said below the table and selected.
class RequirementDialog : public QDialog {
  Q_OBJECT
 public:
  RequirementDialog(const std::vector<job::Requirement>& requirements, QWidget* parent);

  const std::vector<job::Requirement>& requirements() const { return requirements_; }
  QTableWidget* table() const { return table_; }
  // Why the rows were not taken; empty when nothing was refused.
  QString refusal() const;

  void accept() override;

 private:
  std::vector<job::Requirement> requirements_;
  QTableWidget* table_;
  QLabel* said_;
};

}  // namespace kelvane::ui
