#include "ui/winding_bar.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "core/winding_stack.h"
#include "ui/business_keys.h"

namespace kelvane::ui {
namespace {

struct BoxDesign {
  const char* caption;      // before the box
  const char* unit;         // after it
  const char* placeholder;  // what an empty box stands for
  int width;
};
constexpr std::array<BoxDesign, WindingBar::kBoxCount> kBoxes = {{
    {"層間絶縁 厚み", "mm/層", "", 56},
    {"層数", "", "", 40},
    {"線材単価", "円/kg", "単価表", 64},
    {"巻線速度", "min⁻¹", "品目の値", 64},
    {"テープ単価", "円/層", "0", 56},
}};

}  // namespace

QString WindingBar::boxName(Box box) {
  switch (box) {
    case Box::Thickness:
      return QStringLiteral("層間絶縁の厚み");
    case Box::Layers:
      return QStringLiteral("層間絶縁の層数");
    case Box::WirePrice:
      return QStringLiteral("線材単価");
    case Box::Speed:
      return QStringLiteral("巻線速度");
    case Box::TapePrice:
      return QStringLiteral("層間テープ単価");
  }
  return {};
}

QString WindingBar::tabText(int index, const QString& name) {
  const QString number = QStringLiteral("巻線%1").arg(index + 1);
  return name.isEmpty() ? number : number + QLatin1Char(' ') + name;
}

WindingBar::WindingBar(QWidget* parent) : QWidget(parent) {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(6, 3, 6, 3);
  column->setSpacing(3);

  auto* top = new QHBoxLayout;
  top->setSpacing(6);
  tabs_ = new QTabBar(this);
  tabs_->setDrawBase(false);
  tabs_->setExpanding(false);
  tabs_->setUsesScrollButtons(true);
  // The keyboard reaches the windings through the 品目 menu's neighbours and
  // the mouse; Tab through the window stays the form's.
  tabs_->setFocusPolicy(Qt::NoFocus);
  top->addWidget(tabs_, 1);
  nameCaption_ = new QLabel(QStringLiteral("巻線名"), this);
  name_ = new QLineEdit(this);
  name_->setFixedWidth(90);
  name_->setMaxLength(40);
  nameCaption_->setBuddy(name_);
  top->addWidget(nameCaption_);
  top->addWidget(name_);
  add_ = new QPushButton(QStringLiteral("巻線を追加"), this);
  remove_ = new QPushButton(QStringLiteral("巻線を削除"), this);
  for (QPushButton* b : {add_, remove_}) {
    b->setFocusPolicy(Qt::ClickFocus);
    b->setAutoDefault(false);
    top->addWidget(b);
  }
  column->addLayout(top);

  upperRow_ = new QWidget(this);
  auto* row = new QHBoxLayout(upperRow_);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(4);
  auto* keys = new BusinessKeys([this](bool backwards) { pressEnter(backwards); }, this);
  name_->installEventFilter(keys);
  for (int i = 0; i < kBoxCount; ++i) {
    const BoxDesign& d = kBoxes[std::size_t(i)];
    if (i > 0) row->addSpacing(i == 2 || i == 4 ? 18 : 6);
    row->addWidget(new QLabel(QString::fromUtf8(d.caption), upperRow_));
    auto* box = new QLineEdit(upperRow_);
    box->setFixedWidth(d.width);
    box->setPlaceholderText(QString::fromUtf8(d.placeholder));
    box->installEventFilter(keys);
    row->addWidget(box);
    if (*d.unit) row->addWidget(new QLabel(QString::fromUtf8(d.unit), upperRow_));
    boxes_[std::size_t(i)] = box;
    const auto which = static_cast<Box>(i);
    connect(box, &QLineEdit::editingFinished, this, [this, which, box] {
      if (!filling_) emit boxLeft(which, box->text());
    });
  }
  row->addStretch(1);
  column->addWidget(upperRow_);

  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
    if (!filling_ && index >= 0) emit windingChosen(index);
  });
  connect(name_, &QLineEdit::textEdited, this, [this](const QString& name) {
    tabs_->setTabText(tabs_->currentIndex(), tabText(tabs_->currentIndex(), name));
    emit nameEdited(name);
  });
  connect(add_, &QPushButton::clicked, this, &WindingBar::addRequested);
  connect(remove_, &QPushButton::clicked, this, &WindingBar::removeRequested);
  setContent({{QString()}, 0, {}});
}

void WindingBar::setContent(const Content& content) {
  filling_ = true;
  {
    const QSignalBlocker quiet(tabs_);
    while (tabs_->count() > content.names.size()) tabs_->removeTab(tabs_->count() - 1);
    for (int i = 0; i < content.names.size(); ++i) {
      const QString text = tabText(i, content.names[i]);
      if (i < tabs_->count()) {
        tabs_->setTabText(i, text);
      } else {
        tabs_->addTab(text);
      }
    }
    tabs_->setCurrentIndex(content.shown);
  }
  // One winding: the bar is the tab and 巻線を追加, nothing more.
  const bool several = content.names.size() > 1;
  const bool upper = content.shown > 0;
  nameCaption_->setVisible(several);
  name_->setVisible(several);
  remove_->setVisible(several);
  remove_->setEnabled(upper);
  add_->setEnabled(content.names.size() < qsizetype(kMostWindings));
  if (name_->text() != content.names.value(content.shown)) {
    name_->setText(content.names.value(content.shown));
    name_->setCursorPosition(0);
  }
  upperRow_->setVisible(upper);
  for (int i = 0; i < kBoxCount; ++i) {
    QLineEdit* b = boxes_[std::size_t(i)];
    if (b->text() != content.boxes[std::size_t(i)]) {
      b->setText(content.boxes[std::size_t(i)]);
      b->setCursorPosition(0);
    }
  }
  filling_ = false;
}

void WindingBar::refuse(Box which) {
  QLineEdit* b = box(which);
  b->setFocus(Qt::OtherFocusReason);
  b->selectAll();
}

void WindingBar::pressEnter(bool backwards) {
  std::vector<QLineEdit*> order;
  for (QLineEdit* b : {name_, boxes_[0], boxes_[1], boxes_[2], boxes_[3], boxes_[4]}) {
    if (b->isVisibleTo(this)) order.push_back(b);
  }
  const auto at = std::find(order.begin(), order.end(), QApplication::focusWidget());
  if (at == order.end()) return;
  if (backwards ? at == order.begin() : at + 1 == order.end()) {
    emit enterLeft(backwards);
    return;
  }
  (backwards ? *(at - 1) : *(at + 1))->setFocus(Qt::TabFocusReason);
}

}  // namespace kelvane::ui
