#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/expected.h"
#include "form/form1.h"
#include "job/job.h"

namespace kelvane::form {

// The items of a job on a window of one form: the form shows one item, and
// every other item keeps its coil, results and out-of-date state in a form
// of its own until it is shown again. The shown form belongs to the window
// (its widgets follow it); every call that needs it is handed it as it
// stands, and a switch gives back the state the window then shows.
class ItemForms {
 public:
  std::size_t count() const { return slots_.size(); }
  std::size_t shown() const { return shown_; }

  // The job's items, the first to be shown: the window opens its coil on
  // its own form (applyCoil), where a refusal shows its message; the others
  // are opened on forms of their own.
  void take(const std::vector<job::Item>& items);

  // What the item holds besides its coil: names, terms, basis lot,
  // requirements. The coil is its form's.
  job::Item& item(std::size_t index) { return slots_[index].item; }
  const job::Item& item(std::size_t index) const { return slots_[index].item; }
  // The form of an item: `shownForm` for the one shown.
  const Form1& formOf(std::size_t index, const Form1& shownForm) const;
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
    Form1 form;
  };
  std::vector<Slot> slots_ = std::vector<Slot>(1);
  std::size_t shown_ = 0;
};

}  // namespace kelvane::form
