#include "ui/fonts.h"

#include <QFontMetrics>
#include <algorithm>
#include <QStringList>

namespace kelvane::ui {

void installFontSubstitutes() {
  const QStringList standIns = {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")};
  QFont::insertSubstitutions(QString::fromUtf8(form::kControlFont), standIns);
  QFont::insertSubstitutions(QString::fromUtf8(form::kNoteFont), standIns);
}

QFont designFont(const form::ControlDesign& control) {
  QFont font(QString::fromStdString(control.font));
  font.setPointSizeF(control.fontPoints);
  return font;
}

QFont fittedFont(const QFont& font, const QString& text, int widthPx) {
  const int natural = QFontMetrics(font).horizontalAdvance(text);
  if (natural <= widthPx || natural == 0) return font;
  // Below two thirds of its width a Gothic face stops being legible; a
  // caption that would need more stays at that and is clipped.
  constexpr int kNarrowest = 66;
  QFont condensed = font;
  int stretch = std::max(kNarrowest, widthPx * 100 / natural);
  for (;; --stretch) {
    condensed.setStretch(stretch);
    if (stretch == kNarrowest || QFontMetrics(condensed).horizontalAdvance(text) <= widthPx)
      return condensed;
  }
}

}  // namespace kelvane::ui
