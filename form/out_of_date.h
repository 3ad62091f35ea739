#pragma once

#include <string>
#include <string_view>

namespace kelvane::form {

// Results that no longer belong to the inputs, as the window and the page
// say so.

// The note the window shows while they are out of date.
inline constexpr std::string_view kStaleNote = "入力が変わりました — 計算してください";
// The note as it stands in the window: two lines, broken after the dash.
inline std::string staleNoteLines() {
  constexpr std::string_view kDash = " — ";
  std::string lines(kStaleNote);
  const std::size_t at = lines.find(kDash);
  if (at != std::string::npos) lines.replace(at, kDash.size(), " —\n");
  return lines;
}
// Where it stands, in twips: the free space below the results column.
inline constexpr int kStaleNoteLeft = 5280, kStaleNoteTop = 4860, kStaleNoteWidth = 2655,
                     kStaleNoteHeight = 420;

// What an output (the copy, the CSV file, the printed sheets) asks first,
// and the answer that presses 計算 before it goes on.
inline constexpr std::string_view kOutOfDateQuestion =
    "結果が入力と合っていません。計算してから出力しますか？";
inline constexpr std::string_view kPressAndOutput = "計算して出力";

}  // namespace kelvane::form
