#pragma once

#include <string_view>

#include "wiredata/wire_tables.h"

namespace kelvane::wiredata {

// The standard table with this id; an empty table when there is none.
inline const WireTable& tableOf(std::string_view id) {
  static const WireTable none;
  const auto& tables = standardWireTables();
  if (!tables) return none;
  for (const WireTable& t : *tables) {
    if (t.id == id) return t;
  }
  return none;
}

}  // namespace kelvane::wiredata
