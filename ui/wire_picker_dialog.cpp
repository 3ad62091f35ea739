#include "ui/wire_picker_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <variant>

#include "core/number_text.h"
#include "form/box_names.h"

namespace kelvane::ui {
namespace {

QString qt(const std::string& s) { return QString::fromStdString(s); }

QString bareName() { return qt(form::boxName(form::box::BareDiameter)); }
QString finishedName() { return qt(form::boxName(form::box::FinishedDiameter)); }

QString heading(const wiredata::WireColumn& column) {
  if (column.unit.empty()) return qt(column.label);
  return QStringLiteral("%1\n(%2)").arg(qt(column.label), qt(column.unit));
}

// A cell as the table shows it: a figure written as the box would get it, a
// size as the data spells it, a dash where the source gives nothing.
QTableWidgetItem* itemOf(const wiredata::WireCell& cell) {
  auto* item = new QTableWidgetItem;
  if (const double* figure = std::get_if<double>(&cell)) {
    item->setText(qt(plainDecimal(*figure)));
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  } else if (const std::string* text = std::get_if<std::string>(&cell)) {
    item->setText(qt(*text));
    item->setTextAlignment(Qt::AlignCenter);
  } else {
    item->setText(QStringLiteral("—"));
    item->setTextAlignment(Qt::AlignCenter);
  }
  return item;
}

}  // namespace

WirePickerDialog::WirePickerDialog(const std::vector<wiredata::WireTable>& tables, QWidget* parent)
    : QDialog(parent), tables_(tables) {
  setWindowTitle(QStringLiteral("規格線から選ぶ"));

  tableChoice_ = new QComboBox(this);
  for (const wiredata::WireTable& t : tables_) tableChoice_->addItem(qt(t.title));

  grid_ = new QTableWidget(this);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->verticalHeader()->hide();
  grid_->horizontalHeader()->setStretchLastSection(true);  // a narrow table keeps no blank
  grid_->setWordWrap(false);
  grid_->setAlternatingRowColors(true);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  how_ = new QLabel(this);
  how_->setWordWrap(true);
  // The citations are long English sentences with addresses in them: they
  // wrap anywhere rather than widen the dialog.
  source_ = new QTextBrowser(this);
  source_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  source_->setFrameShape(QFrame::NoFrame);
  source_->viewport()->setAutoFillBackground(false);
  source_->setFocusPolicy(Qt::NoFocus);
  source_->setFixedHeight(6 * fontMetrics().lineSpacing() +
                          2 * static_cast<int>(source_->document()->documentMargin()));
  chosen_ = new QLabel(this);

  auto* buttons = new QDialogButtonBox(this);
  choose_ = buttons->addButton(QStringLiteral("選ぶ"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  choose_->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &WirePickerDialog::take);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* top = new QFormLayout;
  top->addRow(QStringLiteral("表(&T):"), tableChoice_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(how_);
  layout->addWidget(grid_, 1);
  layout->addWidget(source_);
  layout->addWidget(chosen_);
  layout->addWidget(buttons);

  connect(tableChoice_, &QComboBox::currentIndexChanged, this, &WirePickerDialog::showTable);
  connect(grid_, &QTableWidget::itemSelectionChanged, this, &WirePickerDialog::showCurrent);
  connect(grid_, &QTableWidget::currentCellChanged, this, &WirePickerDialog::showCurrent);
  connect(grid_, &QTableWidget::cellDoubleClicked, this, &WirePickerDialog::take);

  showTable(0);
  grid_->setFocus(Qt::OtherFocusReason);
  resize(sizeHint().width(), 46 * fontMetrics().lineSpacing());
}

const wiredata::WireTable& WirePickerDialog::table() const {
  return tables_[static_cast<std::size_t>(tableChoice_->currentIndex())];
}

void WirePickerDialog::showTable(int index) {
  if (index < 0) return;
  const wiredata::WireTable& t = table();
  const bool gradeCells = wiredata::givesFinishedDiameter(t);
  how_->setText(gradeCells ? QStringLiteral("グレードの欄を選ぶと、%1に導体径、%2にそのグレードの"
                                            "最大仕上外径が入ります。")
                                 .arg(bareName(), finishedName())
                           : QStringLiteral("行を選ぶと、%1に導体径 (mm) が入ります。この表には"
                                            "仕上外径がないため、%2は変わりません。")
                                 .arg(bareName(), finishedName()));

  grid_->clear();
  grid_->setSelectionBehavior(gradeCells ? QAbstractItemView::SelectItems
                                         : QAbstractItemView::SelectRows);
  const int columns = static_cast<int>(t.columns.size());
  grid_->setColumnCount(columns + 1);
  grid_->setRowCount(static_cast<int>(t.rows.size()));
  QStringList headings;
  for (const wiredata::WireColumn& column : t.columns) headings << heading(column);
  headings << QStringLiteral("出典");
  grid_->setHorizontalHeaderLabels(headings);

  for (int r = 0; r < grid_->rowCount(); ++r) {
    const wiredata::WireRow& row = t.rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < columns; ++c) {
      QTableWidgetItem* item = itemOf(row.cells[static_cast<std::size_t>(c)]);
      if (wiredata::wireChoice(t, r, c)) {
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      } else if (std::holds_alternative<std::monostate>(row.cells[static_cast<std::size_t>(c)])) {
        item->setFlags(Qt::NoItemFlags);  // greyed, and the keys pass it by
      } else {
        item->setFlags(Qt::ItemIsEnabled);  // read, not chosen
      }
      grid_->setItem(r, c, item);
    }
    auto* key = new QTableWidgetItem(qt(row.source));
    key->setFlags(Qt::ItemIsEnabled);
    grid_->setItem(r, columns, key);
  }
  grid_->resizeColumnsToContents();
  grid_->resizeRowsToContents();
  grid_->setMinimumWidth(grid_->horizontalHeader()->length() + 2 * grid_->frameWidth() +
                         grid_->verticalScrollBar()->sizeHint().width());
  showCurrent();
}

std::optional<wiredata::WireChoice> WirePickerDialog::choice() const {
  const QTableWidgetItem* item = grid_->currentItem();
  if (!item || !item->isSelected()) return std::nullopt;
  return wiredata::wireChoice(table(), item->row(), item->column());
}

void WirePickerDialog::showCurrent() {
  const wiredata::WireTable& t = table();
  const int row = grid_->currentRow();
  if (row >= 0 && row < static_cast<int>(t.rows.size())) {
    const std::string& key = t.rows[static_cast<std::size_t>(row)].source;
    const auto citation = t.sources.find(key);
    source_->setPlainText(
        QStringLiteral("この行の出典 (%1): %2")
            .arg(qt(key), citation == t.sources.end() ? QString() : qt(citation->second)));
  } else {
    source_->setPlainText(QStringLiteral("この表の出典: %1").arg(qt(t.source)));
  }

  const std::optional<wiredata::WireChoice> c = choice();
  choose_->setEnabled(c.has_value());
  if (!c) {
    chosen_->setText(QStringLiteral("選べる欄を選んでください。"));
  } else if (c->finishedDiameter) {
    chosen_->setText(
        QStringLiteral("%1 %2 mm、%3 %4 mm を入れます。")
            .arg(bareName(), qt(c->bareDiameter), finishedName(), qt(*c->finishedDiameter)));
  } else {
    chosen_->setText(QStringLiteral("%1 %2 mm を入れます。").arg(bareName(), qt(c->bareDiameter)));
  }
}

void WirePickerDialog::take() {
  if (choice()) accept();
}

}  // namespace kelvane::ui
