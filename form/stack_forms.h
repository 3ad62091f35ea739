#pragma once

// An item of several windings on a window: every winding on a form of its
// own, the stack computed once through the core, and each winding's press
// shown on its form as 計算 would show that winding typed on the former it
// inherits.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/read_coil.h"
#include "core/winding_stack.h"
#include "form/form1.h"
#include "job/job.h"

namespace kelvane::form {

// What 計算 of a stack left.
struct StackPress {
  std::optional<StackResult> result;  // none when it failed or was called off
  // The failure's sentence after the winding's name (巻線2「二次」: …); empty
  // when computed or called off.
  std::string message;
  std::size_t failedWinding = 0;  // whose form shows the failure
  bool cancelled = false;
};

// The item's windings each on a form of its own, their texts and buttons
// put on as the window opens an item (putCoil), not yet pressed: the first
// on the item's former, the others on its shape.
std::vector<Form1> windingForms(const job::Item& item);
// One winding above the first so opened, on the item's former shape.
Form1 upperWindingForm(const job::UpperWinding& winding, std::optional<FormerShape> former);

// 計算 of an item of several windings: forms[0] holds the first winding on
// the item's former, forms[k] winding k (its own texts; its former's boxes
// are the stack's to write); `item` gives their names and the tape under
// each. Every winding is read first as 計算 reads it (a refused box is
// refused on its own form, the focus in it), then the stack is computed
// once through `runner` with the turns of every winding, and each
// winding's press is shown on its form, the sizes it inherits in its
// former's boxes. The windings above a failure, and all of them when it is
// called off, keep their texts with the results emptied.
StackPress pressStack(const job::Item& item, std::span<Form1> forms, const WorkRunner& runner);

// The former's sizes of a winding above the first emptied: they are the
// stack's to write, and until it is pressed again nobody knows them.
void forgetInherited(Form1& form);

}  // namespace kelvane::form
