#include "ui/sheet_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QVBoxLayout>

#include "form/control_table.h"
#include "ui/business_keys.h"
#include "ui/fonts.h"
#include "ui/framed_panel.h"

namespace kelvane::ui {

SheetWindow::SheetWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QString::fromUtf8(form::kSheetCaption));
  resize(form::kSheetWidth / kTwipsPerPixel, form::kSheetHeight / kTwipsPerPixel);
  text_ = new QPlainTextEdit(this);
  text_->setReadOnly(true);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(QFont(windowFace(form::kControlFont), 9));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(text_);
}

void SheetWindow::keyPressEvent(QKeyEvent* event) {
  // Esc and Ctrl+W close the sheet, as in the programs our users know.
  if (closesWindow(*event)) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool SheetWindow::showLines(const std::vector<std::string>& lines) {
  const bool grew = lines.size() > lineCount_;
  if (lines.size() < lineCount_) {
    text_->clear();
    lineCount_ = 0;
  }
  for (; lineCount_ < lines.size(); ++lineCount_)
    text_->appendPlainText(QString::fromStdString(lines[lineCount_]));
  return grew;
}

QStringList SheetWindow::lines() const {
  QStringList out;
  if (text_->document()->isEmpty()) return out;
  for (QTextBlock b = text_->document()->begin(); b.isValid(); b = b.next()) out << b.text();
  return out;
}

void SheetWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (onClose_) onClose_();
}

}  // namespace kelvane::ui
