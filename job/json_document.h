#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string_view>

namespace kelvane::job {

// JSON text read into a document, with arrays and objects nested no deeper
// than a limit: the depth is counted while the text is read, so a document
// a million brackets deep costs nothing, and a long flat one stays linear.
// Jobs and the replay's steps are read through here.
struct JsonDocument {  // NOLINT(bugprone-exception-escape): a null json allocates nothing
  enum class Fault {
    None,
    Unreadable,      // no JSON, or more than one document
    TooDeep,         // nested deeper than the limit
    NumberTooLarge,  // a number beyond the range of a double (1e999)
  };
  nlohmann::json value;  // null unless fault is None
  Fault fault = Fault::None;
  std::size_t byte = 0;  // where an unreadable text stops making sense (from 1)
};
JsonDocument readJsonDocument(std::string_view text, int maxDepth);

}  // namespace kelvane::job
