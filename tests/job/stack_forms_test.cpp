#include "form/stack_forms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form/form_job.h"
#include "form/item_forms.h"
#include "job/item_stack.h"
#include "job_fixtures.h"

namespace kelvane::form {
namespace {

const WorkRunner kRunHere = [](double, const Work& work) { work(nullptr); };

job::Item transformer() { return job::test::sampleJobs()[6].job.items.front(); }

// Each winding shows what 計算 shows for it typed alone on the former it
// inherits; the first one what it shows on the item's former.
TEST(StackForms, EachWindingShowsItsOwnPressOnTheInheritedFormer) {
  const job::Item item = transformer();
  std::vector<Form1> forms = windingForms(item);
  const StackPress press = pressStack(item, forms, kRunHere);
  ASSERT_TRUE(press.result) << press.message;
  ASSERT_EQ(press.result->windings.size(), 3u);
  for (std::size_t k = 0; k < forms.size(); ++k) {
    Form1 alone;
    const TypedCoil typed = k == 0 ? item.coil
                                   : job::onInheritedFormer(item.upperWindings[k - 1].coil,
                                                            press.result->windings[k].former);
    applyCoil(typed, alone);
    EXPECT_EQ(forms[k].state().inputTexts, alone.state().inputTexts) << k;
    EXPECT_EQ(forms[k].state().resultTexts, alone.state().resultTexts) << k;
    EXPECT_EQ(forms[k].state().drawing, alone.state().drawing) << k;
    EXPECT_TRUE(forms[k].state().resultsCurrent) << k;
  }
  // The secondary sits on the primary's crossing height and two layers of
  // 0.05 mm tape: D grows by twice both.
  const WindingResult& primary = press.result->windings[0];
  EXPECT_DOUBLE_EQ(press.result->windings[1].former.innerDiameter,
                   primary.former.innerDiameter + 2 * (primary.build + 0.1));
}

TEST(StackForms, AFailureNamesItsWindingAndEmptiesTheOnesAbove) {
  struct Row {
    const char* name;
    void (*edit)(job::Item&, std::vector<Form1>&);
    std::size_t failed;
    std::string message;
    bool focusInTurns;
  };
  const std::vector<Row> rows = {
      {"turns of the secondary",
       [](job::Item&, std::vector<Form1>& f) { f[1].setText(InputBox::Turns, "40本"); }, 1,
       "巻線2「二次」: 「巻き数(n)」の「40本」は数値として読めません。数値で入力してください",
       true},
      {"tape under the third",
       [](job::Item& i, std::vector<Form1>&) { i.upperWindings[1].under.layers = "-1"; }, 2,
       "巻線3: 層間絶縁の層数は0～1,000の整数で入力してください", false},
  };
  for (const Row& row : rows) {
    job::Item item = transformer();
    std::vector<Form1> forms = windingForms(item);
    ASSERT_TRUE(pressStack(item, forms, kRunHere).result);
    row.edit(item, forms);
    const StackPress press = pressStack(item, forms, kRunHere);
    EXPECT_FALSE(press.result) << row.name;
    EXPECT_EQ(press.failedWinding, row.failed) << row.name;
    EXPECT_EQ(press.message, row.message) << row.name;
    if (row.focusInTurns) {
      EXPECT_EQ(forms[row.failed].state().focus, idOf(InputBox::Turns));
    }
    for (std::size_t k = row.failed + 1; k < forms.size(); ++k)
      EXPECT_EQ(forms[k].state().text(ResultBox::AlignedHeight), "") << row.name << k;
  }
}

// Calling the stack off leaves no winding's results standing.
TEST(StackForms, CalledOffEmptiesEveryWinding) {
  const job::Item item = transformer();
  std::vector<Form1> forms = windingForms(item);
  ASSERT_TRUE(pressStack(item, forms, kRunHere).result);
  PressProgress progress;
  progress.cancel();
  const StackPress press =
      pressStack(item, forms, [&](double, const Work& work) { work(&progress); });
  EXPECT_TRUE(press.cancelled);
  EXPECT_TRUE(press.message.empty());
  for (const Form1& form : forms) EXPECT_EQ(form.state().text(ResultBox::AlignedHeight), "");
}

// Saved from its forms, the item keeps its windings' own texts and not the
// sizes shown as inherited.
TEST(StackForms, TheItemOfTheFormsKeepsWhatWasTyped) {
  const job::Item item = transformer();
  ItemForms forms;
  forms.take({item});
  ASSERT_TRUE(forms.pressShown(forms.shownState(), kRunHere).result);
  EXPECT_EQ(forms.itemAt(0, forms.shownState()), item);
  Form1 third = *forms.showWinding(2, forms.shownState());
  third.setText(InputBox::Turns, "77");
  EXPECT_EQ(forms.itemAt(0, third).upperWindings[1].coil.text(InputBox::Turns), "77");
}

}  // namespace
}  // namespace kelvane::form
