#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "job/issue_record.h"

namespace kelvane::ledger::test {

// The kinds of register the suites run over: "sqlite" and "postgresql",
// always both, as the tests' list is made where no server runs (the build).
std::vector<std::string> registerKinds();
// Whether a register of that kind can be had here: PostgreSQL's when
// KELVANE_TEST_POSTGRES_URL names a server to test on (the tests' fixture
// starts one); a test of a kind that cannot skips.
bool canTest(const std::string& kind);

// A register of the kind that nobody has used yet: a SQLite file in a new
// temporary folder, or a new schema of the test server (its URL with the
// schema as search_path). The folder is removed when the object goes.
class FreshRegister {
 public:
  explicit FreshRegister(const std::string& kind);
  ~FreshRegister();
  FreshRegister(const FreshRegister&) = delete;
  FreshRegister& operator=(const FreshRegister&) = delete;
  const std::string& location() const { return location_; }
  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
  std::string location_;
};

// An issue of two lines with the figures they add up to.
job::IssueRecord sampleRecord(const std::string& number, const std::string& issuedOn,
                              const std::string& customer = "株式会社サンプル電機");

}  // namespace kelvane::ledger::test
