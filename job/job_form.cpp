#include "job/job_form.h"

namespace kelvane::job {

void applyJob(const Job& job, form::Form1& form) {
  for (int i = 0; i < form::kResultBoxCount; ++i) form.setText(form::text2(i), "");

  // The focus leaves the box it is in before the texts change, so that the
  // box's handler runs on the old texts, which are all replaced next. Then
  // the material button is clicked, as nothing else switches it on.
  const form::ControlId focus = form.state().focus;
  const form::ControlId calculate{"Command1", -1};
  form.moveFocus(calculate);
  const int material = static_cast<int>(job.material);
  if (form.state().option3 != material) form.click({"Option3", material});

  for (int i = 0; i < form::kInputBoxCount; ++i) {
    form.setText(form::text1(i), job.inputs[i]);
  }
  const int shape = job.former ? static_cast<int>(*job.former) : -1;
  form.setShapeButton(shape);
  if (job.former) form.Option1_Click(shape);
  if (!form.moveFocus(focus)) form.moveFocus(calculate);

  form.Command1_Click();
}

Job jobFromForm(const form::Form1& form, const JobFields& fields) {
  const form::FormState& s = form.state();
  Job job;
  job.inputs = s.text1;
  job.former.reset();
  if (s.option1 >= 0 && s.option1 <= 2) job.former = static_cast<FormerShape>(s.option1);
  // The material buttons always have one on.
  if (s.option3 >= 0 && s.option3 <= 2) job.material = static_cast<ConductorMaterial>(s.option3);
  job.fields = fields;
  return job;
}

}  // namespace kelvane::job
