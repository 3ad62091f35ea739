#include "tests/ledger/register_locations.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

#include "ledger/database.h"

namespace kelvane::ledger::test {

namespace {

std::string postgresUrl() {
  const char* url = std::getenv("KELVANE_TEST_POSTGRES_URL");
  return url != nullptr ? url : "";
}

std::string uniqueName(const std::string& stem) {
  static std::atomic<int> counter{0};
  return stem + std::to_string(::getpid()) + "_" + std::to_string(++counter);
}

}  // namespace

std::vector<std::string> registerKinds() { return {"sqlite", "postgresql"}; }

bool canTest(const std::string& kind) { return kind != "postgresql" || !postgresUrl().empty(); }

FreshRegister::FreshRegister(const std::string& kind) {
  folder_ = std::filesystem::temp_directory_path() / uniqueName("kelvane-ledger-test-");
  std::filesystem::create_directories(folder_);
  if (kind == "sqlite") {
    location_ = (folder_ / "register.sqlite3").string();
    return;
  }
  // A schema of its own on the test server: the tests may run at once.
  const std::string url = postgresUrl();
  const std::string schema = uniqueName("kelvane_test_");
  auto db = connect(url);
  if (!db) {
    ADD_FAILURE() << db.message();
    return;
  }
  const auto made = db.value()->query("CREATE SCHEMA " + schema, {});
  if (const auto* error = std::get_if<DatabaseError>(&made)) ADD_FAILURE() << error->message;
  if (url.starts_with("postgresql://") || url.starts_with("postgres://")) {
    location_ = url + (url.find('?') == std::string::npos ? "?" : "&") +
                "options=-csearch_path%3D" + schema;
  } else {
    location_ = url + " options='-csearch_path=" + schema + "'";
  }
}

FreshRegister::~FreshRegister() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

job::IssueRecord sampleRecord(const std::string& number, const std::string& issuedOn,
                              const std::string& customer) {
  job::IssueRecord r;
  r.quotationNumber = number;
  r.issuedOn = issuedOn;
  r.validUntil = "2027-01-08";
  r.customer = customer;
  r.subject = "電源トランス用コイル";
  r.personInCharge = "山田";
  r.lines = {{"AB-12", "電源トランス", 1000, 14930, 149300},
             {"CH-3", "チョーク", 200, 52000, 104000}};
  r.subtotalYen = 253300;
  r.taxYen = 25330;
  r.totalYen = 278630;
  return r;
}

}  // namespace kelvane::ledger::test
