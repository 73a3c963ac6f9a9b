#pragma once
// A thin RAII layer over SQLite's C interface.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace kt::server {

class SqliteError : public std::runtime_error {
public:
  SqliteError(const std::string& what, int code) : std::runtime_error(what), code_(code) {}
  int code() const { return code_; }

private:
  int code_;
};

class SqliteStatement {
public:
  SqliteStatement(sqlite3* db, std::string_view sql);
  ~SqliteStatement();
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  // Parameters count from 1.
  SqliteStatement& Bind(int index, int64_t value);
  SqliteStatement& Bind(int index, double value);
  SqliteStatement& Bind(int index, std::string_view text);
  SqliteStatement& BindBlob(int index, std::string_view bytes);
  SqliteStatement& BindNull(int index);
  template <typename T>
  SqliteStatement& Bind(int index, const std::optional<T>& value) {
    if (value) return Bind(index, *value);
    return BindNull(index);
  }
  SqliteStatement& Bind(int index, int value) { return Bind(index, static_cast<int64_t>(value)); }

  // True while a row is ready.
  bool Step();
  void Run() { while (Step()) {} }
  void Reset();

  // Columns count from 0.
  int64_t Int(int column) const;
  double Double(int column) const;
  std::string Text(int column) const;
  bool IsNull(int column) const;
  std::optional<int64_t> OptionalInt(int column) const;
  std::optional<double> OptionalDouble(int column) const;

private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

class SqliteConnection {
public:
  explicit SqliteConnection(const std::string& path);
  ~SqliteConnection();
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  void Execute(std::string_view sql);
  SqliteStatement Prepare(std::string_view sql) { return SqliteStatement(db_, sql); }
  int64_t LastInsertId() const;
  int Changes() const;
  // Changes whenever another connection commits to the database.
  int64_t DataVersion();
  sqlite3* handle() { return db_; }

private:
  sqlite3* db_ = nullptr;
};

// BEGIN IMMEDIATE ... COMMIT, rolled back when left without Commit().
class SqliteTransaction {
public:
  explicit SqliteTransaction(SqliteConnection& connection);
  ~SqliteTransaction();
  void Commit();

private:
  SqliteConnection& connection_;
  bool done_ = false;
};

}  // namespace kt::server
