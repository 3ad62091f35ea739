#pragma once

#include <string>
#include <string_view>

namespace kelvane::job {

// Every cell Kelvane writes for a spreadsheet (the results table as CSV or
// for the clipboard, and every cell of kelvane-batch's output, the cells it
// carries through from the user's file included) passes through here first.
//
// A spreadsheet takes a cell starting with = + - @ for a formula. Some drop
// a leading tab, CR or LF before looking, some trim blanks on import, and
// Japanese input turns the full-width ＝＋－＠ into = + - @; a file from
// elsewhere could use that to run one (=cmd|…, =HYPERLINK(…)). So the rule
// looks past leading blanks (spaces, U+00A0, the ideographic space),
// zero-width characters and a byte order mark, and takes ＝＋－＠ for their
// ASCII forms: 「 =1+1」 is guarded as =1+1 is. Such a cell gets a leading
// apostrophe, which makes it text. The one exception is a cell that is a
// signed number and nothing else: a sign, digits with at most one decimal
// point and the grouping commas the program writes, and an optional
// exponent ("-1.5", "+2", "-1,010.000", "-1e-3"). A spreadsheet reads it as
// that number, never as a formula, so a negative result and a negative
// input stay numbers. The rule looks at the text alone: the same cell is
// guarded the same way wherever it comes from. Characters that turn the
// text's direction around are dropped first (withoutDirectionControls).
std::string inertCell(std::string_view cell);

// Appends a cell as a spreadsheet reads it back: in double quotes, its own
// quotes doubled, when it holds the separator, a double quote or a line
// break; as it is otherwise. Every CSV and tab-separated line the program
// writes is made of these.
void appendQuotedCell(std::string& out, std::string_view cell, char separator = ',');

}  // namespace kelvane::job
