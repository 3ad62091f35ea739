#pragma once

#include "form/form1.h"
#include "job/job.h"
#include "job/shown_coil.h"

// The window and a job: a job opened on the form, the form saved as a job,
// and the coil the form shows for the job's tables and price.
namespace kelvane::form {

using job::Job;
using job::JobFields;

// Opens a job on the form as a program would: the result boxes are emptied,
// the material and the former are switched on (so the visible boxes and the
// material constants follow), every input box gets the job's text, and the
// form calculates: the boxes are read and refused as 計算 reads and refuses
// them, and the coil is computed through the coil API. Whatever the form showed before leaves no
// trace in the results: a pending target is dropped, and a job whose inputs
// are refused leaves the result boxes empty beside the refusal's message.
// The focus goes back to the control that had it, or to 計算 when the
// former now hides that box.
void applyJob(const Job& job, Form1& form);

// The job the form holds now, with the given fields. The version and the
// time are left empty for stampForSaving.
Job jobFromForm(const Form1& form, const JobFields& fields);

// The job as 上書き保存 saves it: the form's inputs, former and material over
// everything else of `job` (the one last opened, or the window's own): its
// fields, its 見積条件 and the time of the price list they came from.
Job jobToSave(const Form1& form, Job job);

// The coil the form shows: its boxes, buttons and last press.
job::ShownCoil shownCoil(const Form1& form);

}  // namespace kelvane::form
