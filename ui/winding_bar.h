#pragma once

#include <QStringList>
#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;

namespace kelvane::ui {

// The bar above the form for the windings of the item shown: a tab for each
// (巻線1 一次, 巻線2 二次 …), the shown winding's name, 巻線を追加 and 巻線を
// 削除; and for a winding above the first, the tape under it (層間絶縁: 厚み
// mm a layer and 層数), its own 線材単価 and 巻線速度 (empty: the price
// list's and the item's), and the item's 層間テープ単価 (円 a layer). It holds no rule: what is
// typed goes out as signals, and the window says what it shows.
class WindingBar : public QWidget {
  Q_OBJECT
 public:
  explicit WindingBar(QWidget* parent = nullptr);

  // The boxes of a winding above the first, in the order Enter walks them.
  // The last is the item's: the price of a layer of its tape.
  enum class Box { Thickness, Layers, WirePrice, Speed, TapePrice };
  static constexpr int kBoxCount = 5;
  // The box's name in a message and beside it.
  static QString boxName(Box box);

  // What the bar shows: the windings' names (a tab each), the one shown,
  // and the texts of its boxes (those of a winding above the first).
  struct Content {
    QStringList names;
    int shown = 0;
    std::array<QString, kBoxCount> boxes;
  };
  void setContent(const Content& content);
  // The tab's caption of a winding: 巻線2 二次, or 巻線2 without a name.
  static QString tabText(int index, const QString& name);

  QTabBar* tabs() const { return tabs_; }
  QLineEdit* nameBox() const { return name_; }
  QLineEdit* box(Box box) const { return boxes_[static_cast<int>(box)]; }
  QPushButton* addButton() const { return add_; }
  QPushButton* removeButton() const { return remove_; }
  // Puts the focus on a box whose text was refused, its text selected.
  void refuse(Box box);

 signals:
  void windingChosen(int index);
  void nameEdited(const QString& name);
  void addRequested();
  void removeRequested();
  // A box left (by Enter, Tab or a click elsewhere) with its text.
  void boxLeft(kelvane::ui::WindingBar::Box box, const QString& text);
  // Enter past the bar's last box, or Shift+Enter before its first: on to
  // the form.
  void enterLeft(bool backwards);

 private:
  void pressEnter(bool backwards);

  QTabBar* tabs_;
  QLineEdit* name_;
  QLabel* nameCaption_;
  QPushButton* add_;
  QPushButton* remove_;
  QWidget* upperRow_;
  std::array<QLineEdit*, kBoxCount> boxes_{};
  bool filling_ = false;  // the window writing the bar: no signals
};

}  // namespace kelvane::ui
