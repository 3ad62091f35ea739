#include "ui/message_box_presenter.h"

#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include "form/control_table.h"

namespace kelvane::ui {

MessageBoxPresenter::MessageBoxPresenter(QWidget* owner) : QObject(owner), owner_(owner) {}

void MessageBoxPresenter::post(const QString& message) {
  pending_ << message;
  if (pending_.size() == 1 && !showing_)
    QTimer::singleShot(0, this, &MessageBoxPresenter::showPending);
}

void MessageBoxPresenter::showPending() {
  if (showing_) return;
  showing_ = true;
  // Messages raised while a box is open wait for it to close.
  while (!pending_.isEmpty()) {
    const QString message = pending_.takeFirst();
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(form::kFormCaption), message,
                    QMessageBox::Ok, owner_);
    box.exec();
  }
  showing_ = false;
}

}  // namespace kelvane::ui
