#include "ui/stale_marks.h"

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

#include "form/out_of_date.h"
#include "ui/control_widgets.h"

namespace kelvane::ui {
namespace {

// Grey enough to read as "not current", dark enough to stay legible in print.
const QColor kStaleText(128, 128, 128);
QString qt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

StaleMarks::StaleMarks(QWidget& window, std::vector<QWidget*> results, QWidget& drawing)
    : QObject(&window),
      results_(std::move(results)),
      dimmed_(new QGraphicsOpacityEffect(&drawing)) {
  dimmed_->setOpacity(0.35);
  dimmed_->setEnabled(false);
  drawing.setGraphicsEffect(dimmed_);
  // Two lines, broken where the sentence breaks.
  note_ = new QLabel(QString::fromStdString(form::staleNoteLines()), &window);
  note_->setObjectName(QStringLiteral("staleNote"));
  note_->setGeometry(twipsToPixels(form::kStaleNoteLeft, form::kStaleNoteTop, form::kStaleNoteWidth,
                                   form::kStaleNoteHeight));
  note_->setStyleSheet(QStringLiteral("color: rgb(176, 64, 0); font-weight: bold;"));
  note_->hide();
}

QString StaleMarks::noteText() { return qt(form::kStaleNote); }

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
