#pragma once

#include <QDialog>
#include <array>

#include "job/price_list.h"

class QLabel;
class QLineEdit;

namespace kelvane::ui {

class TermsEditor;

// 編集 › 単価表…: the user's price list, a wire price per material and the
// terms a new quotation starts from. OK (Enter) takes it; a box that cannot
// be read, or terms that could price no coil, keep the dialog open with the
// reason below. Esc calls it off.
class PriceListDialog : public QDialog {
  Q_OBJECT
 public:
  PriceListDialog(const job::PriceList& list, QWidget* parent);

  // The list as accepted (its savedAt as it was: saving stamps it).
  const job::PriceList& list() const { return list_; }
  QLineEdit* wirePriceBox(ConductorMaterial material) const {
    return wirePrices_[static_cast<std::size_t>(material)];
  }
  TermsEditor& editor() const { return *editor_; }
  QString refusal() const;

  void accept() override;

 private:
  job::PriceList list_;
  std::array<QLineEdit*, 3> wirePrices_{};
  TermsEditor* editor_;
  QLabel* refusal_;
};

}  // namespace kelvane::ui
