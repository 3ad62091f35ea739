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

}  // namespace kelvane::job
