#pragma once

#include <QFont>
#include <QString>
#include <string>

#include "form/control_table.h"

namespace kelvane::ui {

// Registers the faces that stand in for the window's two Japanese Gothic
// fonts where those are not installed: IPA P Gothic first (its proportional
// kana are the closest in width), then Noto Sans CJK JP, for any text that
// names a designed face rather than windowFace().
void installFontSubstitutes();

// The installed face that draws text designed in `designed`: the designed
// face itself where it is installed, else the first installed stand-in, else
// `designed` (and Qt's own fallback). Decided once per name and named
// directly, so the window loads one face and Qt never searches fallbacks
// for a face it does not have.
QString windowFace(const std::string& designed);

// The font a control is designed with: its face as windowFace() finds it,
// at its point size.
QFont designFont(const form::ControlDesign& control);

// `font`, condensed just enough for `text` to take at most `widthPx` pixels
// on one line; `font` itself when the text already fits.
QFont fittedFont(const QFont& font, const QString& text, int widthPx);

}  // namespace kelvane::ui
