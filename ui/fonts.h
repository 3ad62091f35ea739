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
// for a face it does not have. A face counts as installed under any of its
// names: a Japanese locale lists IPA P Gothic as 「IPA Pゴシック」.
QString windowFace(const std::string& designed);

// The one face every printed page and PDF is set in, whatever the locale:
// IPA P Gothic, else Noto Sans CJK JP. A PDF's text layer gives each glyph
// the lowest code point the face draws with it, and Noto Sans CJK draws 見,
// 日, 一, 人 and some three hundred other kanji with the glyph of their
// Kangxi radical (⾒, ⽇, ⼀, ⼈), so a PDF set in it reads back radicals
// where the page shows kanji. IPA P Gothic gives every kanji, kana, digit
// and Latin letter a glyph of its own.
QString paperFace();

// The font a control is designed with: its face as windowFace() finds it,
// at its point size.
QFont designFont(const form::ControlDesign& control);

// `font`, condensed just enough for `text` to take at most `widthPx` pixels
// on one line; `font` itself when the text already fits.
QFont fittedFont(const QFont& font, const QString& text, int widthPx);

}  // namespace kelvane::ui
