// Stands in for the PostgreSQL connection in builds that have none yet: a
// register named by a server's URL is refused in one sentence.
#include "ledger/database.h"

namespace kelvane::ledger {

Expected<std::unique_ptr<Database>> openPostgresql(const std::string& /*url*/) {
  return Failure{
      "PostgreSQL の台帳には接続できません（この Kelvane は PostgreSQL に対応していません）。"};
}

}  // namespace kelvane::ledger
