#include "ui/business_keys.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace kelvane::ui {

bool BusinessKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
      (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
    return false;
  }
  if (auto* box = qobject_cast<QLineEdit*>(watched)) {
    // Exactly what Tab does: on to the next control of the tab chain.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &tab);
    return true;
  }
  if (auto* button = qobject_cast<QAbstractButton*>(watched)) {
    button->click();
    return true;
  }
  return false;
}

}  // namespace kelvane::ui
