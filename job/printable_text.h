#pragma once

#include <string>
#include <string_view>

namespace kelvane::job {

// A text as it may leave the program on paper or in a file: without the
// invisible characters that turn the direction of the text around it
// (U+202A–U+202E, U+2066–U+2069, U+200E, U+200F, U+061C). A name typed or
// pasted with U+202E would otherwise print "evil.exe" as "exe.live".
// Everything else, broken UTF-8 included, is kept byte for byte.
std::string withoutDirectionControls(std::string_view text);

// A text as it may reach a terminal, for every line the programs print on
// standard error: a name from a job or a price list could otherwise clear
// the screen, retitle the window or move the cursor (ESC [2J, ESC ]0;…).
// The control characters (U+0000–U+001F, U+007F and U+0080–U+009F) are
// written as \x1b, \x7f, \xc2\x9b (their bytes), so the line shows what the
// file holds; the direction controls are dropped as above. Everything else, broken UTF-8 included,
// is kept byte for byte.
std::string withControlsEscaped(std::string_view text);

}  // namespace kelvane::job
