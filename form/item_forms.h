#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/expected.h"
#include "core/winding_stack.h"
#include "form/form1.h"
#include "form/stack_forms.h"
#include "job/job.h"

namespace kelvane::form {

// The items of a job on a window of one form: the form shows one item, and
// every other item keeps its coil, results and out-of-date state in a form
// of its own until it is shown again. The shown form belongs to the window
// (its widgets follow it); every call that needs it is handed it as it
// stands, and a switch gives back the state the window then shows.
//
// An item of several windings keeps a form for each: the window shows one
// winding of the item shown (the one chosen last on that item), and the
// others wait on their forms. The item's own coil is its first winding's.
class ItemForms {
 public:
  std::size_t count() const { return slots_.size(); }
  std::size_t shown() const { return shown_; }

  // The job's items, the first to be shown: the window opens its coil on
  // its own form (applyCoil), where a refusal shows its message; the others
  // are opened on forms of their own. An item of several windings has each
  // winding put on a form of its own, and the stack pressed but for the
  // first item's, which the window presses (pressShown) on its form.
  void take(const std::vector<job::Item>& items);

  // What the item holds besides its coil: names, terms, basis lot,
  // requirements. The coil is its form's.
  job::Item& item(std::size_t index) { return slots_[index].item; }
  const job::Item& item(std::size_t index) const { return slots_[index].item; }
  // The form of an item's first winding (its own coil): `shownForm` where
  // the window shows it.
  const Form1& formOf(std::size_t index, const Form1& shownForm) const;
  // The windings: how many the item has, which one the window shows of the
  // item shown, the form of each and copies of them all.
  std::size_t windingCount(std::size_t index) const { return slots_[index].forms.size(); }
  std::size_t shownWinding() const { return slots_[shown_].winding; }
  const Form1& windingForm(std::size_t index, std::size_t winding, const Form1& shownForm) const;
  std::vector<Form1> formsOf(std::size_t index, const Form1& shownForm) const;
  // The stack of the item as last computed; none when its windings'
  // results do not all belong to their inputs.
  const std::optional<StackResult>& stackOf(std::size_t index) const { return slots_[index].stack; }
  // Whether the item's results, every winding's, belong to its inputs.
  bool current(std::size_t index, const Form1& shownForm) const;
  // The item as it stands, its coil as its form holds it; and all of them.
  job::Item itemAt(std::size_t index, const Form1& shownForm) const;
  std::vector<job::Item> items(const Form1& shownForm) const;

  // The item at `index` shown: the state to show, or none for no such item.
  // The item shown before keeps `shownForm`.
  const Form1* show(std::size_t index, const Form1& shownForm);
  // 追加: a new coil at the end, as a window opens; 複製: a copy of the item
  // shown after it, coil, results, names, terms and requirements. Both
  // shown; refused when the job holds kMaxItems.
  Expected<const Form1*> add(const Form1& shownForm);
  Expected<const Form1*> duplicate(const Form1& shownForm);
  // 削除 of the item shown: the state of the item shown next (the one after
  // it, or the new last); none when it is the last item.
  const Form1* remove();
  // 上へ (-1) and 下へ (1): the item shown changes places with its
  // neighbour and stays shown. False at either end.
  bool move(int by, const Form1& shownForm);

  // The winding `winding` of the item shown shown: the state to show, or
  // none for no such winding. The winding shown before keeps `shownForm`.
  const Form1* showWinding(std::size_t winding, const Form1& shownForm);
  // 巻線を追加: a new winding over the last of the item shown, its wire
  // (every text but the former's sizes, which it inherits) copied from the
  // winding shown and no tape under it; shown. Refused past kMostWindings.
  Expected<const Form1*> addWinding(const Form1& shownForm);
  // 巻線を削除 of the winding shown, above the first: the state of the
  // winding below it, now shown; none for the first winding.
  const Form1* removeWinding();
  // Something under winding `from` of the item shown changed (its inputs,
  // the tape under it): the stack is no longer computed, and the windings
  // above `from` no longer know the size they sit on. Their former's boxes
  // are emptied (so their results show as out of date); the shown one's is
  // the window's to empty.
  void stackChanged(std::size_t from);
  // 計算 of the item shown, a stack of windings, through `runner`
  // (pressStack); after a failure the failing winding is shown. The state
  // to show is `shownState()`.
  StackPress pressShown(const Form1& shownForm, const WorkRunner& runner);
  const Form1& shownState() const { return slots_[shown_].forms[slots_[shown_].winding]; }

  // 全品目を計算 of the items not shown whose results are out of date, each
  // pressed on its form through `runner`: the items it refused, one line
  // each naming the item and why ("品目 2「KC-1」: …").
  std::vector<std::string> computeOthers(const WorkRunner& runner);
  // Whether every item's results belong to its inputs.
  bool allCurrent(const Form1& shownForm) const;

 private:
  // The sentence refusing an item past the limit.
  static std::string fullMessage();

  struct Slot {
    job::Item item;
    std::vector<Form1> forms = std::vector<Form1>(1);  // a winding's form each
    std::size_t winding = 0;                           // the one the window shows
    std::optional<StackResult> stack;                  // while every winding is current
  };
  // Presses a stack on its slot's forms, keeping the result.
  static StackPress pressSlot(Slot& slot, const WorkRunner& runner);
  std::vector<Slot> slots_ = std::vector<Slot>(1);
  std::size_t shown_ = 0;
};

}  // namespace kelvane::form
