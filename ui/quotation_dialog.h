#pragma once

#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "core/expected.h"
#include "core/materials.h"
#include "job/price_list.h"
#include "job/quotation.h"
#include "ui/sheet_cost.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace kelvane::ui {

class TermsEditor;

// What the 見積 pane asks of the window it belongs to.
struct PricedCoil {
  // Whether the results shown belong to the inputs as they stand.
  std::function<bool()> resultsCurrent;
  // Presses 計算 as a person would; whether the results are current then.
  // A refused press has shown its message.
  std::function<bool()> press;
  // The coil's price under the terms; only asked while the results are
  // current. The failure is the sentence saying what cannot be priced.
  std::function<Expected<job::CoilPrice>(const job::QuotationTerms& terms)> price;
  // The coil's material, which 線材単価 is for.
  std::function<ConductorMaterial()> material;
  // The terms a coil of a material is priced with as the job stands, its
  // wire as thick as the coil's is now (job::pricingTerms), or why the wire
  // has no price: the pane takes 線材単価 from them when the coil's material
  // is no longer the one its box holds the price of, or its wire has left the
  // price list's row the box's price was taken from.
  std::function<Expected<job::PricingTerms>(ConductorMaterial)> pricing;
};

// 見積: the job's 見積条件 in boxes, and as they are typed, for every lot
// size 単価 and 金額 with the breakdown (材料費, 加工費, 部材費, 原価), then
// 小計, 消費税 and 合計 of the first lot. A line under the terms says whose
// price 線材単価 is: the job's terms' or the price list's, for the coil's
// material and the row of wire sizes it was taken from; a material changed
// while the pane is open, or a wire that left its row, brings its own price
// into the box (a price typed stays for its material), and a wire the list
// has no price for empties the box and says so. Results out of date are not
// priced: the pane says so and offers to press 計算. OK (Enter) takes the
// terms; one that cannot be read keeps the pane open, says why below the
// prices and selects its box. Esc calls it off, asking first when something
// was typed (askBeforeEscDiscards).
class QuotationDialog : public QDialog {
  Q_OBJECT
 public:
  QuotationDialog(const job::PricingTerms& terms, PricedCoil coil, QWidget* parent);

  // The terms as accepted.
  const job::QuotationTerms& terms() const { return terms_; }
  // 単価表の値にする puts these in the boxes, or says why the list has no
  // price for the coil's wire; without it the button is hidden.
  void setListTerms(std::function<Expected<job::QuotationTerms>()> listTerms);

  TermsEditor& editor() const { return *editor_; }
  // The prices shown: a row a lot size, the columns of kPriceColumns.
  QTableWidget& priceTable() const { return *prices_; }
  static const QStringList& priceColumns();
  // 小計, 消費税 and 合計 as shown; empty while nothing is priced.
  QStringList totals() const;
  // What is said in place of prices, or of a box that cannot be read.
  QString refusal() const;
  // Whose price 線材単価 is: 「線材単価は、単価表の銅線 φ0.20〜0.30 mm の価格です。」
  QString wirePriceSource() const;

  // Reads the boxes and shows the prices they give, or why there are none;
  // the window calls it after each event of its form.
  void refresh();

  void accept() override;

 private:
  void showQuote(const job::CoilPrice& price);
  void withhold(const QString& why);
  // 線材単価 of `terms` in its box, with its material and row, taken from
  // `from`.
  void putWirePrice(const job::QuotationTerms& terms, job::WirePriceSource from);
  // An empty box for a wire of `material` that has no price, and `why`.
  void missWirePrice(ConductorMaterial material, const std::string& why);
  // Whether the box holds a price other than the one put (a typed one).
  bool wirePriceTyped() const;
  // The terms with the box's wire: its material, and the row of a price put.
  void withBoxWire(job::QuotationTerms& terms) const;
  void sayWirePriceSource();

  job::QuotationTerms terms_;
  // The material the 線材単価 box holds the price of, where that price was
  // taken from, the price as put in (a price typed over it is the job's
  // own; none when the wire has no price) and the row of wire sizes it is
  // the price of; why the wire has no price.
  ConductorMaterial wireMaterial_;
  job::WirePriceSource wirePriceFrom_;
  std::optional<double> wirePricePut_;
  QString wirePriceText_;  // the price as put in, as the box showed it
  std::optional<double> wireFromMm_, wireToMm_;
  QString wirePriceMissing_;
  QLabel* wirePriceSource_;
  PricedCoil coil_;
  std::function<Expected<job::QuotationTerms>()> listTerms_;
  TermsEditor* editor_;
  QLabel* coilFigures_;
  QLabel* refusal_;
  QPushButton* press_;
  QPushButton* fromList_;
  QTableWidget* prices_;
  std::array<QLabel*, 3> totals_{};
  QLabel* subtotalCaption_;
};

}  // namespace kelvane::ui
