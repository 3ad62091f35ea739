#include "form/stack_forms.h"

#include <array>
#include <utility>
#include <vector>

#include "core/number_text.h"
#include "form/form_job.h"
#include "job/item_stack.h"

namespace kelvane::form {
namespace {

// The inputs a winding's press reads from its form: those its former shows,
// but the former's sizes above the first winding, which it inherits.
std::array<bool, kInputBoxCount> ownInputs(const Form1& form, bool inherits) {
  std::array<bool, kInputBoxCount> shown = form.state().visible.inputs;
  if (!inherits) return shown;
  for (int i = 0; i < kInputBoxCount; ++i) {
    if (isFormerSize(static_cast<InputBox>(i))) shown[i] = false;
  }
  return shown;
}

StackPress failed(std::size_t winding, std::string message) {
  StackPress press;
  press.failedWinding = winding;
  press.message = std::move(message);
  return press;
}

// The windings from `from` up lose their results: they sat on a winding
// that is no longer computed.
void emptyFrom(std::size_t from, std::span<Form1> forms) {
  for (std::size_t k = from; k < forms.size(); ++k) forms[k].clearResults();
}

struct Pressed {
  std::size_t index;
  Former former;
  CoilCalculation calculation;
};

}  // namespace

Form1 upperWindingForm(const job::UpperWinding& winding, std::optional<FormerShape> former) {
  TypedCoil coil = winding.coil;
  coil.former = former;
  Form1 form;
  putCoil(coil, form);
  return form;
}

std::vector<Form1> windingForms(const job::Item& item) {
  std::vector<Form1> forms(1);
  putCoil(item.coil, forms[0]);
  for (const job::UpperWinding& upper : item.upperWindings)
    forms.push_back(upperWindingForm(upper, item.coil.former));
  return forms;
}

StackPress pressStack(const job::Item& item, std::span<Form1> forms, const WorkRunner& runner) {
  if (forms.empty() || forms.size() != item.upperWindings.size() + 1)
    return failed(0, "巻線の数が合いません。");
  if (!forms[0].state().former) return failed(0, std::string(kNoShapeMessage));

  // Every winding read before anything is computed, as 計算 reads one coil.
  WindingStack stack;
  double turns = 0;
  for (std::size_t k = 0; k < forms.size(); ++k) {
    const std::string& name = k == 0 ? item.windingName : item.upperWindings[k - 1].name;
    TypedCoil typed = forms[k].state().typed();
    typed.former = forms[0].state().former;
    const CoilReading reading = readCoil(typed, ownInputs(forms[k], k > 0));
    if (reading.refusal) {
      // The winding's own form refuses the box as its 計算 does.
      forms[k].calculate();
      emptyFrom(k + 1, forms);
      return failed(k, windingLabel(k, name) + ": " + reading.refusal->message);
    }
    Insulation under;
    if (k > 0) {
      Expected<Insulation> tape =
          job::readInsulation(item.upperWindings[k - 1].under, windingLabel(k, name));
      if (!tape) {
        emptyFrom(k, forms);
        return failed(k, tape.message());
      }
      under = *tape;
    } else {
      stack.former = *formerOf(reading.coil);
    }
    turns += reading.coil.turns;
    stack.windings.push_back({name, reading.coil, under});
  }

  std::vector<Pressed> pressed;
  Expected<StackResult> result = Failure{""};
  runner(turns, [&](PressProgress* progress) {
    result = computeStack(stack, progress,
                          [&](std::size_t index, const Former& former, const CoilCalculation& c) {
                            pressed.push_back({index, former, c});
                          });
  });

  StackPress press;
  if (result.cancelled()) {
    emptyFrom(0, forms);
    press.cancelled = true;
    return press;
  }
  for (const Pressed& p : pressed) {
    Form1& form = forms[p.index];
    if (p.index > 0) putCoil(job::onInheritedFormer(form.state().typed(), p.former), form);
    form.showPress(p.calculation);
  }
  if (!result) {
    const std::size_t at = pressed.empty() ? 0 : pressed.back().index;
    emptyFrom(at + 1, forms);
    return failed(at, result.message());
  }
  press.result = std::move(result.value());
  return press;
}

void forgetInherited(Form1& form) {
  for (int i = 0; i < kInputBoxCount; ++i) {
    const auto b = static_cast<InputBox>(i);
    if (isFormerSize(b)) form.setText(b, "");
  }
}

}  // namespace kelvane::form
