#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/expected.h"

namespace kelvane::ledger {

// A value bound to a statement's parameter or read from a row: SQL NULL, a
// whole number, a text, or bytes (a BLOB in SQLite, a bytea in PostgreSQL).
struct Bytes {
  std::string data;
  bool operator==(const Bytes&) const = default;
};
using Value = std::variant<std::monostate, std::int64_t, std::string, Bytes>;
using Row = std::vector<Value>;

// Why a statement failed: its Japanese sentence, and whether it broke a
// unique constraint or lost a race with another writer (serialization
// failure, deadlock, a busy SQLite file), so that the transaction is worth
// trying again.
struct DatabaseError {
  std::string message;
  bool conflict = false;
};

template <typename T>
using Result = std::variant<T, DatabaseError>;

// One connection to the register's database. The register's SQL is written
// once, in the dialect both databases read: parameters numbered $1, $2, …
// (each bound as its Value; every one of them used by the statement); the
// types INTEGER, BIGINT and TEXT, and for bytes the word dialect() picks
// (BLOB or BYTEA); NULLs and whole numbers as above.
class Database {
 public:
  virtual ~Database() = default;
  // "sqlite" or "postgresql": for the few statements the two spell apart.
  virtual std::string_view dialect() const = 0;
  // Runs a statement and returns its rows (none for a statement without).
  virtual Result<std::vector<Row>> query(std::string_view sql,
                                         const std::vector<Value>& params) = 0;
  // BEGIN that takes the write lock at once (SQLite's BEGIN IMMEDIATE, a
  // PostgreSQL transaction), COMMIT and ROLLBACK.
  virtual Result<std::monostate> begin() = 0;
  virtual Result<std::monostate> commit() = 0;
  virtual Result<std::monostate> rollback() = 0;
};

// The connection for a location: a PostgreSQL URL, else a SQLite file made
// when it is not there (with its folder).
Expected<std::unique_ptr<Database>> connect(const std::string& location);
// The two connections, for the tests that hold each.
Expected<std::unique_ptr<Database>> openSqlite(const std::string& path);
Expected<std::unique_ptr<Database>> openPostgresql(const std::string& url);

}  // namespace kelvane::ledger
