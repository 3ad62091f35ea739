#include "form/entry_order.h"

#include <algorithm>

#include "form/control_table.h"

namespace kelvane::form {

const std::vector<InputBox>& readingOrder() {
  static const std::vector<InputBox> order = [] {
    std::vector<InputBox> boxes;
    boxes.reserve(kInputBoxCount);
    for (int i = 0; i < kInputBoxCount; ++i) boxes.push_back(static_cast<InputBox>(i));
    // Top to bottom; a box beside another on the same row is read first when
    // it stands further left.
    auto place = [](InputBox b) {
      const ControlDesign* c = findControl(idOf(b));
      return std::pair{c->top, c->left};
    };
    std::stable_sort(boxes.begin(), boxes.end(),
                     [&](InputBox a, InputBox b) { return place(a) < place(b); });
    return boxes;
  }();
  return order;
}

std::vector<InputBox> entryOrder(const std::function<bool(InputBox)>& shown) {
  std::vector<InputBox> order;
  std::copy_if(readingOrder().begin(), readingOrder().end(), std::back_inserter(order), shown);
  return order;
}

std::vector<InputBox> entryOrder(FormerShape shape) {
  return entryOrder([&](InputBox b) { return formerShows(shape, b); });
}

std::optional<InputBox> enterMove(const std::vector<InputBox>& order, InputBox from,
                                  bool backwards) {
  const auto at = std::find(order.begin(), order.end(), from);
  if (at == order.end()) return std::nullopt;
  if (backwards) {
    if (at == order.begin()) return std::nullopt;
    return *std::prev(at);
  }
  if (std::next(at) == order.end()) return std::nullopt;
  return *std::next(at);
}

}  // namespace kelvane::form
