#include "form/boxes.h"

namespace kelvane::form {
namespace {

// The index of an element of the named control array, when it is one of
// `count` elements.
std::optional<int> elementOf(const ControlId& id, std::string_view array, int count) {
  if (id.name != array || id.index < 0 || id.index >= count) return std::nullopt;
  return id.index;
}

}  // namespace

std::optional<InputBox> inputBoxOf(const ControlId& id) {
  if (const auto i = elementOf(id, "Text1", kInputBoxCount)) return static_cast<InputBox>(*i);
  return std::nullopt;
}

std::optional<ResultBox> resultBoxOf(const ControlId& id) {
  if (const auto i = elementOf(id, "Text2", kResultBoxCount)) return static_cast<ResultBox>(*i);
  return std::nullopt;
}

std::optional<FormerShape> formerOf(const ControlId& id) {
  if (const auto i = elementOf(id, "Option1", 3)) return static_cast<FormerShape>(*i);
  return std::nullopt;
}

std::optional<ConductorMaterial> materialOf(const ControlId& id) {
  if (const auto i = elementOf(id, "Option3", 3)) return static_cast<ConductorMaterial>(*i);
  return std::nullopt;
}

}  // namespace kelvane::form
