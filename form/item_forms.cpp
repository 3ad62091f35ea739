#include "form/item_forms.h"

#include <algorithm>
#include <utility>

#include "form/form_job.h"
#include "job/request_quote.h"

namespace kelvane::form {

void ItemForms::take(const std::vector<job::Item>& items) {
  slots_.clear();
  slots_.reserve(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    slots_.push_back({items[i], Form1()});
    // A coil the others' forms refuse is marked in the list, not said now.
    if (i > 0) applyCoil(items[i].coil, slots_.back().form);
  }
  if (slots_.empty()) slots_.emplace_back();
  shown_ = 0;
}

const Form1& ItemForms::formOf(std::size_t index, const Form1& shownForm) const {
  return index == shown_ ? shownForm : slots_[index].form;
}

job::Item ItemForms::itemAt(std::size_t index, const Form1& shownForm) const {
  job::Item item = slots_[index].item;
  item.coil = formOf(index, shownForm).state().typed();
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
  slots_[shown_].form = shownForm;
  shown_ = index;
  return &slots_[index].form;
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
  Slot copy{itemAt(shown_, shownForm), shownForm};
  slots_.insert(slots_.begin() + static_cast<std::ptrdiff_t>(shown_ + 1), std::move(copy));
  return show(shown_ + 1, shownForm);
}

const Form1* ItemForms::remove() {
  if (slots_.size() < 2) return nullptr;
  slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(shown_));
  shown_ = std::min(shown_, slots_.size() - 1);
  return &slots_[shown_].form;
}

bool ItemForms::move(int by, const Form1& shownForm) {
  const auto to = static_cast<std::ptrdiff_t>(shown_) + by;
  if (by == 0 || to < 0 || to >= static_cast<std::ptrdiff_t>(slots_.size())) return false;
  slots_[shown_].form = shownForm;
  std::swap(slots_[shown_], slots_[static_cast<std::size_t>(to)]);
  shown_ = static_cast<std::size_t>(to);
  return true;
}

std::vector<std::string> ItemForms::computeOthers(const WorkRunner& runner) {
  std::vector<std::string> refused;
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    Form1& form = slots_[i].form;
    if (i == shown_ || form.state().resultsCurrent) continue;
    form.setWorkRunner(runner);
    const std::size_t said = form.state().messages.size();
    form.calculate();
    if (form.state().resultsCurrent) continue;
    const auto& messages = form.state().messages;
    refused.push_back(job::itemLabel(i, slots_[i].item) + ": " +
                      (messages.size() > said ? messages.back() : std::string("計算できません。")));
  }
  return refused;
}

bool ItemForms::allCurrent(const Form1& shownForm) const {
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    if (!formOf(i, shownForm).state().resultsCurrent) return false;
  }
  return true;
}

}  // namespace kelvane::form
