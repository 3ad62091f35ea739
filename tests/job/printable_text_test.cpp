// Texts on their way out of the program: to a terminal, and the reasons a
// program stopped.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "job/printable_text.h"
#include "job/system_reason.h"

namespace kelvane::job {
namespace {

// A name from a job or a price list cannot clear the screen, retitle the
// terminal or hide itself: its control characters are shown, not obeyed.
TEST(PrintableText, ControlsAreEscapedForTheTerminal) {
  const struct {
    std::string text, shown;
  } cases[] = {
      {"x\x1b[2J\x1b]0;title\a", R"(x\x1b[2J\x1b]0;title\x07)"},
      {"a\tb\r\nc", R"(a\x09b\x0d\x0ac)"},
      {std::string("nul\0end", 7), R"(nul\x00end)"},
      {"del\x7f", R"(del\x7f)"},
      {"csi\xC2\x9B"
       "2J",
       R"(csi\xc2\x9b2J)"},  // U+009B, a terminal's CSI
      {"evil\u202Eexe", "evilexe"},
      {"見積 ＳＤ-Ｂ０３６ C:\\jobs é", "見積 ＳＤ-Ｂ０３６ C:\\jobs é"},
      {"broken \xC2", "broken \xC2"},
      {"broken \xFF\xFE", "broken \xFF\xFE"},
  };
  for (const auto& c : cases) EXPECT_EQ(withControlsEscaped(c.text), c.shown) << c.shown;
}

TEST(PrintableText, MemoryRunningOutIsSaidInJapanese) {
  EXPECT_EQ(stoppedBecause(std::bad_alloc()),
            "メモリーが足りません。ほかのプログラムを閉じてから、もう一度試してください。");
  EXPECT_EQ(stoppedBecause(std::bad_array_new_length()),
            "メモリーが足りません。ほかのプログラムを閉じてから、もう一度試してください。");
  EXPECT_EQ(stoppedBecause(std::runtime_error("「a.csv」を開けません。")),
            "「a.csv」を開けません。");
}

}  // namespace
}  // namespace kelvane::job
