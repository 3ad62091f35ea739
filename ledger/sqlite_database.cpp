// The register of one PC: a SQLite file, written through SQLite's C library.
#include <sqlite3.h>

#include <charconv>
#include <filesystem>
#include <map>
#include <system_error>

#include "job/output_file.h"
#include "job/system_reason.h"
#include "ledger/database.h"

namespace kelvane::ledger {

namespace {

// How long a writer waits for another process that holds the register (its
// transaction is one issue: milliseconds, or a few seconds on a slow share)
// before it says the register is busy.
constexpr int kBusyMilliseconds = 15000;

// SQLite's reasons in the user's words; SQLite's own English sentence only
// for what the user cannot act on anyway.
std::string sqliteReason(sqlite3* db, int code) {
  switch (code & 0xff) {
    case SQLITE_FULL:
      return "ディスクがいっぱいです";
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return "書き込みが許されていません";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return "ほかのプログラムが使用中です";
    case SQLITE_CORRUPT:
      return "ファイルが壊れています";
    case SQLITE_NOTADB:
      return "データベースのファイルではありません";
    case SQLITE_CANTOPEN:
      return "ファイルを開けません";
    case SQLITE_IOERR:
      return "読み書きに失敗しました";
    case SQLITE_NOMEM:
      return "メモリーが足りません";
    case SQLITE_CONSTRAINT:
      return "同じ見積番号と版がすでにあります";
    default:
      return db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
  }
}

class SqliteDatabase final : public Database {
 public:
  SqliteDatabase(sqlite3* db, std::string name) : db_(db), name_(std::move(name)) {}
  ~SqliteDatabase() override {
    for (auto& [sql, statement] : statements_) sqlite3_finalize(statement);
    sqlite3_close_v2(db_);
  }
  SqliteDatabase(const SqliteDatabase&) = delete;
  SqliteDatabase& operator=(const SqliteDatabase&) = delete;

  std::string_view dialect() const override { return "sqlite"; }

  Result<std::vector<Row>> query(std::string_view sql, const std::vector<Value>& params) override {
    auto prepared = prepare(sql);
    if (auto* error = std::get_if<DatabaseError>(&prepared)) return *error;
    sqlite3_stmt* statement = std::get<sqlite3_stmt*>(prepared);
    // Whatever happens below, the statement is ready for its next use.
    struct Reset {
      sqlite3_stmt* statement;
      ~Reset() {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
      }
    } reset{statement};

    if (auto bound = bind(statement, params); bound) return *bound;
    std::vector<Row> rows;
    const int columns = sqlite3_column_count(statement);
    for (;;) {
      const int code = sqlite3_step(statement);
      if (code == SQLITE_DONE) break;
      if (code != SQLITE_ROW) return failure(code);
      Row& row = rows.emplace_back();
      row.reserve(static_cast<std::size_t>(columns));
      for (int c = 0; c < columns; ++c) row.push_back(column(statement, c));
    }
    return rows;
  }

  Result<std::monostate> begin() override { return run("BEGIN IMMEDIATE"); }
  Result<std::monostate> commit() override { return run("COMMIT"); }
  Result<std::monostate> rollback() override {
    // A statement that failed may have ended the transaction already.
    if (sqlite3_get_autocommit(db_) != 0) return std::monostate{};
    return run("ROLLBACK");
  }

  DatabaseError failure(int code) const {
    const int basic = code & 0xff;
    return DatabaseError{
        "見積台帳「" + name_ + "」を読み書きできません（" + sqliteReason(db_, code) + "）。",
        basic == SQLITE_CONSTRAINT || basic == SQLITE_BUSY || basic == SQLITE_LOCKED};
  }

  Result<std::monostate> run(const char* sql) {
    const int code = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) return failure(sqlite3_extended_errcode(db_));
    return std::monostate{};
  }

 private:
  std::variant<sqlite3_stmt*, DatabaseError> prepare(std::string_view sql) {
    auto found = statements_.find(sql);
    if (found != statements_.end()) return found->second;
    sqlite3_stmt* statement = nullptr;
    const int code = sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()),
                                        SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    if (code != SQLITE_OK) return failure(code);
    statements_.emplace(std::string(sql), statement);
    return statement;
  }

  // Binds $1, $2, … by their names: SQLite numbers a named parameter by its
  // first appearance, so "$2 … $1" holds $2 at index 1.
  std::optional<DatabaseError> bind(sqlite3_stmt* statement, const std::vector<Value>& params) {
    const int count = sqlite3_bind_parameter_count(statement);
    for (int index = 1; index <= count; ++index) {
      const char* name = sqlite3_bind_parameter_name(statement, index);
      std::size_t number = 0;
      const std::string_view text = name != nullptr ? name : "";
      const auto [end, error] =
          text.size() > 1 ? std::from_chars(text.data() + 1, text.data() + text.size(), number)
                          : std::from_chars_result{nullptr, std::errc::invalid_argument};
      if (text.empty() || text[0] != '$' || error != std::errc{} ||
          end != text.data() + text.size() || number == 0 || number > params.size()) {
        return DatabaseError{"見積台帳への問い合わせの引数「" + std::string(text) +
                             "」がありません。"};
      }
      const Value& value = params[number - 1];
      int code = SQLITE_OK;
      if (const auto* whole = std::get_if<std::int64_t>(&value)) {
        code = sqlite3_bind_int64(statement, index, *whole);
      } else if (const auto* text = std::get_if<std::string>(&value)) {
        code = sqlite3_bind_text64(statement, index, text->data(), text->size(), SQLITE_STATIC,
                                   SQLITE_UTF8);
      } else if (const auto* bytes = std::get_if<Bytes>(&value)) {
        code = sqlite3_bind_blob64(statement, index, bytes->data.data(), bytes->data.size(),
                                   SQLITE_STATIC);
      } else {
        code = sqlite3_bind_null(statement, index);
      }
      if (code != SQLITE_OK) return failure(code);
    }
    return std::nullopt;
  }

  static Value column(sqlite3_stmt* statement, int c) {
    switch (sqlite3_column_type(statement, c)) {
      case SQLITE_INTEGER:
        return static_cast<std::int64_t>(sqlite3_column_int64(statement, c));
      case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, c));
        return Bytes{std::string(data != nullptr ? data : "",
                                 static_cast<std::size_t>(sqlite3_column_bytes(statement, c)))};
      }
      case SQLITE_NULL:
        return std::monostate{};
      default: {  // text, and a real read as its text
        const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
        return std::string(data != nullptr ? data : "",
                           static_cast<std::size_t>(sqlite3_column_bytes(statement, c)));
      }
    }
  }

  sqlite3* db_;
  std::string name_;
  std::map<std::string, sqlite3_stmt*, std::less<>> statements_;
};

}  // namespace

Expected<std::unique_ptr<Database>> openSqlite(const std::string& path) {
  if (path.empty()) return Failure{"見積台帳のファイルの名前がありません。"};
  const std::string name = job::displayName(path);
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (!folder.empty()) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
      return Failure{"見積台帳「" + name + "」のフォルダーを作れません（" +
                     job::systemReason(error.value()) + "）。"};
    }
  }
  sqlite3* db = nullptr;
  const int opened = sqlite3_open_v2(
      path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (opened != SQLITE_OK) {
    const std::string reason = sqliteReason(db, opened);
    sqlite3_close_v2(db);
    return Failure{"見積台帳「" + name + "」を開けません（" + reason + "）。"};
  }
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, kBusyMilliseconds);
  auto database = std::make_unique<SqliteDatabase>(db, name);
  // The first statement reads the file's header: a file that is not a
  // database is told here, by its name.
  // WAL: readers (the window's ledger) never hold up the one who issues;
  // synchronous FULL: a recorded issue survives a power cut with its commit.
  for (const char* setting : {"PRAGMA journal_mode = WAL", "PRAGMA synchronous = FULL",
                              "PRAGMA foreign_keys = ON", "PRAGMA cache_size = -32768"}) {
    const int code = sqlite3_exec(db, setting, nullptr, nullptr, nullptr);
    if (code == SQLITE_OK) continue;
    const int extended = sqlite3_extended_errcode(db);
    if ((extended & 0xff) == SQLITE_NOTADB || (extended & 0xff) == SQLITE_CORRUPT) {
      return Failure{"「" + name + "」は見積台帳のデータベースではありません。"};
    }
    return Failure{database->failure(extended).message};
  }
  return std::unique_ptr<Database>(std::move(database));
}

}  // namespace kelvane::ledger
