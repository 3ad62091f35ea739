#include "ui/price_list_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "core/typed_number.h"
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

QString qt(const std::string& text) { return QString::fromStdString(text); }

std::optional<ConductorMaterial> materialOf(const QString& text) {
  for (const ConductorMaterial m : kMaterials)
    if (text.trimmed() == materialText(m)) return m;
  return std::nullopt;
}

QTableWidgetItem* figureCell(const QString& text) {
  auto* cell = new QTableWidgetItem(text);
  cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return cell;
}

QString cellText(const QTableWidget& table, int row, int column) {
  const QTableWidgetItem* cell = table.item(row, column);
  return cell ? cell->text().trimmed() : QString();
}

// The material cell is edited as a list of the three materials (F2 or a
// key opens it, the arrows choose, Enter takes), so that no row names a
// material the program does not know.
class MaterialDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex&) const override {
    auto* box = new QComboBox(parent);
    for (const ConductorMaterial m : kMaterials) box->addItem(materialText(m));
    return box;
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* box = static_cast<QComboBox*>(editor);
    const int at = box->findText(index.data().toString());
    box->setCurrentIndex(at < 0 ? 0 : at);
  }
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override {
    model->setData(index, static_cast<QComboBox*>(editor)->currentText());
  }
};

}  // namespace

PriceListDialog::PriceListDialog(const job::PriceList& list, QWidget* parent)
    : QDialog(parent), list_(list) {
  setWindowTitle(QStringLiteral("単価表"));

  wirePrices_ = new QTableWidget(0, 4, this);
  wirePrices_->setObjectName(QStringLiteral("線材単価"));
  wirePrices_->setHorizontalHeaderLabels({QStringLiteral("材料"), QStringLiteral("線径 から (mm)"),
                                          QStringLiteral("まで (mm)"), QStringLiteral("円/kg")});
  wirePrices_->horizontalHeader()->setSectionResizeMode(Material, QHeaderView::Stretch);
  for (const int c : {FromMm, ToMm, YenPerKg}) wirePrices_->setColumnWidth(c, 100);
  wirePrices_->verticalHeader()->setDefaultSectionSize(22);
  wirePrices_->setMinimumSize(520, 200);
  wirePrices_->setItemDelegateForColumn(Material, new MaterialDelegate(wirePrices_));
  wirePrices_->setEditTriggers(QAbstractItemView::DoubleClicked |
                               QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::AnyKeyPressed);
  // The arrows move between cells; Tab leaves the table, as in the form.
  wirePrices_->setTabKeyNavigation(false);
  wirePrices_->setToolTip(
      QStringLiteral("線径は素線径で、「から」を含み「まで」を含みません。「から」が空なら 0、"
                     "「まで」が空ならそれより太い線すべてです。Insert で行を追加、"
                     "Ctrl+Delete で行を削除します。"));
  for (const job::WirePriceRow& row : list.wirePrices) appendRow(row);

  addRow_ = new QPushButton(QStringLiteral("行を追加(&A)"), this);
  removeRow_ = new QPushButton(QStringLiteral("行を削除(&D)"), this);
  for (QPushButton* b : {addRow_, removeRow_}) b->setAutoDefault(false);
  connect(addRow_, &QPushButton::clicked, this, &PriceListDialog::addWireRow);
  connect(removeRow_, &QPushButton::clicked, this, &PriceListDialog::removeWireRow);
  wirePrices_->installEventFilter(this);
  auto* rowButtons = new QVBoxLayout;
  rowButtons->addWidget(addRow_);
  rowButtons->addWidget(removeRow_);
  rowButtons->addStretch();
  auto* wire = new QGroupBox(QStringLiteral("線材単価（材料と素線径ごと）"), this);
  auto* wireLayout = new QHBoxLayout(wire);
  wireLayout->addWidget(wirePrices_, 1);
  wireLayout->addLayout(rowButtons);
  updateRowButtons();

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

bool PriceListDialog::eventFilter(QObject* watched, QEvent* event) {
  // Insert adds a row and Ctrl+Delete removes one while the table has the
  // keys (Delete alone is the cell's, as in a spreadsheet).
  if (watched == wirePrices_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
      addWireRow();
      return true;
    }
    if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::ControlModifier) {
      removeWireRow();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void PriceListDialog::appendRow(const job::WirePriceRow& row) {
  const int r = wirePrices_->rowCount();
  wirePrices_->insertRow(r);
  wirePrices_->setItem(r, Material, new QTableWidgetItem(materialText(row.material)));
  wirePrices_->setItem(r, FromMm, figureCell(qt(job::termText(row.fromMm))));
  wirePrices_->setItem(r, ToMm, figureCell(row.toMm ? qt(job::termText(*row.toMm)) : QString()));
  wirePrices_->setItem(r, YenPerKg, figureCell(qt(job::termText(row.yenPerKg))));
}

void PriceListDialog::updateRowButtons() {
  addRow_->setEnabled(wirePrices_->rowCount() < int(job::kMaxWirePriceRows));
  removeRow_->setEnabled(wirePrices_->rowCount() > 0);
}

void PriceListDialog::addWireRow() {
  if (wirePrices_->rowCount() >= int(job::kMaxWirePriceRows)) return;
  // A new row is most often the next size of the material above it.
  const int last = wirePrices_->rowCount() - 1;
  job::WirePriceRow row;
  if (last >= 0) {
    row.material = materialOf(cellText(*wirePrices_, last, Material)).value_or(row.material);
  }
  appendRow(row);
  const int r = wirePrices_->rowCount() - 1;
  wirePrices_->item(r, FromMm)->setText(last >= 0 ? cellText(*wirePrices_, last, ToMm) : QString());
  wirePrices_->item(r, YenPerKg)->setText(QString());
  wirePrices_->setFocus();
  wirePrices_->setCurrentCell(r, last >= 0 ? ToMm : Material);
  updateRowButtons();
}

void PriceListDialog::removeWireRow() {
  const int r = wirePrices_->currentRow();
  if (r < 0) return;
  wirePrices_->removeRow(r);
  wirePrices_->setFocus();
  if (wirePrices_->rowCount() > 0)
    wirePrices_->setCurrentCell(std::min(r, wirePrices_->rowCount() - 1), Material);
  updateRowButtons();
}

void PriceListDialog::accept() {
  auto refuse = [this](const std::string& why, QWidget* box) {
    refusal_->setText(QString::fromStdString(why));
    if (box) box->setFocus();
  };
  auto refuseCell = [&](const std::string& why, int row, int column) {
    refuse(why, wirePrices_);
    wirePrices_->setCurrentCell(row, column);
  };
  // A cell still being typed in (保存 clicked, or Ctrl+Enter) counts as
  // typed: its editor gives its text to the table as it loses the focus.
  if (QWidget* typing = QApplication::focusWidget();
      typing && typing != wirePrices_ && wirePrices_->isAncestorOf(typing))
    wirePrices_->setFocus();
  job::PriceList list = list_;
  list.wirePrices.clear();
  std::vector<int> tableRows;  // the table's row of each row of the list
  for (int r = 0; r < wirePrices_->rowCount(); ++r) {
    const QString texts[] = {cellText(*wirePrices_, r, Material), cellText(*wirePrices_, r, FromMm),
                             cellText(*wirePrices_, r, ToMm), cellText(*wirePrices_, r, YenPerKg)};
    // A row added and left empty (its material alone) is no row.
    if (texts[FromMm].isEmpty() && texts[ToMm].isEmpty() && texts[YenPerKg].isEmpty()) continue;
    const std::string place = "線材単価 " + std::to_string(r + 1) + " 行目";
    const std::optional<ConductorMaterial> material = materialOf(texts[Material]);
    if (!material) return refuseCell(place + "の材料を選んでください。", r, Material);
    job::WirePriceRow row{*material, 0, std::nullopt, 0};
    if (!texts[FromMm].isEmpty()) {
      const Expected<double> from = job::readTermFigure(
          place + "の線径（から）", texts[FromMm].toStdString(), units::kMillimetre);
      if (!from) return refuseCell(from.message(), r, FromMm);
      row.fromMm = *from;
    }
    if (!texts[ToMm].isEmpty()) {
      const Expected<double> to = job::readTermFigure(
          place + "の線径（まで）", texts[ToMm].toStdString(), units::kMillimetre);
      if (!to) return refuseCell(to.message(), r, ToMm);
      row.toMm = *to;
    }
    const Expected<double> yen =
        job::readTermFigure(place + "の円/kg", texts[YenPerKg].toStdString(),
                            job::termUnits(job::TermFigure::WirePrice));
    if (!yen) return refuseCell(yen.message(), r, YenPerKg);
    row.yenPerKg = *yen;
    list.wirePrices.push_back(row);
    tableRows.push_back(r);
  }
  std::optional<int> badRow;
  const Expected<void> rows = job::checkWirePrices(list.wirePrices, [&](std::size_t i) {
    if (!badRow) badRow = tableRows[i];
    return "線材単価 " + std::to_string(tableRows[i] + 1) + " 行目";
  });
  if (!rows.ok()) return refuseCell(rows.message(), badRow.value_or(0), FromMm);
  QWidget* refused = nullptr;
  const Expected<job::QuotationTerms> defaults = editor_->read(&refused);
  if (!defaults) {
    refuse(defaults.message(), refused);
    if (auto* line = qobject_cast<QLineEdit*>(refused)) line->selectAll();
    return;
  }
  list.defaults = *defaults;
  // Figures that read well but could price no coil (a winding speed of 0).
  if (const auto checked = job::checkTerms(list.defaults); !checked.ok())
    return refuse(checked.message(), nullptr);
  list_ = std::move(list);
  QDialog::accept();
}

}  // namespace kelvane::ui
