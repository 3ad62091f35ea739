#include "ui/fonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>
#include <algorithm>
#include <map>

namespace kelvane::ui {
namespace {

const QStringList& standIns() {
  static const QStringList faces = {QStringLiteral("IPAPGothic"),
                                    QStringLiteral("Noto Sans CJK JP")};
  return faces;
}

// Whether a face is installed under this name or another of its names
// (the list of families holds each under the locale's name only).
bool installed(const QString& face) { return QFontDatabase::hasFamily(face); }

}  // namespace

void installFontSubstitutes() {
  QFont::insertSubstitutions(QString::fromUtf8(form::kControlFont), standIns());
  QFont::insertSubstitutions(QString::fromUtf8(form::kNoteFont), standIns());
}

QString windowFace(const std::string& designed) {
  static std::map<std::string, QString> decided;
  if (auto it = decided.find(designed); it != decided.end()) return it->second;
  QString face = QString::fromStdString(designed);
  if (!installed(face)) {
    const auto standIn = std::find_if(standIns().begin(), standIns().end(), installed);
    if (standIn != standIns().end()) face = *standIn;
  }
  return decided.emplace(designed, face).first->second;
}

QString paperFace() {
  static const QString face = [] {
    const auto first = std::find_if(standIns().begin(), standIns().end(), installed);
    return first != standIns().end() ? *first : standIns().front();
  }();
  return face;
}

QFont designFont(const form::ControlDesign& control) {
  QFont font(windowFace(control.font));
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
