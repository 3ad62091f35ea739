#include "ui/quotation_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/number_text.h"
#include "job/money_text.h"
#include "job/quotation_text.h"
#include "ui/sheet_cost.h"
#include "ui/terms_editor.h"
#include "ui/typed_entries.h"

namespace kelvane::ui {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }
QString qt(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QTableWidgetItem* figureItem(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

}  // namespace

const QStringList& QuotationDialog::priceColumns() {
  static const QStringList columns = {QStringLiteral("数量"),   QStringLiteral("材料費"),
                                      QStringLiteral("加工費"), QStringLiteral("部材費"),
                                      QStringLiteral("原価"),   QStringLiteral("単価"),
                                      QStringLiteral("金額")};
  return columns;
}

QuotationDialog::QuotationDialog(const job::PricingTerms& terms, PricedCoil coil, QWidget* parent)
    : QDialog(parent),
      terms_(terms.terms),
      wireMaterial_(terms.terms.wireMaterial),
      wirePriceFrom_(terms.wirePriceFrom),
      wirePricePut_(terms.terms.wireYenPerKg),
      wirePriceText_(qt(job::termText(terms.terms.wireYenPerKg))),
      wireFromMm_(terms.terms.wireDiameterFromMm),
      wireToMm_(terms.terms.wireDiameterToMm),
      coil_(std::move(coil)) {
  setWindowTitle(QStringLiteral("見積"));

  editor_ = new TermsEditor(TermsEditor::WirePrice::Shown, this);
  editor_->setTerms(terms.terms);
  connect(editor_, &TermsEditor::edited, this, &QuotationDialog::refresh);
  wirePriceSource_ = new QLabel(this);
  wirePriceSource_->setObjectName(QStringLiteral("wirePriceSource"));
  wirePriceSource_->setWordWrap(true);
  auto* termsBox = new QGroupBox(QStringLiteral("見積条件"), this);
  auto* termsLayout = new QVBoxLayout(termsBox);
  termsLayout->addWidget(editor_);
  termsLayout->addWidget(wirePriceSource_);

  coilFigures_ = new QLabel(this);
  coilFigures_->setObjectName(QStringLiteral("coilFigures"));
  coilFigures_->setWordWrap(true);
  coilFigures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  refusal_ = new QLabel(this);
  refusal_->setObjectName(QStringLiteral("refusal"));
  refusal_->setStyleSheet(QStringLiteral("color: #c00000;"));
  refusal_->setWordWrap(true);
  press_ = new QPushButton(QStringLiteral("計算"), this);
  press_->setAutoDefault(false);
  press_->setToolTip(QStringLiteral("画面の「計算」を押し、その結果で価格を出します。"));
  connect(press_, &QPushButton::clicked, this, [this] {
    coil_.press();
    refresh();
  });

  prices_ = new QTableWidget(0, int(priceColumns().size()), this);
  prices_->setObjectName(QStringLiteral("prices"));
  prices_->setHorizontalHeaderLabels(priceColumns());
  prices_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  prices_->verticalHeader()->hide();
  prices_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  prices_->setTabKeyNavigation(false);
  prices_->setMinimumWidth(560);

  auto* totals = new QFormLayout;
  const char* names[] = {"subtotal", "tax", "total"};
  for (std::size_t i = 0; i < totals_.size(); ++i) {
    totals_[i] = new QLabel(this);
    totals_[i]->setObjectName(QLatin1String(names[i]));
    totals_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    totals_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    totals_[i]->setMinimumWidth(140);
  }
  subtotalCaption_ = new QLabel(QStringLiteral("小計"), this);
  totals->addRow(subtotalCaption_, totals_[0]);
  totals->addRow(qt(job::kTaxCaption), totals_[1]);
  auto* totalCaption = new QLabel(QStringLiteral("合計"), this);
  QFont bold = totalCaption->font();
  bold.setBold(true);
  totalCaption->setFont(bold);
  totals_[2]->setFont(bold);
  totals->addRow(totalCaption, totals_[2]);
  auto* totalsRow = new QHBoxLayout;
  totalsRow->addStretch();
  totalsRow->addLayout(totals);

  auto* pricesBox = new QGroupBox(QStringLiteral("価格（1 個当たり、金額は数量分）"), this);
  auto* pricesLayout = new QVBoxLayout(pricesBox);
  pricesLayout->addWidget(coilFigures_);
  auto* refusalRow = new QHBoxLayout;
  refusalRow->addWidget(refusal_, 1);
  refusalRow->addWidget(press_);
  pricesLayout->addLayout(refusalRow);
  pricesLayout->addWidget(prices_, 1);
  pricesLayout->addLayout(totalsRow);

  fromList_ = new QPushButton(QStringLiteral("単価表の値にする"), this);
  fromList_->setAutoDefault(false);
  fromList_->setToolTip(QStringLiteral("今の単価表の単価と率を入れます（数量はそのまま）。"));
  fromList_->hide();
  connect(fromList_, &QPushButton::clicked, this, [this] {
    Expected<job::QuotationTerms> fresh = listTerms_();
    if (!fresh) return refusal_->setText(qt(fresh.message()));
    const Expected<job::QuotationTerms> typed = editor_->read();
    // The lot sizes are the customer's, not the price list's.
    if (typed) fresh.value().quantities = typed->quantities;
    editor_->setTerms(*fresh);
    putWirePrice(*fresh, job::WirePriceSource::PriceList);
    refresh();
  });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  buttons->addButton(fromList_, QDialogButtonBox::ResetRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* columns = new QHBoxLayout;
  columns->addWidget(termsBox);
  columns->addWidget(pricesBox, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(buttons);
  refresh();
  // Esc over typed entries asks before they go.
  askBeforeEscDiscards(*this);
}

void QuotationDialog::setListTerms(std::function<Expected<job::QuotationTerms>()> listTerms) {
  listTerms_ = std::move(listTerms);
  fromList_->setVisible(bool(listTerms_));
}

QStringList QuotationDialog::totals() const {
  QStringList out;
  for (const QLabel* label : totals_)
    if (!label->text().isEmpty()) out << label->text();
  return out;
}

QString QuotationDialog::refusal() const { return refusal_->text(); }

QString QuotationDialog::wirePriceSource() const { return wirePriceSource_->text(); }

void QuotationDialog::putWirePrice(const job::QuotationTerms& terms, job::WirePriceSource from) {
  wirePriceText_ = qt(job::termText(terms.wireYenPerKg));
  editor_->figureBox(job::TermFigure::WirePrice)->setText(wirePriceText_);
  wireMaterial_ = terms.wireMaterial;
  wirePriceFrom_ = from;
  wirePricePut_ = terms.wireYenPerKg;
  wireFromMm_ = terms.wireDiameterFromMm;
  wireToMm_ = terms.wireDiameterToMm;
  wirePriceMissing_.clear();
}

void QuotationDialog::missWirePrice(ConductorMaterial material, const std::string& why) {
  // An empty box prices nothing until a price is typed: never the price of
  // another material or size left standing in it.
  wirePriceText_.clear();
  editor_->figureBox(job::TermFigure::WirePrice)->clear();
  wireMaterial_ = material;
  wirePriceFrom_ = job::WirePriceSource::PriceList;
  wirePricePut_.reset();
  wireFromMm_.reset();
  wireToMm_.reset();
  wirePriceMissing_ = qt(why);
}

bool QuotationDialog::wirePriceTyped() const {
  const QString text = editor_->figureBox(job::TermFigure::WirePrice)->text();
  if (text == wirePriceText_) return false;
  // "1,800" over 1800 is the same price; a text that does not read yet
  // ("2,") is being typed.
  const Expected<double> shown =
      job::readTermFigure(job::termName(job::TermFigure::WirePrice), text.toStdString());
  return !shown || !wirePricePut_ || *shown != *wirePricePut_;
}

void QuotationDialog::withBoxWire(job::QuotationTerms& terms) const {
  terms.wireMaterial = wireMaterial_;
  // A typed price is the job's own, for every size of its material.
  const bool typed = wirePriceTyped();
  terms.wireDiameterFromMm = typed ? std::nullopt : wireFromMm_;
  terms.wireDiameterToMm = typed ? std::nullopt : wireToMm_;
}

void QuotationDialog::sayWirePriceSource() {
  const bool typed = wirePriceTyped();
  if (!typed && !wirePriceMissing_.isEmpty()) return wirePriceSource_->setText(wirePriceMissing_);
  QString what = materialText(wireMaterial_);
  if (const std::string sizes = wireFromMm_ ? job::wireDiametersText(*wireFromMm_, wireToMm_) : "";
      !typed && !sizes.empty())
    what += QLatin1Char(' ') + qt(sizes) + QLatin1Char(' ');
  QString line;
  if (typed) {
    line = QStringLiteral("線材単価は、入力した%1の価格です。");
  } else if (wirePriceFrom_ == job::WirePriceSource::PriceList) {
    line = QStringLiteral("線材単価は、単価表の%1の価格です。");
  } else {
    line = QStringLiteral("線材単価は、この案件の見積条件の%1の価格です。");
  }
  wirePriceSource_->setText(line.arg(what));
}

void QuotationDialog::withhold(const QString& why) {
  refusal_->setText(why);
  coilFigures_->clear();
  prices_->setRowCount(0);
  for (QLabel* label : totals_) label->clear();
  subtotalCaption_->setText(QStringLiteral("小計"));
}

void QuotationDialog::showQuote(const job::CoilPrice& price) {
  refusal_->clear();
  coilFigures_->setText(
      QStringLiteral("線材質量 w = %1 kg（予測 Mid の合計重量）、巻き数 n = %2")
          .arg(qt(job::massText(price.wireMassKg)), qt(plainDecimal(price.turns))));
  const std::vector<job::LotPrice>& lots = price.quote.lots;
  prices_->setRowCount(int(lots.size()));
  for (int row = 0; row < int(lots.size()); ++row) {
    const job::LotPrice& lot = lots[std::size_t(row)];
    const QString cells[] = {
        qt(job::quantityText(lot.quantity)),  qt(job::costText(lot.materialYen)),
        qt(job::costText(lot.processingYen)), qt(job::costText(lot.partsYen)),
        qt(job::costText(lot.costYen)),       qt(job::unitPriceText(lot.unitPriceSen)),
        qt(job::yenText(lot.amountYen))};
    for (int column = 0; column < int(std::size(cells)); ++column)
      prices_->setItem(row, column, figureItem(cells[column]));
  }
  subtotalCaption_->setText(
      lots.empty()
          ? QStringLiteral("小計")
          : QStringLiteral("小計（数量 %1）").arg(qt(job::quantityText(lots.front().quantity))));
  totals_[0]->setText(qt(job::yenText(price.quote.subtotalYen)));
  totals_[1]->setText(qt(job::yenText(price.quote.taxYen)));
  totals_[2]->setText(qt(job::yenText(price.quote.totalYen)));
}

void QuotationDialog::refresh() {
  // A material changed under the pane: its price replaces the other's,
  // typed or not; a wire now in another row of the list: that row's price
  // replaces one put, never one typed.
  // A price of no row (typed, or kept from before lists had rows) stays
  // for its material whatever the diameter.
  const ConductorMaterial material = coil_.material();
  const bool ofARowOrNone = wireFromMm_ || !wirePricePut_;
  if (coil_.pricing && (material != wireMaterial_ || (ofARowOrNone && !wirePriceTyped()))) {
    const Expected<job::PricingTerms> now = coil_.pricing(material);
    if (!now) {
      missWirePrice(material, now.message());
    } else if (material != wireMaterial_ || !wirePricePut_ ||
               now->terms.wireDiameterFromMm != wireFromMm_ ||
               now->terms.wireDiameterToMm != wireToMm_) {
      putWirePrice(now->terms, now->wirePriceFrom);
    }
  }
  editor_->setWirePriceNote(QStringLiteral("（%1）").arg(materialText(wireMaterial_)));
  sayWirePriceSource();
  Expected<job::QuotationTerms> terms = editor_->read();
  if (terms) withBoxWire(terms.value());
  const bool current = coil_.resultsCurrent();
  press_->setVisible(!current);
  if (!terms && !wirePriceTyped() && !wirePriceMissing_.isEmpty())
    return withhold(wirePriceMissing_);
  if (!terms) return withhold(qt(terms.message()));
  if (!current) {
    return withhold(
        QStringLiteral("結果が入力と合っていないため、価格を出していません。「計算」を押すと、"
                       "その結果で価格を出します。"));
  }
  const Expected<job::CoilPrice> price = coil_.price(*terms);
  if (!price) return withhold(qt(price.message()));
  showQuote(*price);
}

void QuotationDialog::accept() {
  QWidget* refused = nullptr;
  Expected<job::QuotationTerms> terms = editor_->read(&refused);
  if (terms) withBoxWire(terms.value());
  if (!terms) {
    const bool missing = !wirePriceTyped() && !wirePriceMissing_.isEmpty();
    refusal_->setText(missing ? wirePriceMissing_ : qt(terms.message()));
    refused->setFocus();
    if (auto* box = qobject_cast<QLineEdit*>(refused)) box->selectAll();
    return;
  }
  // Figures that read well but could price no coil (a winding speed of 0).
  if (const auto checked = job::checkTerms(*terms); !checked.ok())
    return refusal_->setText(qt(checked.message()));
  terms_ = *terms;
  QDialog::accept();
}

}  // namespace kelvane::ui
