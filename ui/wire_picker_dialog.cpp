#include "ui/wire_picker_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <string>
#include <variant>

#include "core/coil_fields.h"
#include "wiredata/wire_picker_text.h"

namespace kelvane::ui {
namespace {

QString qt(const std::string& s) { return QString::fromStdString(s); }

QString heading(const wiredata::WireColumn& column) {
  if (column.unit.empty()) return qt(column.label);
  return QStringLiteral("%1\n(%2)").arg(qt(column.label), qt(column.unit));
}

// A cell as the table shows it, figures on the right; a remark's text as
// its tooltip.
QTableWidgetItem* itemOf(const wiredata::WireTable& table, std::size_t row, std::size_t column) {
  auto* item = new QTableWidgetItem(qt(wiredata::cellText(table, row, column)));
  const bool figure = std::holds_alternative<double>(table.rows[row].cells[column]);
  item->setTextAlignment(figure ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter);
  if (const wiredata::WireFootnote* note = table.footnoteAt(row, column))
    item->setToolTip(qt(note->mark + " " + note->text));
  return item;
}

}  // namespace

WirePickerDialog::WirePickerDialog(const std::vector<wiredata::WireTable>& tables, QWidget* parent)
    : QDialog(parent), tables_(tables) {
  setWindowTitle(QStringLiteral("規格線から選ぶ"));

  tableChoice_ = new QComboBox(this);
  for (const wiredata::WireTable& t : tables_) tableChoice_->addItem(qt(t.title));
  // A diameter typed as the boxes of the window take it ("1.0", "１．０")
  // finds its row: the table shows 1.000, and keyboard search on the grid
  // matches text only.
  search_ = new QLineEdit(this);
  search_->setPlaceholderText(QStringLiteral("例: 1.0"));
  found_ = new QLabel(this);
  auto* searchRow = new QHBoxLayout;
  searchRow->addWidget(search_, 1);
  searchRow->addWidget(found_, 2);

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
  notes_ = new QLabel(this);
  notes_->setWordWrap(true);

  auto* buttons = new QDialogButtonBox(this);
  choose_ = buttons->addButton(QStringLiteral("選ぶ"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  choose_->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &WirePickerDialog::take);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* top = new QFormLayout;
  top->addRow(QStringLiteral("表(&T):"), tableChoice_);
  auto* searchLabel = new QLabel(QStringLiteral("導体径で探す(&F):"), this);
  searchLabel->setBuddy(search_);  // a layout in the field gives the label no buddy of its own
  top->addRow(searchLabel, searchRow);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(how_);
  layout->addWidget(grid_, 1);
  layout->addWidget(notes_);
  layout->addWidget(source_);
  layout->addWidget(chosen_);
  layout->addWidget(buttons);

  connect(tableChoice_, &QComboBox::currentIndexChanged, this, &WirePickerDialog::showTable);
  connect(search_, &QLineEdit::textChanged, this, &WirePickerDialog::findDiameter);
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
  how_->setText(qt(wiredata::howToChoose(t, inputField(InputBox::BareDiameter).name,
                                         inputField(InputBox::FinishedDiameter).name)));

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
      const auto column = static_cast<std::size_t>(c);
      QTableWidgetItem* item = itemOf(t, static_cast<std::size_t>(r), column);
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
  QStringList remarks;
  for (const wiredata::WireFootnote& note : t.footnotes) remarks << qt(note.mark + " " + note.text);
  notes_->setText(remarks.join(QStringLiteral("\n")));
  notes_->setVisible(!remarks.isEmpty());
  grid_->resizeColumnsToContents();
  grid_->resizeRowsToContents();
  grid_->setMinimumWidth(grid_->horizontalHeader()->length() + 2 * grid_->frameWidth() +
                         grid_->verticalScrollBar()->sizeHint().width());
  showCurrent();
  findDiameter(search_->text());
}

void WirePickerDialog::findDiameter(const QString& text) {
  const wiredata::DiameterSearch found = wiredata::findTypedDiameter(table(), text.toStdString());
  found_->setText(qt(found.text));
  if (found.text.empty()) return;
  if (!found.cell) {
    // A row that an earlier part of the text matched ("0.5" of "0.53") is
    // no longer what is asked for: Enter must not take it.
    grid_->setCurrentItem(nullptr);
    grid_->clearSelection();
    return;
  }
  const int r = static_cast<int>(found.cell->row), column = static_cast<int>(found.cell->column);
  grid_->setCurrentCell(r, column);
  grid_->scrollToItem(grid_->item(r, column), QAbstractItemView::PositionAtCenter);
}

std::optional<wiredata::WireChoice> WirePickerDialog::choice() const {
  const QTableWidgetItem* item = grid_->currentItem();
  if (!item || !item->isSelected()) return std::nullopt;
  return wiredata::wireChoice(table(), item->row(), item->column());
}

void WirePickerDialog::showCurrent() {
  const wiredata::WireTable& t = table();
  const int row = grid_->currentRow();
  source_->setPlainText(qt(wiredata::sourceText(
      t, row < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(row)))));
  const std::optional<wiredata::WireChoice> c = choice();
  choose_->setEnabled(c.has_value());
  chosen_->setText(qt(wiredata::choiceText(c, inputField(InputBox::BareDiameter).name,
                                           inputField(InputBox::FinishedDiameter).name)));
}

QString WirePickerDialog::remarks() const { return notes_->text(); }

QString WirePickerDialog::sourceText() const { return source_->toPlainText(); }

void WirePickerDialog::take() {
  if (choice()) accept();
}

}  // namespace kelvane::ui
