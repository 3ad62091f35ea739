#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace kelvane::ui {

// One item of the job as its list shows it.
struct ItemRow {
  QString partNumber;  // 品番
  QString name;        // 品名
  // The basis lot's 数量, 単価 and 金額 in 円 ("1,000", "129.58",
  // "129,580"); empty while the item has no price.
  QString quantity, unitPrice, amount;
  // 未計算 while its results do not belong to its inputs, 仕様外 while they
  // miss its requirement; empty otherwise. The tip says why.
  QString mark, markTip;
  bool operator==(const ItemRow&) const = default;
};

// 品目: the items of the job beside the form, the one shown chosen, with
// the commands that add, copy, remove and move them. 品番 and 品名 are typed
// into the list itself.
class ItemList : public QWidget {
  Q_OBJECT
 public:
  explicit ItemList(QWidget* parent = nullptr);

  void setRows(const std::vector<ItemRow>& rows, int current);
  // The lot sizes of the item shown, for the choice of the lot its line
  // quotes; none while it has no terms.
  void setBasisLots(const QStringList& quantities, int basis);
  // The item shown's requirement as one line each, and whether its
  // results miss it.
  void setRequirement(const QString& text, bool missed);
  QLabel* requirement() const { return requirement_; }
  QTableWidget* table() const { return table_; }
  QComboBox* basisLot() const { return basis_; }
  // The command buttons, in the order of the signals below.
  std::vector<QPushButton*> buttons() const { return buttons_; }

 signals:
  void chosen(int row);
  void namesEdited(int row, const QString& partNumber, const QString& name);
  void basisLotChosen(int lot);
  void addRequested();
  void duplicateRequested();
  void removeRequested();
  void moveRequested(int by);
  void computeAllRequested();
  void requirementRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTableWidget* table_;
  QComboBox* basis_;
  QLabel* requirement_;
  std::vector<QPushButton*> buttons_;
  bool filling_ = false;  // the rows are being put in by the program
};

}  // namespace kelvane::ui
