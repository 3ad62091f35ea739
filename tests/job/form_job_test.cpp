// A job opened on the form and read back from it.
#include <gtest/gtest.h>

#include <map>

#include "core/calculate_coil.h"
#include "form/form_job.h"
#include "form_fixtures.h"
#include "job_fixtures.h"

namespace kelvane::job {
namespace {

using form::Form1;
using form::InputBox;

// The captions of the labels the window shows.
std::map<std::string, std::string> shownCaptions(const Form1& form) {
  std::map<std::string, std::string> shown;
  for (const form::ControlId& id : form::changeableCaptions()) {
    if (form.isVisible(id)) shown[id.str()] = form.state().caption(*form::captionOf(id));
  }
  return shown;
}

// What the window shows after opening, apart from the messages. With no
// former on, the press stops before the units and the drawing, and no
// button says which boxes to show: those stay as the window had them.
void expectSameWindow(const Form1& a, const Form1& b) {
  EXPECT_EQ(a.state().inputTexts, b.state().inputTexts);
  EXPECT_EQ(a.state().resultTexts, b.state().resultTexts);
  EXPECT_EQ(a.state().former, b.state().former);
  EXPECT_EQ(a.state().material, b.state().material);
  EXPECT_EQ(a.state().materialValues.resistivity, b.state().materialValues.resistivity);
  EXPECT_EQ(a.state().materialValues.density, b.state().materialValues.density);
  if (!a.state().former) return;
  EXPECT_EQ(shownCaptions(a), shownCaptions(b));
  EXPECT_EQ(a.state().visible, b.state().visible);
  EXPECT_EQ(a.state().drawing, b.state().drawing);
}

class OpenedJob : public ::testing::TestWithParam<test::NamedJob> {};

TEST_P(OpenedJob, ReadsBackFromTheForm) {
  const Job& job = GetParam().job;
  Form1 form;
  applyJob(job, form);
  // The form holds the first item's coil; the rest of the job is kept.
  EXPECT_EQ(only(jobFromForm(form, job.fields)).coil, only(job).coil);
  EXPECT_EQ(jobToSave(form, job), [&] {
    Job expected = job;
    expected.programVersion.clear();
    expected.savedAt.clear();
    return expected;
  }());
}

// Opening is what a person would do: the same buttons, the same texts, 計算.
TEST_P(OpenedJob, ShowsWhatAPressOfTheSameInputsShows) {
  const Job& job = GetParam().job;
  Form1 opened;
  applyJob(job, opened);

  Form1 typed;
  typed.click({"Option3", static_cast<int>(only(job).coil.material)});
  if (only(job).coil.former) typed.click({"Option1", static_cast<int>(*only(job).coil.former)});
  else typed.setFormerButton(std::nullopt);
  for (int i = 0; i < form::kInputBoxCount; ++i)
    typed.setText(form::text1(i), only(job).coil.texts[i]);
  typed.click({"Command1", -1});

  expectSameWindow(opened, typed);
  EXPECT_EQ(opened.state().messages, typed.state().messages);
}

// A window that has been used — another former and material, a target typed
// but not yet taken, or the focus in the angle box whose handler rewrites the
// wide width — shows after opening exactly what a fresh window shows.
TEST_P(OpenedJob, LeavesNothingOfTheWindowBefore) {
  const Job& job = GetParam().job;
  Form1 fresh;
  applyJob(job, fresh);

  for (const form::ControlId& last : {form::text2(10), form::text1(11)}) {
    SCOPED_TRACE(last.str());
    Form1 used;
    used.click({"Option1", 2});
    used.click({"Option3", 1});
    used.click({"Command1", -1});
    used.typeText(last == form::text2(10) ? form::text1(11) : form::text2(10), "30");
    used.typeText(last, "5000");
    const std::size_t before = used.state().messages.size();
    applyJob(job, used);

    expectSameWindow(used, fresh);
    const std::vector<std::string> added(used.state().messages.begin() + before,
                                         used.state().messages.end());
    EXPECT_EQ(added, fresh.state().messages);
    // A job whose box 計算 refuses leaves the focus on that box to correct.
    const form::ControlId calculate{"Command1", -1};
    if (fresh.state().selectRequests > 0) {
      EXPECT_EQ(used.state().focus, fresh.state().focus);
    } else {
      EXPECT_EQ(used.state().focus, used.isVisible(last) ? last : calculate);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, OpenedJob, ::testing::ValuesIn(test::sampleJobs()),
                         [](const auto& info) { return info.param.name; });

TEST(ApplyJob, RefusedInputsLeaveNoResultsOfTheJobBefore) {
  Form1 form;
  applyJob(test::designJob(), form);
  ASSERT_EQ(form.state().resultTexts[0], "同数列巻き--3 X 3");

  Job noWire = test::designJob();
  only(noWire).input(InputBox::BareDiameter) = "";
  applyJob(noWire, form);
  for (const std::string& text : form.state().resultTexts) EXPECT_EQ(text, "");
  ASSERT_FALSE(form.state().messages.empty());
  EXPECT_EQ(form.state().messages.back(), kNoBareDiameterMessage);
}

}  // namespace
}  // namespace kelvane::job
