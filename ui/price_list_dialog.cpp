#include "ui/price_list_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "job/quotation_text.h"
#include "ui/price_list_file.h"
#include "ui/sheet_cost.h"
#include "ui/terms_editor.h"

namespace kelvane::ui {
namespace {

constexpr std::array<ConductorMaterial, 3> kMaterials = {ConductorMaterial::Copper,
                                                         ConductorMaterial::Aluminium,
                                                         ConductorMaterial::CopperCladAluminium85};

QString savedText(const job::PriceList& list) {
  if (list.savedAt.empty()) return QStringLiteral("組み込みの単価（まだ保存していません）");
  return QStringLiteral("%1 に保存").arg(QString::fromStdString(list.savedAt));
}

}  // namespace

PriceListDialog::PriceListDialog(const job::PriceList& list, QWidget* parent)
    : QDialog(parent), list_(list) {
  setWindowTitle(QStringLiteral("単価表"));

  auto* wire = new QGroupBox(QStringLiteral("線材単価"), this);
  auto* wireForm = new QFormLayout(wire);
  for (const ConductorMaterial m : kMaterials) {
    auto* box = new QLineEdit(
        QString::fromStdString(job::termText(list.wireYenPerKg[static_cast<std::size_t>(m)])),
        this);
    box->setObjectName(materialText(m));
    box->setMaxLength(32);
    box->setFixedWidth(90);
    box->setAlignment(Qt::AlignRight);
    wirePrices_[static_cast<std::size_t>(m)] = box;
    auto* row = new QHBoxLayout;
    row->addWidget(box);
    row->addWidget(new QLabel(QStringLiteral("円/kg"), this));
    row->addStretch();
    wireForm->addRow(materialText(m), row);
  }

  editor_ = new TermsEditor(TermsEditor::WirePrice::Hidden, this);
  editor_->setTerms(list.defaults);
  auto* defaults = new QGroupBox(QStringLiteral("新しい見積の条件"), this);
  (new QVBoxLayout(defaults))->addWidget(editor_);

  auto* where = new QLabel(
      QStringLiteral("%1\n%2").arg(savedText(list), QDir::toNativeSeparators(priceListPath())),
      this);
  where->setTextInteractionFlags(Qt::TextSelectableByMouse);
  where->setStyleSheet(QStringLiteral("color: #555555;"));
  refusal_ = new QLabel(this);
  refusal_->setObjectName(QStringLiteral("refusal"));
  refusal_->setStyleSheet(QStringLiteral("color: #c00000;"));
  refusal_->setWordWrap(true);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("保存"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(wire);
  layout->addWidget(defaults);
  layout->addWidget(where);
  layout->addWidget(refusal_);
  layout->addWidget(buttons);
}

QString PriceListDialog::refusal() const { return refusal_->text(); }

void PriceListDialog::accept() {
  auto refuse = [this](const std::string& why, QWidget* box) {
    refusal_->setText(QString::fromStdString(why));
    if (!box) return;
    box->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(box)) line->selectAll();
  };
  job::PriceList list = list_;
  for (const ConductorMaterial m : kMaterials) {
    QLineEdit* box = wirePriceBox(m);
    const Expected<double> yen =
        job::readTermFigure(QStringLiteral("線材単価（%1）").arg(materialText(m)).toStdString(),
                            box->text().toStdString(), job::termUnits(job::TermFigure::WirePrice));
    if (!yen) return refuse(yen.message(), box);
    list.wireYenPerKg[static_cast<std::size_t>(m)] = *yen;
  }
  QWidget* refused = nullptr;
  const Expected<job::QuotationTerms> defaults = editor_->read(&refused);
  if (!defaults) return refuse(defaults.message(), refused);
  list.defaults = *defaults;
  // Figures that read well but could price no coil (a winding speed of 0).
  if (const auto checked = job::checkTerms(job::termsFor(list, ConductorMaterial::Copper));
      !checked.ok())
    return refuse(checked.message(), nullptr);
  list_ = std::move(list);
  QDialog::accept();
}

}  // namespace kelvane::ui
