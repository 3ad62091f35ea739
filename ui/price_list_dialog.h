#pragma once

#include <QDialog>

#include "job/price_list.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace kelvane::ui {

class TermsEditor;

// 編集 › 単価表…: the user's price list, 線材単価 by material and bare
// diameter as a table (材料, 線径 から, まで, 円/kg; a row a range, added and
// removed with its buttons or Insert and Delete), and the terms a new
// quotation starts from. OK (Enter) takes it; a cell or box that cannot be
// read, ranges of one material that overlap, or terms that could price no
// coil keep the dialog open with the reason below. Esc calls it off.
class PriceListDialog : public QDialog {
  Q_OBJECT
 public:
  PriceListDialog(const job::PriceList& list, QWidget* parent);

  // The columns of the wire price table.
  enum Column { Material = 0, FromMm = 1, ToMm = 2, YenPerKg = 3 };

  // The list as accepted (its savedAt as it was: saving stamps it).
  const job::PriceList& list() const { return list_; }
  QTableWidget& wirePrices() const { return *wirePrices_; }
  // A row at the end of the table, its material cell focused for typing.
  void addWireRow();
  // Removes the row of the current cell.
  void removeWireRow();
  TermsEditor& editor() const { return *editor_; }
  QString refusal() const;

  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void appendRow(const job::WirePriceRow& row);
  void updateRowButtons();

  job::PriceList list_;
  QTableWidget* wirePrices_;
  QPushButton* addRow_;
  QPushButton* removeRow_;
  TermsEditor* editor_;
  QLabel* refusal_;
};

}  // namespace kelvane::ui
