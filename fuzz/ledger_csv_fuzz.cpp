// The ledger's CSV import on arbitrary bytes: issues that write out and read
// back the same, or one refusal of one line — never a crash, a hang or a leak.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_checks.h"
#include "ledger/register.h"

using namespace kelvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Expected<std::vector<ledger::StoredIssue>> read = ledger::importLedgerCsv(text);
  if (!read) {
    FUZZ_CHECK(!read.message().empty());
    FUZZ_CHECK(read.message().find('\n') == std::string::npos);
    return 0;
  }
  const Expected<std::vector<ledger::StoredIssue>> again =
      ledger::importLedgerCsv(ledger::ledgerCsv(*read));
  FUZZ_CHECK(again);
  FUZZ_CHECK(*again == *read);
  return 0;
}
