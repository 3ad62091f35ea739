#include "ui/print_window.h"

#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>

namespace kelvane::ui {

bool printWindowImage(QWidget& window, QPrinter& printer) {
  const QPixmap image = window.grab();
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRect page = painter.viewport();
  QSize size = image.size();
  size.scale(page.size(), Qt::KeepAspectRatio);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(QRect(page.topLeft(), size), image);
  return painter.end();
}

void printWithDialog(QWidget& window) {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, &window);
  if (dialog.exec() == QDialog::Accepted) printWindowImage(window, printer);
}

}  // namespace kelvane::ui
