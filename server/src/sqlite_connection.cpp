#include "sqlite_connection.h"

#include <sqlite3.h>

namespace kt::server {
namespace {

[[noreturn]] void Fail(sqlite3* db, int code, std::string_view what) {
  throw SqliteError(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(code)), code);
}

}  // namespace

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
  const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
  if (rc != SQLITE_OK) Fail(db, rc, "prepare " + std::string(sql.substr(0, 60)));
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(stmt_); }

SqliteStatement& SqliteStatement::Bind(int index, int64_t value) {
  sqlite3_bind_int64(stmt_, index, value);
  return *this;
}
SqliteStatement& SqliteStatement::Bind(int index, double value) {
  sqlite3_bind_double(stmt_, index, value);
  return *this;
}
SqliteStatement& SqliteStatement::Bind(int index, std::string_view text) {
  sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  return *this;
}
SqliteStatement& SqliteStatement::BindBlob(int index, std::string_view bytes) {
  sqlite3_bind_blob(stmt_, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
  return *this;
}
SqliteStatement& SqliteStatement::BindNull(int index) {
  sqlite3_bind_null(stmt_, index);
  return *this;
}

bool SqliteStatement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  Fail(db_, rc, "step");
}

void SqliteStatement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

int64_t SqliteStatement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }
double SqliteStatement::Double(int column) const { return sqlite3_column_double(stmt_, column); }
std::string SqliteStatement::Text(int column) const {
  const void* data = sqlite3_column_blob(stmt_, column);
  const int size = sqlite3_column_bytes(stmt_, column);
  return data ? std::string(static_cast<const char*>(data), static_cast<size_t>(size)) : std::string();
}
bool SqliteStatement::IsNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}
std::optional<int64_t> SqliteStatement::OptionalInt(int column) const {
  if (IsNull(column)) return std::nullopt;
  return Int(column);
}
std::optional<double> SqliteStatement::OptionalDouble(int column) const {
  if (IsNull(column)) return std::nullopt;
  return Double(column);
}

namespace {

// Memory statistics put one process-wide mutex around every allocation of
// SQLite; the server's threads would queue on it. Must precede initialisation.
void ConfigureOnce() {
  static const bool configured = [] {
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    sqlite3_initialize();
    return true;
  }();
  (void)configured;
}

}  // namespace

SqliteConnection::SqliteConnection(const std::string& path) {
  ConfigureOnce();
  const int rc = sqlite3_open_v2(path.c_str(), &db_,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                 nullptr);
  if (rc != SQLITE_OK) {
    const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    sqlite3_close(db_);
    db_ = nullptr;
    throw SqliteError("open " + path + ": " + message, rc);
  }
  sqlite3_busy_timeout(db_, 10000);
  sqlite3_extended_result_codes(db_, 1);
}

SqliteConnection::~SqliteConnection() { sqlite3_close(db_); }

void SqliteConnection::Execute(std::string_view sql) {
  char* message = nullptr;
  const std::string text(sql);
  const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message);
  if (rc != SQLITE_OK) {
    const std::string what = message ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    throw SqliteError("exec: " + what, rc);
  }
}

int64_t SqliteConnection::LastInsertId() const { return sqlite3_last_insert_rowid(db_); }
int SqliteConnection::Changes() const { return sqlite3_changes(db_); }

int64_t SqliteConnection::DataVersion() {
  SqliteStatement statement(db_, "PRAGMA data_version");
  statement.Step();
  return statement.Int(0);
}

SqliteTransaction::SqliteTransaction(SqliteConnection& connection) : connection_(connection) {
  connection_.Execute("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction() {
  if (!done_) {
    try {
      connection_.Execute("ROLLBACK");
    } catch (...) {
    }
  }
}

void SqliteTransaction::Commit() {
  connection_.Execute("COMMIT");
  done_ = true;
}

}  // namespace kt::server
