#include "ledger/database.h"

#include <array>

namespace kelvane::ledger {

namespace {

// libpq's own spellings of a server: a URL, or its key=value words.
bool namesPostgresql(const std::string& location) {
  for (const std::string_view start : {"postgresql://", "postgres://"}) {
    if (location.starts_with(start)) return true;
  }
  constexpr std::array<std::string_view, 5> keywords = {
      "host=", "hostaddr=", "dbname=", "service=", "user="};
  for (const std::string_view keyword : keywords) {
    if (location.starts_with(keyword)) return true;
  }
  return false;
}

}  // namespace

Expected<std::unique_ptr<Database>> connect(const std::string& location) {
  if (namesPostgresql(location)) return openPostgresql(location);
  return openSqlite(location);
}

}  // namespace kelvane::ledger
