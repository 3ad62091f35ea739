#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "wiredata/wire_choice.h"
#include "wiredata/wire_tables.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTextBrowser;

namespace kelvane::ui {

// 規格線から選ぶ: the standard wire tables, one shown at a time. A cell that
// can be chosen is taken by a double click, Enter or 選ぶ; キャンセル and Esc
// take nothing. A conductor diameter typed into the search box selects its
// row; remarks on cells are listed under the table.
class WirePickerDialog : public QDialog {
  Q_OBJECT
 public:
  // The tables (at least one) must outlive the dialog.
  WirePickerDialog(const std::vector<wiredata::WireTable>& tables, QWidget* parent);

  // The texts of the chosen cell; none while no cell that can be chosen is
  // selected.
  std::optional<wiredata::WireChoice> choice() const;

  QComboBox& tableChoice() const { return *tableChoice_; }
  QTableWidget& grid() const { return *grid_; }
  QLineEdit& search() const { return *search_; }
  // The remarks under the table, and the source lines of the current row.
  QString remarks() const;
  QString sourceText() const;

 private:
  const wiredata::WireTable& table() const;
  void showTable(int index);
  void showCurrent();
  void findDiameter(const QString& text);
  void take();

  const std::vector<wiredata::WireTable>& tables_;
  QComboBox* tableChoice_;
  QLineEdit* search_;
  QLabel* found_;
  QLabel* notes_;
  QTableWidget* grid_;
  QLabel* how_;
  QTextBrowser* source_;
  QLabel* chosen_;
  QPushButton* choose_;
};

}  // namespace kelvane::ui
