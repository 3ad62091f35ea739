// Issues N quotations into a register, one after another, each under the
// next free number of the default pattern, as an engineer pressing PDF
// would: the tests start two of these at once against one register.
//   kelvane_test_issue_many LOCATION N
// Exit status 0 when every issue was recorded; else 1 and the sentence.
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "ledger/register.h"

int main(int argc, char** argv) {
  using namespace kelvane;
  int count = 0;
  const std::string_view countText = argc == 3 ? argv[2] : "";
  if (argc != 3 ||
      std::from_chars(countText.data(), countText.data() + countText.size(), count).ec !=
          std::errc{}) {
    std::fprintf(stderr, "usage: kelvane_test_issue_many LOCATION N\n");
    return 2;
  }
  auto opened = ledger::Register::open(argv[1]);
  if (!opened) {
    std::fprintf(stderr, "%s\n", opened.message().c_str());
    return 1;
  }
  ledger::Register& register_ = *opened.value();
  for (int i = 0; i < count; ++i) {
    ledger::IssueRequest request;
    request.record.issuedOn = "2026-12-09";
    request.record.validUntil = "2027-01-08";
    request.record.customer = "東邦コイル工業";
    request.record.subject = "チョークコイル";
    request.record.lines = {{"CH-" + std::to_string(i), "チョーク", 100, 12345, 12345}};
    request.record.subtotalYen = 12345;
    request.record.taxYen = 1234;
    request.record.totalYen = 13579;
    request.jobText = "{}";
    request.numberPattern = "Q{yyyy}-{nnnn}";
    auto recorded = register_.record(request, [](const job::IssueRecord& numbered) {
      return Expected<std::string>("%PDF " + numbered.quotationNumber);
    });
    if (!recorded) {
      std::fprintf(stderr, "%s\n", recorded.message().c_str());
      return 1;
    }
  }
  return 0;
}
