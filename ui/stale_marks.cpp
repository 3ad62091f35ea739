#include "ui/stale_marks.h"

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

#include "ui/control_widgets.h"

namespace kelvane::ui {
namespace {

// Grey enough to read as "not current", dark enough to stay legible in print.
const QColor kStaleText(128, 128, 128);
// The note stands in the free space below the results column.
constexpr int kNoteLeft = 5280, kNoteTop = 4860, kNoteWidth = 2655, kNoteHeight = 420;

}  // namespace

StaleMarks::StaleMarks(QWidget& window, std::vector<QWidget*> results, QWidget& drawing)
    : QObject(&window),
      results_(std::move(results)),
      dimmed_(new QGraphicsOpacityEffect(&drawing)) {
  dimmed_->setOpacity(0.35);
  dimmed_->setEnabled(false);
  drawing.setGraphicsEffect(dimmed_);
  // Two lines, broken where the sentence breaks.
  note_ = new QLabel(noteText().replace(QStringLiteral(" — "), QStringLiteral(" —\n")), &window);
  note_->setObjectName(QStringLiteral("staleNote"));
  note_->setGeometry(twipsToPixels(kNoteLeft, kNoteTop, kNoteWidth, kNoteHeight));
  note_->setStyleSheet(QStringLiteral("color: rgb(176, 64, 0); font-weight: bold;"));
  note_->hide();
}

QString StaleMarks::noteText() { return QStringLiteral("入力が変わりました — 計算してください"); }

void StaleMarks::show(bool outOfDate) {
  if (outOfDate == outOfDate_) return;
  outOfDate_ = outOfDate;
  for (QWidget* w : results_) {
    QPalette p = w->palette();
    const QColor text = outOfDate ? kStaleText : QPalette().color(QPalette::Text);
    p.setColor(qobject_cast<QLineEdit*>(w) ? QPalette::Text : QPalette::WindowText, text);
    w->setPalette(p);
  }
  dimmed_->setEnabled(outOfDate);
  note_->setVisible(outOfDate);
}

}  // namespace kelvane::ui
