#include "job/job_form.h"

#include <utility>

namespace kelvane::job {

void applyJob(const Job& job, form::Form1& form) {
  form.clearResults();

  // The focus leaves the box it is in before the texts change, so that the
  // box's rule runs on the old texts, which are all replaced next. Then the
  // material button is clicked, as nothing else switches it on.
  const form::ControlId focus = form.parkFocus();
  form.selectMaterial(job.material);
  for (int i = 0; i < form::kInputBoxCount; ++i) {
    const auto b = static_cast<form::InputBox>(i);
    form.setText(b, job.input(b));
  }
  form.selectFormer(job.former);
  form.returnFocus(focus);

  form.calculate();
}

Job jobFromForm(const form::Form1& form, const JobFields& fields) {
  Job job;
  job.fields = fields;
  return jobToSave(form, std::move(job));
}

Job jobToSave(const form::Form1& form, Job job) {
  const form::FormState& s = form.state();
  job.inputs = s.inputTexts;
  job.former = s.former;
  job.material = s.material;
  // Who saved it and when are stamped anew.
  job.programVersion.clear();
  job.savedAt.clear();
  return job;
}

}  // namespace kelvane::job
