#include "form/control_id.h"

#include <cctype>

namespace kelvane::form {

std::string ControlId::str() const {
  if (index < 0) return name;
  return name + "(" + std::to_string(index) + ")";
}

std::optional<ControlId> parseControlId(std::string_view text) {
  std::size_t open = text.find('(');
  std::string_view name = text.substr(0, open);
  if (name.empty()) return std::nullopt;
  for (char c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) return std::nullopt;
  }
  if (open == std::string_view::npos) return ControlId{std::string(name), -1};
  std::string_view digits = text.substr(open + 1);
  if (digits.size() < 2 || digits.back() != ')') return std::nullopt;
  digits.remove_suffix(1);
  if (digits.size() > 3) return std::nullopt;
  int index = 0;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    index = index * 10 + (c - '0');
  }
  return ControlId{std::string(name), index};
}

}  // namespace kelvane::form
