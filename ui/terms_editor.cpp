#include "ui/terms_editor.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kelvane::ui {
namespace {

QString qt(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QLineEdit* numberBox(QWidget* parent, const QString& name) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setMaxLength(32);
  box->setFixedWidth(90);
  box->setAlignment(Qt::AlignRight);
  return box;
}

QString cellText(const QTableWidget& table, int row, int column) {
  const QTableWidgetItem* item = table.item(row, column);
  return item ? item->text().trimmed() : QString();
}

}  // namespace

TermsEditor::TermsEditor(WirePrice wirePrice, QWidget* parent)
    : QWidget(parent), wirePriceShown_(wirePrice == WirePrice::Shown) {
  auto* form = new QFormLayout;
  for (const job::TermFigure figure : job::kTermFigures) {
    QLineEdit* box = numberBox(this, qt(job::termName(figure)));
    figures_[figure] = box;
    connect(box, &QLineEdit::textEdited, this, &TermsEditor::edited);
    const bool wire = figure == job::TermFigure::WirePrice;
    if (wire && !wirePriceShown_) {
      box->hide();
      continue;
    }
    auto* row = new QHBoxLayout;
    row->addWidget(box);
    row->addWidget(new QLabel(qt(job::termUnit(figure)), this));
    if (wire) {
      wirePriceNote_ = new QLabel(this);
      row->addWidget(wirePriceNote_);
    }
    row->addStretch();
    form->addRow(qt(job::termName(figure)), row);
  }

  auto* lots = new QHBoxLayout;
  for (std::size_t i = 0; i < quantities_.size(); ++i) {
    quantities_[i] = numberBox(this, QStringLiteral("数量%1").arg(i + 1));
    quantities_[i]->setFixedWidth(72);
    connect(quantities_[i], &QLineEdit::textEdited, this, &TermsEditor::edited);
    lots->addWidget(quantities_[i]);
  }
  lots->addWidget(new QLabel(QStringLiteral("個"), this));
  lots->addStretch();
  form->addRow(QStringLiteral("数量"), lots);

  parts_ = new QTableWidget(0, 2, this);
  parts_->setObjectName(QStringLiteral("部材"));
  parts_->setHorizontalHeaderLabels({QStringLiteral("部材名"), QStringLiteral("円/個")});
  parts_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  parts_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Fixed);
  parts_->setColumnWidth(1, 90);
  parts_->verticalHeader()->setDefaultSectionSize(22);
  parts_->setMinimumHeight(120);
  parts_->setTabKeyNavigation(false);
  connect(parts_, &QTableWidget::itemChanged, this, &TermsEditor::edited);
  addPart_ = new QPushButton(QStringLiteral("追加"), this);
  addPart_->setToolTip(QStringLiteral("部材は %1 点まで入れられます。").arg(job::kMaxParts));
  auto* remove = new QPushButton(QStringLiteral("削除"), this);
  for (QPushButton* b : {addPart_, remove}) b->setAutoDefault(false);
  connect(addPart_, &QPushButton::clicked, this, [this] {
    addPart({});
    parts_->setCurrentCell(parts_->rowCount() - 1, 0);
    parts_->editItem(parts_->item(parts_->rowCount() - 1, 0));
  });
  connect(remove, &QPushButton::clicked, this, [this] {
    if (parts_->currentRow() < 0) return;
    parts_->removeRow(parts_->currentRow());
    addPart_->setEnabled(true);
    emit edited();
  });
  auto* partButtons = new QVBoxLayout;
  partButtons->addWidget(addPart_);
  partButtons->addWidget(remove);
  partButtons->addStretch();
  auto* partsRow = new QHBoxLayout;
  partsRow->addWidget(parts_);
  partsRow->addLayout(partButtons);
  form->addRow(QStringLiteral("部材"), partsRow);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(form);
}

void TermsEditor::addPart(const job::PartPrice& part) {
  const QSignalBlocker quiet(parts_);
  const int row = parts_->rowCount();
  parts_->insertRow(row);
  parts_->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(part.name)));
  auto* price = new QTableWidgetItem(part.name.empty() && part.yenPerPiece == 0
                                         ? QString()
                                         : QString::fromStdString(job::termText(part.yenPerPiece)));
  price->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  parts_->setItem(row, 1, price);
  addPart_->setEnabled(parts_->rowCount() < int(job::kMaxParts));
}

void TermsEditor::setTerms(const job::QuotationTerms& terms) {
  for (const auto& [figure, box] : figures_)
    box->setText(QString::fromStdString(job::termText(job::termValue(terms, figure))));
  for (std::size_t i = 0; i < quantities_.size(); ++i) {
    quantities_[i]->setText(i < terms.quantities.size()
                                ? QString::fromStdString(job::quantityText(terms.quantities[i]))
                                : QString());
  }
  parts_->setRowCount(0);
  for (const job::PartPrice& part : terms.parts) addPart(part);
}

void TermsEditor::setWirePriceNote(const QString& note) {
  if (wirePriceNote_) wirePriceNote_->setText(note);
}

Expected<job::QuotationTerms> TermsEditor::read(QWidget** refused) const {
  auto refuse = [refused](QWidget* box, const Failure& why) {
    if (refused) *refused = box;
    return why;
  };
  job::QuotationTerms terms;
  for (const auto& [figure, box] : figures_) {
    if (figure == job::TermFigure::WirePrice && !wirePriceShown_) continue;
    const Expected<double> value = job::readTermFigure(
        job::termName(figure), box->text().toStdString(), job::termUnits(figure));
    if (!value) return refuse(box, value.failure());
    job::termValue(terms, figure) = *value;
  }
  for (std::size_t i = 0; i < quantities_.size(); ++i) {
    const std::string name = "数量" + std::to_string(i + 1);
    const auto pieces = job::readQuantity(name, quantities_[i]->text().toStdString());
    if (!pieces) return refuse(quantities_[i], pieces.failure());
    if (*pieces) terms.quantities.push_back(**pieces);
  }
  if (terms.quantities.empty())
    return refuse(quantities_[0], Failure{"「数量1」に、見積もる数量を入力してください。"});
  for (int row = 0; row < parts_->rowCount(); ++row) {
    const QString name = cellText(*parts_, row, 0), price = cellText(*parts_, row, 1);
    if (name.isEmpty() && price.isEmpty()) continue;  // a row added and left empty
    const std::string place = "部材 " + std::to_string(row + 1) + " 行目";
    if (name.isEmpty()) return refuse(parts_, Failure{place + "の部材名を入力してください。"});
    static constexpr std::string_view kYen[] = {"円"};
    const Expected<double> yen = job::readTermFigure(place + "の単価", price.toStdString(), kYen);
    if (!yen) return refuse(parts_, yen.failure());
    terms.parts.push_back({name.toStdString(), *yen});
  }
  return terms;
}

}  // namespace kelvane::ui
