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
#include <algorithm>
#include <utility>
#include <variant>

#include "core/number_text.h"
#include "core/typed_number.h"
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

// A figure as the table shows it: with the decimals its column states its
// figures to ("1.000", not "1"), or as the data gives it where the column has
// none or the figure carries more.
QString figureText(double figure, const wiredata::WireColumn& column) {
  const std::string plain = plainDecimal(figure);
  if (!column.decimals) return qt(plain);
  const auto point = plain.find('.');
  const int given = point == std::string::npos ? 0 : static_cast<int>(plain.size() - point - 1);
  if (given > *column.decimals) return qt(plain);
  return QString::number(figure, 'f', *column.decimals);
}

// A cell as the table shows it: a figure as above, a size as the data spells
// it, a dash where the source gives nothing; a remark's mark after it.
QTableWidgetItem* itemOf(const wiredata::WireCell& cell, const wiredata::WireColumn& column,
                         const wiredata::WireFootnote* note) {
  auto* item = new QTableWidgetItem;
  QString text;
  if (const double* figure = std::get_if<double>(&cell)) {
    text = figureText(*figure, column);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  } else if (const std::string* size = std::get_if<std::string>(&cell)) {
    text = qt(*size);
    item->setTextAlignment(Qt::AlignCenter);
  } else {
    text = QStringLiteral("—");
    item->setTextAlignment(Qt::AlignCenter);
  }
  if (note) {
    text += QStringLiteral(" ") + qt(note->mark);
    item->setToolTip(qt(note->mark + " " + note->text));
  }
  item->setText(text);
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
  how_->setText(gradeCells ? QStringLiteral("最大仕上外径の欄を選ぶと、%1に導体径、%2にその欄の"
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
      const auto column = static_cast<std::size_t>(c);
      QTableWidgetItem* item = itemOf(row.cells[column], t.columns[column],
                                      t.footnoteAt(static_cast<std::size_t>(r), column));
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
  if (text.trimmed().isEmpty()) {
    found_->clear();
    return;
  }
  const TypedNumber typed = readTypedNumber(text.toStdString());
  const wiredata::WireTable& t = table();
  const std::optional<std::size_t> row =
      typed.overflow || typed.unclearComma ? std::nullopt : wiredata::rowOfDiameter(t, typed.value);
  if (!row) {
    // A row that an earlier part of the text matched ("0.5" of "0.53") is
    // no longer what is asked for: Enter must not take it.
    grid_->setCurrentItem(nullptr);
    grid_->clearSelection();
    found_->setText(QStringLiteral("この表にその導体径はありません。"));
    return;
  }
  // The row's first cell that can be chosen: its thinnest grade, or the row
  // itself in a table without overall diameters.
  const int r = static_cast<int>(*row);
  int column = 0;
  for (int c = 0; c < grid_->columnCount() - 1; ++c) {
    if (wiredata::wireChoice(t, *row, static_cast<std::size_t>(c))) {
      column = c;
      break;
    }
  }
  grid_->setCurrentCell(r, column);
  grid_->scrollToItem(grid_->item(r, column), QAbstractItemView::PositionAtCenter);
  found_->setText(QStringLiteral("%1 mm の行").arg(grid_->item(r, 0)->text()));
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
    const wiredata::WireRow& wire = t.rows[static_cast<std::size_t>(row)];
    const auto citationOf = [&t](const std::string& key) {
      const auto citation = t.sources.find(key);
      return citation == t.sources.end() ? QString() : qt(citation->second);
    };
    QString text =
        QStringLiteral("この行の出典 (%1): %2").arg(qt(wire.source), citationOf(wire.source));
    // Columns whose figures come from elsewhere name their source too, where
    // the row has such a figure: one line a source, naming its columns.
    std::vector<std::pair<std::string, QStringList>> others;
    for (std::size_t c = 0; c < t.columns.size(); ++c) {
      const std::string& key = t.columns[c].source;
      if (key.empty() || key == wire.source) continue;
      if (std::holds_alternative<std::monostate>(wire.cells[c])) continue;
      auto other = std::find_if(others.begin(), others.end(),
                                [&key](const auto& o) { return o.first == key; });
      if (other == others.end()) other = others.insert(others.end(), {key, {}});
      other->second << qt(t.columns[c].label);
    }
    for (const auto& [key, labels] : others)
      text += QStringLiteral("\n%1の出典 (%2): %3")
                  .arg(labels.join(QStringLiteral("・")), qt(key), citationOf(key));
    source_->setPlainText(text);
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

QString WirePickerDialog::remarks() const { return notes_->text(); }

QString WirePickerDialog::sourceText() const { return source_->toPlainText(); }

void WirePickerDialog::take() {
  if (choice()) accept();
}

}  // namespace kelvane::ui
