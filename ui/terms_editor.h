#pragma once

#include <QWidget>
#include <array>
#include <map>

#include "core/expected.h"
#include "job/quotation.h"
#include "job/quotation_text.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kelvane::ui {

// The 見積条件 as boxes: the eight figures with their units, the five lot
// sizes, and the parts as a list of names and prices. The boxes are read
// with the program's number rules (job/quotation_text.h) only when asked.
class TermsEditor : public QWidget {
  Q_OBJECT
 public:
  enum class WirePrice { Shown, Hidden };  // the price list keeps one per material
  explicit TermsEditor(WirePrice wirePrice, QWidget* parent);

  void setTerms(const job::QuotationTerms& terms);
  // The terms as the boxes hold them now, or the sentence naming the first
  // box that cannot be read; `refused` then points at that box.
  Expected<job::QuotationTerms> read(QWidget** refused = nullptr) const;
  // What stands after 線材単価's unit: the material it is for.
  void setWirePriceNote(const QString& note);

  QLineEdit* figureBox(job::TermFigure figure) const { return figures_.at(figure); }
  QLineEdit* quantityBox(int i) const { return quantities_[std::size_t(i)]; }
  QTableWidget* parts() const { return parts_; }

 signals:
  // A box or a part was changed by the user.
  void edited();

 private:
  void addPart(const job::PartPrice& part);

  std::map<job::TermFigure, QLineEdit*> figures_;
  std::array<QLineEdit*, job::kMaxQuantities> quantities_{};
  QTableWidget* parts_;
  QPushButton* addPart_;
  bool wirePriceShown_;
  QLabel* wirePriceNote_ = nullptr;
};

}  // namespace kelvane::ui
