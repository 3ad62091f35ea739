#include "ui/item_list.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kelvane::ui {
namespace {

enum Column { PartNumber, Name, Quantity, UnitPrice, Amount, Mark, kColumnCount };

QTableWidgetItem* cell(const QString& text, bool editable, Qt::Alignment align) {
  auto* item = new QTableWidgetItem(text);
  Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  if (editable) flags |= Qt::ItemIsEditable;
  item->setFlags(flags);
  item->setTextAlignment(align | Qt::AlignVCenter);
  return item;
}

}  // namespace

ItemList::ItemList(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  auto* title = new QLabel(QStringLiteral("品目(&I)"), this);
  layout->addWidget(title);

  table_ = new QTableWidget(0, kColumnCount, this);
  table_->setObjectName(QStringLiteral("itemTable"));
  title->setBuddy(table_);
  table_->setHorizontalHeaderLabels({QStringLiteral("品番"), QStringLiteral("品名"),
                                     QStringLiteral("数量"), QStringLiteral("単価(円)"),
                                     QStringLiteral("金額(円)"), QString()});
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
  table_->verticalHeader()->setDefaultSectionSize(20);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  // The mark's column takes what the others leave, a word's width at least.
  table_->horizontalHeader()->setMinimumSectionSize(24);
  table_->horizontalHeader()->setDefaultSectionSize(48);
  table_->setColumnWidth(PartNumber, 72);
  table_->setColumnWidth(Name, 84);
  table_->setColumnWidth(Quantity, 50);
  table_->setColumnWidth(UnitPrice, 70);
  table_->setColumnWidth(Amount, 86);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setTabKeyNavigation(false);
  table_->installEventFilter(this);
  layout->addWidget(table_, 1);

  auto* basisRow = new QHBoxLayout;
  auto* basisLabel = new QLabel(QStringLiteral("見積書に載せる数量(&Q):"), this);
  basis_ = new QComboBox(this);
  basis_->setObjectName(QStringLiteral("basisLot"));
  basisLabel->setBuddy(basis_);
  basisRow->addWidget(basisLabel);
  basisRow->addWidget(basis_, 1);
  layout->addLayout(basisRow);

  auto* requirementRow = new QHBoxLayout;
  requirement_ = new QLabel(this);
  requirement_->setObjectName(QStringLiteral("requirements"));
  requirement_->setWordWrap(true);
  auto* requirementButton = new QPushButton(QStringLiteral("仕様…"), this);
  requirementButton->setToolTip(QStringLiteral("顧客の指定値と公差 (Ctrl+Shift+T)"));
  requirementButton->setAutoDefault(false);
  requirementRow->addWidget(requirement_, 1);
  requirementRow->addWidget(requirementButton);
  layout->addLayout(requirementRow);
  connect(requirementButton, &QPushButton::clicked, this, &ItemList::requirementRequested);

  const std::pair<QString, QString> commands[] = {
      {QStringLiteral("追加"), QStringLiteral("新しい品目を最後に加えます (Ctrl+Shift+N)")},
      {QStringLiteral("複製"),
       QStringLiteral("選んだ品目を、コイルと見積条件ごと写します (Ctrl+Shift+D)")},
      {QStringLiteral("削除"), QStringLiteral("選んだ品目を除きます (Ctrl+Shift+Del)")},
      {QStringLiteral("上へ"), QStringLiteral("選んだ品目を一つ上へ (Ctrl+Shift+↑)")},
      {QStringLiteral("下へ"), QStringLiteral("選んだ品目を一つ下へ (Ctrl+Shift+↓)")},
      {QStringLiteral("全品目を計算"),
       QStringLiteral("計算の済んでいない品目をすべて計算します (F9)")}};
  auto* row1 = new QHBoxLayout;
  auto* row2 = new QHBoxLayout;
  for (std::size_t i = 0; i < std::size(commands); ++i) {
    auto* button = new QPushButton(commands[i].first, this);
    button->setToolTip(commands[i].second);
    button->setAutoDefault(false);
    (i < 3 ? row1 : row2)->addWidget(button);
    buttons_.push_back(button);
  }
  layout->addLayout(row1);
  layout->addLayout(row2);
  connect(buttons_[0], &QPushButton::clicked, this, &ItemList::addRequested);
  connect(buttons_[1], &QPushButton::clicked, this, &ItemList::duplicateRequested);
  connect(buttons_[2], &QPushButton::clicked, this, &ItemList::removeRequested);
  connect(buttons_[3], &QPushButton::clicked, this, [this] { emit moveRequested(-1); });
  connect(buttons_[4], &QPushButton::clicked, this, [this] { emit moveRequested(1); });
  connect(buttons_[5], &QPushButton::clicked, this, &ItemList::computeAllRequested);

  connect(table_, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
    if (!filling_ && row >= 0 && row != previous) emit chosen(row);
  });
  connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* changed) {
    if (filling_ || changed->column() > Name) return;
    const int row = changed->row();
    emit namesEdited(row, table_->item(row, PartNumber)->text().trimmed(),
                     table_->item(row, Name)->text().trimmed());
  });
  connect(basis_, &QComboBox::activated, this, [this](int lot) { emit basisLotChosen(lot); });
}

void ItemList::setRows(const std::vector<ItemRow>& rows, int current) {
  filling_ = true;
  const QSignalBlocker quiet(table_);
  table_->setRowCount(static_cast<int>(rows.size()));
  const Qt::Alignment left = Qt::AlignLeft, right = Qt::AlignRight;
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const ItemRow& row = rows[static_cast<std::size_t>(r)];
    const std::pair<QString, bool> texts[kColumnCount] = {
        {row.partNumber, true}, {row.name, true},    {row.quantity, false},
        {row.unitPrice, false}, {row.amount, false}, {row.mark, false}};
    for (int c = 0; c < kColumnCount; ++c) {
      QTableWidgetItem* item = table_->item(r, c);
      // A cell being typed into keeps what is typed.
      if (item && item->text() == texts[c].first) continue;
      table_->setItem(
          r, c, cell(texts[c].first, texts[c].second, c >= Quantity && c <= Amount ? right : left));
    }
    QTableWidgetItem* mark = table_->item(r, Mark);
    mark->setToolTip(row.markTip);
    mark->setForeground(row.mark.isEmpty() ? palette().text() : QBrush(QColor(0xC0, 0x00, 0x00)));
  }
  table_->setCurrentCell(current, table_->currentColumn() < 0 ? 0 : table_->currentColumn());
  table_->scrollToItem(table_->item(current, 0));
  buttons_[2]->setEnabled(rows.size() > 1);
  buttons_[3]->setEnabled(current > 0);
  buttons_[4]->setEnabled(current + 1 < static_cast<int>(rows.size()));
  filling_ = false;
}

void ItemList::setBasisLots(const QStringList& quantities, int basis) {
  const QSignalBlocker quiet(basis_);
  basis_->clear();
  basis_->addItems(quantities);
  basis_->setCurrentIndex(basis);
  basis_->setEnabled(!quantities.isEmpty());
}

void ItemList::setRequirement(const QString& text, bool missed) {
  requirement_->setText(text.isEmpty() ? QStringLiteral("仕様: なし") : text);
  QPalette p = palette();
  if (missed) p.setColor(QPalette::WindowText, QColor(0xC0, 0x00, 0x00));
  requirement_->setPalette(p);
}

bool ItemList::eventFilter(QObject* watched, QEvent* event) {
  // Keys on the list itself; a cell being typed into has its own editor.
  if (watched == table_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_Insert) {
      emit addRequested();
      return true;
    }
    if (key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_Delete) {
      emit removeRequested();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace kelvane::ui
