// The register's connection to a PostgreSQL server, for a team that shares
// one register: libpq, statements with their parameters sent apart from the
// SQL text, bytes in binary, every failure a Japanese sentence.
#include <libpq-fe.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ledger/database.h"

namespace kelvane::ledger {
namespace {

// The type numbers of PostgreSQL's built-in types (pg_type's oid; fixed in
// every release) that the register's values are sent as or read from.
constexpr Oid kBoolOid = 16;
constexpr Oid kByteaOid = 17;
constexpr Oid kInt8Oid = 20;
constexpr Oid kInt2Oid = 21;
constexpr Oid kInt4Oid = 23;
constexpr Oid kTextOid = 25;

// Every issuing connection takes this transaction lock first, so that two
// engineers recording at once wait for each other as SQLite's writers do
// instead of racing for the same number (the unique constraints still
// guard it). The number is the register's own: "KLVN" in ASCII.
constexpr std::int64_t kRegisterLockKey = 0x4B4C564E;

// How long a connection tries to reach the server before it says it cannot
// (libpq's connect_timeout, seconds): a dead server must not hold the window.
constexpr const char* kConnectTimeoutSeconds = "5";
// A server that vanishes mid-statement (its PC switched off, the network
// gone) is noticed by TCP keepalives within about half a minute rather than
// the system's two hours; a live server answers them even while it works.
constexpr const char* kKeepaliveIdleSeconds = "15";
constexpr const char* kKeepaliveIntervalSeconds = "5";
constexpr const char* kKeepaliveCount = "3";
// How long a statement waits for another engineer's issue before it gives
// up and is tried again: a colleague's print dialog left open must not
// freeze everyone else.
constexpr const char* kLockTimeout = "30s";

// A message of libpq or the server on one line: its lines joined, the tabs
// of its continuation lines and the trailing newline gone, and a line libpq
// repeated (it keeps the connection's earlier errors) said once.
std::string oneLine(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  auto endLine = [&] {
    if (!line.empty() && std::find(lines.begin(), lines.end(), line) == lines.end()) {
      lines.push_back(line);
    }
    line.clear();
  };
  bool space = false;
  for (char c : text) {
    if (c == '\n' || c == '\r') {
      endLine();
      space = false;
      continue;
    }
    if (c == '\t' || c == ' ') {
      space = !line.empty();
      continue;
    }
    if (space) line += ' ';
    space = false;
    line += c;
  }
  endLine();
  std::string joined;
  for (const auto& l : lines) joined += (joined.empty() ? "" : " ") + l;
  return joined;
}

// The password of the location never appears in a message, even where
// libpq would repeat part of the URL.
std::string withoutSecret(std::string text, const std::string& secret) {
  if (secret.empty()) return text;
  for (auto at = text.find(secret); at != std::string::npos; at = text.find(secret, at)) {
    text.replace(at, secret.size(), "****");
    at += 4;
  }
  return text;
}

// "host:port" of a location, for the sentences that name the server; a
// Unix socket's folder stands for the host.
struct ServerName {
  std::string where;
  std::string password;
};

ServerName serverName(const std::string& url) {
  ServerName name;
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(url.c_str(), &error);
  if (error) PQfreemem(error);
  std::string host, port;
  if (options) {
    for (auto* o = options; o->keyword; ++o) {
      if (!o->val) continue;
      std::string_view key = o->keyword;
      if (key == "host" || (key == "hostaddr" && host.empty())) host = o->val;
      if (key == "port") port = o->val;
      if (key == "password") name.password = o->val;
    }
    PQconninfoFree(options);
  }
  if (host.empty()) host = "localhost";
  name.where = host + ":" + (port.empty() ? std::string("5432") : port);
  return name;
}

// bytea as the server writes it in text results: "\x" and two hex digits a
// byte (the connection asks for this form when it opens).
bool decodeHexBytea(std::string_view text, std::string& bytes) {
  if (text.size() < 2 || text[0] != '\\' || text[1] != 'x' || text.size() % 2 != 0) return false;
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  bytes.clear();
  bytes.reserve((text.size() - 2) / 2);
  for (std::size_t i = 2; i < text.size(); i += 2) {
    const int high = nibble(text[i]);
    const int low = nibble(text[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes += static_cast<char>(high * 16 + low);
  }
  return true;
}

struct ResultDeleter {
  void operator()(PGresult* result) const { PQclear(result); }
};
using ResultPtr = std::unique_ptr<PGresult, ResultDeleter>;

struct ConnectionDeleter {
  void operator()(PGconn* connection) const { PQfinish(connection); }
};
using ConnectionPtr = std::unique_ptr<PGconn, ConnectionDeleter>;

// Server notices (a table that already exists, skipped) are not the user's
// business: they would otherwise go to standard error.
void ignoreNotice(void* /*unused*/, const char* /*message*/) {}

class PostgresqlDatabase final : public Database {
 public:
  PostgresqlDatabase(ConnectionPtr connection, ServerName server)
      : connection_(std::move(connection)), server_(std::move(server)) {}

  std::string_view dialect() const override { return "postgresql"; }

  // The session's settings the register relies on: bytea written as hex,
  // and a bounded wait for another's lock. Made again after a reconnection.
  std::optional<DatabaseError> configure() {
    const std::string settings =
        std::string("SET bytea_output = 'hex'; SET lock_timeout = '") + kLockTimeout + "'";
    ResultPtr result(PQexec(connection_.get(), settings.c_str()));
    if (result && PQresultStatus(result.get()) == PGRES_COMMAND_OK) return std::nullopt;
    return failure(result.get());
  }

  Result<std::vector<Row>> query(std::string_view sql, const std::vector<Value>& params) override {
    if (auto lost = reconnectOutsideTransaction()) return *lost;
    auto result = execute(sql, params);
    // A read outside a transaction that found the connection gone (the
    // server restarted since the last operation) is read again on a new
    // one: it changed nothing. A write is not, as it may have been done.
    if (lost_ && !inTransaction_ && isRead(sql)) {
      if (auto lost = reconnectOutsideTransaction()) return *lost;
      result = execute(sql, params);
    }
    return result;
  }

  Result<std::monostate> begin() override {
    if (auto lost = reconnectOutsideTransaction()) return *lost;
    auto failed = command("BEGIN");
    // As for a read: a BEGIN that found the connection gone did nothing.
    if (failed && lost_) {
      if (auto lost = reconnectOutsideTransaction()) return *lost;
      failed = command("BEGIN");
    }
    if (failed) return *failed;
    inTransaction_ = true;
    // The register's write lock, held until COMMIT or ROLLBACK.
    auto locked = execute("SELECT pg_advisory_xact_lock($1)", {kRegisterLockKey});
    if (auto* error = std::get_if<DatabaseError>(&locked)) {
      rollback();
      return *error;
    }
    return std::monostate{};
  }

  Result<std::monostate> commit() override {
    auto failed = command("COMMIT");
    inTransaction_ = false;
    if (failed) return *failed;
    return std::monostate{};
  }

  Result<std::monostate> rollback() override {
    inTransaction_ = false;
    // A server that went away has already thrown the transaction away.
    if (lost_ || PQstatus(connection_.get()) != CONNECTION_OK) return std::monostate{};
    if (auto failed = command("ROLLBACK")) return *failed;
    return std::monostate{};
  }

 private:
  static bool isRead(std::string_view sql) {
    const auto start = sql.find_first_not_of(" \t\n");
    if (start == std::string_view::npos) return false;
    sql.remove_prefix(start);
    return sql.starts_with("SELECT") || sql.starts_with("select") || sql.starts_with("WITH") ||
           sql.starts_with("with");
  }

  Result<std::vector<Row>> execute(std::string_view sql, const std::vector<Value>& params) {
    const std::string text(sql);
    std::vector<Oid> types(params.size(), 0);
    std::vector<const char*> values(params.size(), nullptr);
    std::vector<int> lengths(params.size(), 0);
    std::vector<int> formats(params.size(), 0);
    std::vector<std::string> numbers(params.size());
    for (std::size_t i = 0; i < params.size(); ++i) {
      const Value& value = params[i];
      if (const auto* number = std::get_if<std::int64_t>(&value)) {
        // A whole number's type is left to the statement, as a literal's
        // would be: a column's INTEGER or BIGINT, a function's integer.
        numbers[i] = std::to_string(*number);
        values[i] = numbers[i].c_str();
      } else if (const auto* string = std::get_if<std::string>(&value)) {
        types[i] = kTextOid;
        values[i] = string->c_str();
      } else if (const auto* bytes = std::get_if<Bytes>(&value)) {
        types[i] = kByteaOid;
        values[i] = bytes->data.data();
        lengths[i] = static_cast<int>(bytes->data.size());
        formats[i] = 1;  // binary: the bytes as they are
      }
      // NULL: no value, its type left to the statement.
    }

    ResultPtr result(PQexecParams(connection_.get(), text.c_str(), static_cast<int>(params.size()),
                                  types.data(), values.data(), lengths.data(), formats.data(), 0));
    const auto status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) return failure(result.get());
    return rows(result.get());
  }

  // A statement without parameters or rows; its failure, if it failed.
  std::optional<DatabaseError> command(const char* sql) {
    ResultPtr result(PQexec(connection_.get(), sql));
    if (result && PQresultStatus(result.get()) == PGRES_COMMAND_OK) return std::nullopt;
    return failure(result.get());
  }

  // A connection lost between two operations (the server restarted) is
  // made again before the next: the window keeps its register open for
  // hours. Inside a transaction it is not, as the server has discarded the
  // transaction's statements so far.
  std::optional<DatabaseError> reconnectOutsideTransaction() {
    if (inTransaction_ || (!lost_ && PQstatus(connection_.get()) == CONNECTION_OK)) {
      return std::nullopt;
    }
    PQreset(connection_.get());
    if (PQstatus(connection_.get()) == CONNECTION_OK) {
      lost_ = false;
      return configure();
    }
    return DatabaseError{"台帳のサーバー（" + server_.where + "）に接続できません（" +
                         reason(PQerrorMessage(connection_.get())) + "）。"};
  }

  std::string reason(const char* message) const {
    return withoutSecret(oneLine(message ? message : ""), server_.password);
  }

  DatabaseError failure(const PGresult* result) {
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const std::string_view sqlState = state ? state : "";
    const char* message = result ? PQresultErrorMessage(result) : "";
    if (!message || !*message) message = PQerrorMessage(connection_.get());
    // The server gone mid-statement: libpq's own error (no SQLSTATE), a
    // connection failure (class 08) or the server shutting down (57P0x).
    // The server discards whatever the transaction had done.
    if (PQstatus(connection_.get()) != CONNECTION_OK || sqlState.empty() ||
        sqlState.substr(0, 2) == "08" || sqlState.substr(0, 4) == "57P0") {
      lost_ = true;
      return DatabaseError{"台帳のサーバー（" + server_.where +
                           "）との接続が切れました。この操作は記録されていません（" +
                           reason(message) + "）。"};
    }
    DatabaseError error;
    // A unique constraint another writer reached first, a serialization
    // failure, a deadlock, a lock waited for too long: worth trying again.
    error.conflict =
        sqlState == "23505" || sqlState == "40001" || sqlState == "40P01" || sqlState == "55P03";
    const char* primary = PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY);
    const std::string why = reason(primary ? primary : message);
    error.message = "台帳のサーバー（" + server_.where + "）で台帳を読み書きできませんでした（" +
                    why + (sqlState.empty() ? "" : "、" + std::string(sqlState)) + "）。";
    return error;
  }

  // The rows of a result as the register's values: whole numbers of any
  // width as int64, bytea as bytes, NULL as monostate, the rest as text.
  Result<std::vector<Row>> rows(const PGresult* result) const {
    const int rowCount = PQntuples(result);
    const int columnCount = PQnfields(result);
    std::vector<Row> out;
    out.reserve(static_cast<std::size_t>(rowCount));
    for (int r = 0; r < rowCount; ++r) {
      Row row;
      row.reserve(static_cast<std::size_t>(columnCount));
      for (int c = 0; c < columnCount; ++c) {
        if (PQgetisnull(result, r, c)) {
          row.emplace_back(std::monostate{});
          continue;
        }
        const std::string_view text(PQgetvalue(result, r, c),
                                    static_cast<std::size_t>(PQgetlength(result, r, c)));
        const Oid type = PQftype(result, c);
        if (type == kInt8Oid || type == kInt4Oid || type == kInt2Oid) {
          std::int64_t number = 0;
          const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
          if (ec != std::errc{} || end != text.data() + text.size()) return unreadable(result, c);
          row.emplace_back(number);
        } else if (type == kBoolOid) {
          row.emplace_back(std::int64_t{text == "t" ? 1 : 0});
        } else if (type == kByteaOid) {
          Bytes bytes;
          if (!decodeHexBytea(text, bytes.data)) return unreadable(result, c);
          row.emplace_back(std::move(bytes));
        } else {
          row.emplace_back(std::string(text));
        }
      }
      out.push_back(std::move(row));
    }
    return out;
  }

  DatabaseError unreadable(const PGresult* result, int column) const {
    return DatabaseError{"台帳のサーバー（" + server_.where + "）の返した値（" +
                         std::string(PQfname(result, column)) + "）を読めません。"};
  }

  ConnectionPtr connection_;
  ServerName server_;
  bool inTransaction_ = false;
  // The connection failed as a lost one would (libpq may not have noticed).
  bool lost_ = false;
};

}  // namespace

Expected<std::unique_ptr<Database>> openPostgresql(const std::string& url) {
  char* parseError = nullptr;
  PQconninfoOption* parsed = PQconninfoParse(url.c_str(), &parseError);
  if (!parsed) {
    // The location itself may hold a password: where libpq repeats it, it
    // is left out.
    std::string why = withoutSecret(parseError ? oneLine(parseError) : "", url);
    if (parseError) PQfreemem(parseError);
    return Failure{"台帳の場所を PostgreSQL の接続先として読めません（" + why + "）。"};
  }
  PQconninfoFree(parsed);
  ServerName server = serverName(url);

  // The settings before the location are defaults it may override; the one
  // after it is the register's own: its texts are UTF-8.
  const char* keywords[] = {
      "connect_timeout",  "keepalives_idle", "keepalives_interval", "keepalives_count",
      "application_name", "dbname",          "client_encoding",     nullptr};
  const char* values[] = {kConnectTimeoutSeconds,
                          kKeepaliveIdleSeconds,
                          kKeepaliveIntervalSeconds,
                          kKeepaliveCount,
                          "kelvane",
                          url.c_str(),
                          "UTF8",
                          nullptr};
  ConnectionPtr connection(PQconnectdbParams(keywords, values, 1));
  if (!connection) {
    return Failure{"台帳のサーバー（" + server.where +
                   "）に接続できません（メモリが足りません）。"};
  }
  if (PQstatus(connection.get()) != CONNECTION_OK) {
    return Failure{"台帳のサーバー（" + server.where + "）に接続できません（" +
                   withoutSecret(oneLine(PQerrorMessage(connection.get())), server.password) +
                   "）。"};
  }
  PQsetNoticeProcessor(connection.get(), ignoreNotice, nullptr);
  auto database = std::make_unique<PostgresqlDatabase>(std::move(connection), std::move(server));
  if (auto failed = database->configure()) return Failure{failed->message};
  return std::unique_ptr<Database>(std::move(database));
}

}  // namespace kelvane::ledger
