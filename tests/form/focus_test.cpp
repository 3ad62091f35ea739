// Moving the focus between controls, and the handlers it runs.
#include <gtest/gtest.h>

#include "form_test_support.h"

namespace kelvane::form {
namespace {

using testing::apply;

TEST(Focus, MovesLikeAPersonAtTheWindow) {
  Form1 form;
  // Hidden boxes and captions cannot take the focus.
  EXPECT_FALSE(form.moveFocus(text1(5)));
  EXPECT_FALSE(form.moveFocus(label1(2)));
  EXPECT_FALSE(form.moveFocus({"Nothing", -1}));
  EXPECT_EQ(form.state().focus.str(), "Text1(0)");
  // Leaving the turns box empty fills it in; typing alone does not.
  apply(form, {{"type", "Text1(2)", ""}});
  EXPECT_EQ(form.state().inputTexts[2], "");
  apply(form, {{"click", "Command1", ""}});
  EXPECT_EQ(form.state().inputTexts[2], "1");
  EXPECT_EQ(form.state().focus.str(), "Command1");
  // A program's fill runs no handler.
  apply(form, {{"set", "Text1(6)", ""}});
  EXPECT_EQ(form.state().inputTexts[6], "");
  EXPECT_EQ(form.state().focus.str(), "Command1");
}

}  // namespace
}  // namespace kelvane::form
