#include "form/item_forms.h"

#include <algorithm>
#include <utility>

#include "form/form_job.h"
#include "job/item_stack.h"
#include "job/request_quote.h"

namespace kelvane::form {

void ItemForms::take(const std::vector<job::Item>& items) {
  slots_.clear();
  slots_.reserve(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    slots_.push_back({items[i], std::vector<Form1>(1), 0, std::nullopt});
    Slot& slot = slots_.back();
    if (!job::isStack(items[i])) {
      // A coil the others' forms refuse is marked in the list, not said now.
      if (i > 0) applyCoil(items[i].coil, slot.forms[0]);
      continue;
    }
    slot.forms = windingForms(items[i]);
    if (i > 0) pressSlot(slot, [](double, const Work& work) { work(nullptr); });
  }
  if (slots_.empty()) slots_.emplace_back();
  shown_ = 0;
}

const Form1& ItemForms::windingForm(std::size_t index, std::size_t winding,
                                    const Form1& shownForm) const {
  const Slot& slot = slots_[index];
  return index == shown_ && winding == slot.winding ? shownForm : slot.forms[winding];
}

const Form1& ItemForms::formOf(std::size_t index, const Form1& shownForm) const {
  return windingForm(index, 0, shownForm);
}

std::vector<Form1> ItemForms::formsOf(std::size_t index, const Form1& shownForm) const {
  std::vector<Form1> forms;
  forms.reserve(windingCount(index));
  for (std::size_t k = 0; k < windingCount(index); ++k)
    forms.push_back(windingForm(index, k, shownForm));
  return forms;
}

job::Item ItemForms::itemAt(std::size_t index, const Form1& shownForm) const {
  job::Item item = slots_[index].item;
  item.coil = formOf(index, shownForm).state().typed();
  // Above the first, a winding keeps its texts but the sizes it inherits
  // and the former it stands on.
  for (std::size_t k = 1; k < windingCount(index) && k <= item.upperWindings.size(); ++k) {
    TypedCoil& kept = item.upperWindings[k - 1].coil;
    const FormState& shown = windingForm(index, k, shownForm).state();
    for (int i = 0; i < kInputBoxCount; ++i) {
      if (!isFormerSize(static_cast<InputBox>(i))) kept.texts[i] = shown.inputTexts[i];
    }
    kept.material = shown.material;
  }
  return item;
}

std::vector<job::Item> ItemForms::items(const Form1& shownForm) const {
  std::vector<job::Item> items;
  items.reserve(slots_.size());
  for (std::size_t i = 0; i < slots_.size(); ++i) items.push_back(itemAt(i, shownForm));
  return items;
}

const Form1* ItemForms::show(std::size_t index, const Form1& shownForm) {
  if (index >= slots_.size()) return nullptr;
  // The item shown keeps its form as it stands, also when it is shown again.
  slots_[shown_].forms[slots_[shown_].winding] = shownForm;
  shown_ = index;
  return &shownState();
}

std::string ItemForms::fullMessage() {
  return "品目は " + std::to_string(job::kMaxItems) + " までです。";
}

Expected<const Form1*> ItemForms::add(const Form1& shownForm) {
  if (slots_.size() >= job::kMaxItems) return Failure{fullMessage()};
  slots_.emplace_back();
  return show(slots_.size() - 1, shownForm);
}

Expected<const Form1*> ItemForms::duplicate(const Form1& shownForm) {
  if (slots_.size() >= job::kMaxItems) return Failure{fullMessage()};
  Slot copy = slots_[shown_];
  copy.item = itemAt(shown_, shownForm);
  copy.forms[copy.winding] = shownForm;
  slots_.insert(slots_.begin() + static_cast<std::ptrdiff_t>(shown_ + 1), std::move(copy));
  return show(shown_ + 1, shownForm);
}

const Form1* ItemForms::remove() {
  if (slots_.size() < 2) return nullptr;
  slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(shown_));
  shown_ = std::min(shown_, slots_.size() - 1);
  return &shownState();
}

bool ItemForms::move(int by, const Form1& shownForm) {
  const auto to = static_cast<std::ptrdiff_t>(shown_) + by;
  if (by == 0 || to < 0 || to >= static_cast<std::ptrdiff_t>(slots_.size())) return false;
  slots_[shown_].forms[slots_[shown_].winding] = shownForm;
  std::swap(slots_[shown_], slots_[static_cast<std::size_t>(to)]);
  shown_ = static_cast<std::size_t>(to);
  return true;
}

const Form1* ItemForms::showWinding(std::size_t winding, const Form1& shownForm) {
  Slot& slot = slots_[shown_];
  if (winding >= slot.forms.size()) return nullptr;
  slot.forms[slot.winding] = shownForm;
  slot.winding = winding;
  return &slot.forms[winding];
}

Expected<const Form1*> ItemForms::addWinding(const Form1& shownForm) {
  Slot& slot = slots_[shown_];
  if (slot.forms.size() >= kMostWindings)
    return Failure{"巻線は1つの巻枠に " + std::to_string(kMostWindings) + " までです。"};
  slot.forms[slot.winding] = shownForm;
  job::UpperWinding upper;
  upper.coil = shownForm.state().typed();
  // A winding above the first keeps no former of its own (the job's file
  // holds none): it is wound on the one below.
  const job::UpperWinding unsized;
  upper.coil.former = unsized.coil.former;
  for (int i = 0; i < kInputBoxCount; ++i) {
    if (isFormerSize(static_cast<InputBox>(i))) upper.coil.texts[i] = unsized.coil.texts[i];
  }
  slot.item.upperWindings.push_back(upper);
  slot.forms.push_back(upperWindingForm(upper, slot.forms[0].state().former));
  // Its sizes are known once the stack is pressed.
  forgetInherited(slot.forms.back());
  slot.stack.reset();
  slot.winding = slot.forms.size() - 1;
  return &slot.forms.back();
}

const Form1* ItemForms::removeWinding() {
  Slot& slot = slots_[shown_];
  const std::size_t k = slot.winding;
  if (k == 0 || k >= slot.forms.size()) return nullptr;
  slot.forms.erase(slot.forms.begin() + static_cast<std::ptrdiff_t>(k));
  slot.item.upperWindings.erase(slot.item.upperWindings.begin() +
                                static_cast<std::ptrdiff_t>(k - 1));
  slot.winding = k - 1;
  // The windings that were above it now sit on the one below it.
  stackChanged(k - 1);
  return &slot.forms[slot.winding];
}

void ItemForms::stackChanged(std::size_t from) {
  Slot& slot = slots_[shown_];
  slot.stack.reset();
  for (std::size_t k = std::max<std::size_t>(from + 1, 1); k < slot.forms.size(); ++k) {
    if (k != slot.winding) forgetInherited(slot.forms[k]);
  }
}

StackPress ItemForms::pressSlot(Slot& slot, const WorkRunner& runner) {
  StackPress press = pressStack(slot.item, slot.forms, runner);
  slot.stack = press.result;
  return press;
}

StackPress ItemForms::pressShown(const Form1& shownForm, const WorkRunner& runner) {
  Slot& slot = slots_[shown_];
  slot.forms[slot.winding] = shownForm;
  // The names and tape as the forms hold them, the texts the forms' own.
  StackPress press = pressSlot(slot, runner);
  if (!press.result && !press.cancelled) slot.winding = press.failedWinding;
  return press;
}

std::vector<std::string> ItemForms::computeOthers(const WorkRunner& runner) {
  std::vector<std::string> refused;
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    Slot& slot = slots_[i];
    if (i == shown_ || current(i, slot.forms[slot.winding])) continue;
    if (job::isStack(slot.item)) {
      const StackPress press = pressSlot(slot, runner);
      if (!press.result && !press.cancelled)
        refused.push_back(job::itemLabel(i, slot.item) + ": " + press.message);
      continue;
    }
    Form1& form = slot.forms[0];
    form.setWorkRunner(runner);
    const std::size_t said = form.state().messages.size();
    form.calculate();
    if (form.state().resultsCurrent) continue;
    const auto& messages = form.state().messages;
    refused.push_back(job::itemLabel(i, slot.item) + ": " +
                      (messages.size() > said ? messages.back() : std::string("計算できません。")));
  }
  return refused;
}

bool ItemForms::current(std::size_t index, const Form1& shownForm) const {
  const Slot& slot = slots_[index];
  if (job::isStack(slot.item) && !slot.stack) return false;
  for (std::size_t k = 0; k < slot.forms.size(); ++k) {
    if (!windingForm(index, k, shownForm).state().resultsCurrent) return false;
  }
  return true;
}

bool ItemForms::allCurrent(const Form1& shownForm) const {
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    if (!current(i, shownForm)) return false;
  }
  return true;
}

}  // namespace kelvane::form
