#pragma once

#include "form/form1.h"
#include "job/job.h"
#include "job/shown_coil.h"

// The window and a job: a job opened on the form, the form saved as a job,
// and the coil the form shows for the job's tables and price.
namespace kelvane::form {

// Opens an item's coil on the form as a program would: the result boxes are
// emptied, the material and the former are switched on (so the visible boxes
// and the material constants follow), every input box gets the item's text,
// and the form calculates: the boxes are read and refused as 計算 reads and
// refuses them, and the coil is computed through the coil API. Whatever the
// form showed before leaves no trace in the results: a pending target is
// dropped, and a coil whose inputs are refused leaves the result boxes empty
// beside the refusal's message. The focus goes back to the control that had
// it, or to 計算 when the former now hides that box.
void applyCoil(const TypedCoil& coil, Form1& form);
// The same but the press: the coil's texts and buttons, the results emptied.
void putCoil(const TypedCoil& coil, Form1& form);

// A job of one coil on the form, as the replay and the window of one coil
// open it: its first item's coil (applyCoil).
void applyJob(const job::Job& job, Form1& form);

// The job as 上書き保存 saves it from a form of one coil: the form's inputs,
// former and material over the first item's coil of `job` (the one last
// opened), everything else of it kept. The version and the time are left
// empty for stampForSaving.
job::Job jobToSave(const Form1& form, job::Job job);

// A job of one item, the coil the form holds, with the given fields.
job::Job jobFromForm(const Form1& form, const job::JobFields& fields);

// The coil the form shows: its boxes, buttons and last press.
job::ShownCoil shownCoil(const Form1& form);

}  // namespace kelvane::form
