#pragma once

#include <QObject>
#include <QStringList>

class QWidget;

namespace kelvane::ui {

// Shows the window's messages one after another in a message box with a
// single OK button. A message is shown once the event that raised it has
// been handled completely, so a box never interrupts a click half-way.
class MessageBoxPresenter : public QObject {
  Q_OBJECT
 public:
  explicit MessageBoxPresenter(QWidget* owner);

  void post(const QString& message);

 private:
  void showPending();

  QWidget* owner_;
  QStringList pending_;
  bool showing_ = false;
};

}  // namespace kelvane::ui
