#include "ui/typed_entries.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTableWidget>
#include <QTextEdit>

namespace kelvane::ui {
namespace {

// What the dialog's boxes hold, box by box: the texts a person may type or
// choose, the state of each check box, the cells of an editable table.
QStringList entriesOf(const QDialog& dialog) {
  QStringList entries;
  for (const QWidget* widget : dialog.findChildren<QWidget*>()) {
    if (const auto* line = qobject_cast<const QLineEdit*>(widget)) {
      if (!line->isReadOnly()) entries << line->text();
    } else if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget)) {
      if (!plain->isReadOnly()) entries << plain->toPlainText();
    } else if (const auto* rich = qobject_cast<const QTextEdit*>(widget)) {
      if (!rich->isReadOnly()) entries << rich->toPlainText();
    } else if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(widget)) {
      entries << spin->text();
    } else if (const auto* choice = qobject_cast<const QComboBox*>(widget)) {
      entries << choice->currentText();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
      if (button->isCheckable()) entries << QString::number(int(button->isChecked()));
    } else if (const auto* table = qobject_cast<const QTableWidget*>(widget)) {
      if (table->editTriggers() == QAbstractItemView::NoEditTriggers) continue;
      entries << QString::number(table->rowCount());
      for (int r = 0; r < table->rowCount(); ++r) {
        for (int c = 0; c < table->columnCount(); ++c) {
          const QTableWidgetItem* item = table->item(r, c);
          entries << (item ? item->text() : QString());
        }
      }
    }
  }
  return entries;
}

// はい discards; いいえ, the default, keeps. Esc answers はい: a second Esc
// is a person who meant the first.
bool discardConfirmed(QDialog& dialog) {
  QMessageBox box(QMessageBox::Question, dialog.windowTitle(),
                  QStringLiteral("入力を破棄しますか？"), QMessageBox::NoButton, &dialog);
  QPushButton* discard = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
  QPushButton* keep = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
  box.setDefaultButton(keep);
  box.setEscapeButton(discard);
  box.exec();
  return box.clickedButton() == discard;
}

class EscGuard : public QObject {
 public:
  explicit EscGuard(QDialog& dialog)
      : QObject(&dialog), dialog_(dialog), opened_(entriesOf(dialog)) {
    dialog.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != &dialog_ || event->type() != QEvent::KeyPress) return false;
    if (!static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel)) return false;
    if (entriesOf(dialog_) == opened_ || discardConfirmed(dialog_)) return false;
    return true;  // kept: the dialog stays open
  }

 private:
  QDialog& dialog_;
  const QStringList opened_;
};

}  // namespace

void askBeforeEscDiscards(QDialog& dialog) { new EscGuard(dialog); }

}  // namespace kelvane::ui
