#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "core/former_shape.h"
#include "form/boxes.h"

namespace kelvane::form {

// The input boxes in the order a person reads them: down the input column,
// by their places in the control table. The wire, the turns, the lead and the
// layer width come first, then the former's own boxes, then Tension at the
// foot of the column.
const std::vector<InputBox>& readingOrder();

// The boxes of the reading order that `shown` keeps: the boxes Enter walks.
std::vector<InputBox> entryOrder(const std::function<bool(InputBox)>& shown);
// The boxes Enter walks for a former, as its buttons show them.
std::vector<InputBox> entryOrder(FormerShape shape);

// Where Enter goes from an input box: the next box of `order`, or the one
// before it with Shift. Nothing past either end (after the last box Enter
// presses 計算 instead) nor from a box outside the order.
std::optional<InputBox> enterMove(const std::vector<InputBox>& order, InputBox from,
                                  bool backwards);

}  // namespace kelvane::form
