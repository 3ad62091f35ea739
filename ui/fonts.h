#pragma once

#include <QFont>
#include <QString>

#include "form/control_table.h"

namespace kelvane::ui {

// Registers the faces that stand in for the window's two Japanese Gothic
// fonts where those are not installed: IPA P Gothic first (its proportional
// kana are the closest in width), then Noto Sans CJK JP.
void installFontSubstitutes();

// The font a control is designed with (face and point size).
QFont designFont(const form::ControlDesign& control);

// `font`, condensed just enough for `text` to take at most `widthPx` pixels
// on one line; `font` itself when the text already fits.
QFont fittedFont(const QFont& font, const QString& text, int widthPx);

}  // namespace kelvane::ui
