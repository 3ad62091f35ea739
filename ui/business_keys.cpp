#include "ui/business_keys.h"

#include <QKeyEvent>

namespace kelvane::ui {

BusinessKeys::BusinessKeys(std::function<void(bool backwards)> enter, QObject* parent)
    : QObject(parent), enter_(std::move(enter)) {}

bool BusinessKeys::eventFilter(QObject* /*watched*/, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
  const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
  if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier) return false;
  enter_(modifiers == Qt::ShiftModifier);
  return true;
}

bool closesWindow(const QKeyEvent& key) {
  return key.key() == Qt::Key_Escape || key.matches(QKeySequence::Close);
}

}  // namespace kelvane::ui
