#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvane::form {

// A control as the window addresses it: a name and, for the elements of a
// control array, an index ("Text1(9)", "Label1(14)", "Command1").
struct ControlId {
  std::string name;
  int index = -1;  // -1 for a control that is not part of an array

  std::string str() const;
  bool operator==(const ControlId&) const = default;
};

// "Text1(2)" → {Text1, 2}; "Command1" → {Command1, -1}. Empty for text that
// is not shaped like a control address.
std::optional<ControlId> parseControlId(std::string_view text);

inline ControlId text1(int i) { return {"Text1", i}; }
inline ControlId text2(int i) { return {"Text2", i}; }
inline ControlId label1(int i) { return {"Label1", i}; }

}  // namespace kelvane::form
