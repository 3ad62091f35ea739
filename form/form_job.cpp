#include "form/form_job.h"

#include <utility>

namespace kelvane::form {

void putCoil(const TypedCoil& coil, Form1& form) {
  form.clearResults();

  // The focus leaves the box it is in before the texts change, so that the
  // box's rule runs on the old texts, which are all replaced next. Then the
  // material button is clicked, as nothing else switches it on.
  const ControlId focus = form.parkFocus();
  form.selectMaterial(coil.material);
  for (int i = 0; i < kInputBoxCount; ++i) {
    const auto b = static_cast<InputBox>(i);
    form.setText(b, coil.text(b));
  }
  form.selectFormer(coil.former);
  form.returnFocus(focus);
}

void applyCoil(const TypedCoil& coil, Form1& form) {
  putCoil(coil, form);
  form.calculate();
}

void applyJob(const job::Job& job, Form1& form) { applyCoil(job.items.front().coil, form); }

job::Job jobToSave(const Form1& form, job::Job job) {
  job.items.front().coil = form.state().typed();
  // Who saved it and when are stamped anew.
  job.programVersion.clear();
  job.savedAt.clear();
  return job;
}

job::Job jobFromForm(const Form1& form, const job::JobFields& fields) {
  job::Job job;
  job.fields = fields;
  return jobToSave(form, std::move(job));
}

job::ShownCoil shownCoil(const Form1& form) {
  const FormState& s = form.state();
  job::ShownCoil shown;
  shown.typed = s.typed();
  shown.results = s.resultTexts;
  shown.inputShown = s.visible.inputs;
  shown.resultShown = s.visible.results;
  shown.outerRorDName = s.caption(Caption::OuterRorD);
  shown.typedOver = s.resultEdited;
  shown.current = s.resultsCurrent;
  shown.units = s.units;
  shown.resistance = s.resistance;
  shown.pressed = s.pressed;
  shown.calc = s.calc;
  return shown;
}

}  // namespace kelvane::form
