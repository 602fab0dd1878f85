// Small RAII helpers over the SQLite C API for the store's own use: a prepared statement
// that finalizes itself and resets after every use, and the mapping of SQLite's failures
// to the runtime's error state.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/sys/error_state.h"

namespace qx::store {

class Stmt {
 public:
  Stmt() = default;
  ~Stmt() { Finalize(); }
  Stmt(const Stmt&) = delete;
  Stmt& operator=(const Stmt&) = delete;
  Stmt(Stmt&& o) noexcept : s_(o.s_) { o.s_ = nullptr; }
  Stmt& operator=(Stmt&& o) noexcept {
    if (this != &o) {
      Finalize();
      s_ = o.s_;
      o.s_ = nullptr;
    }
    return *this;
  }

  // Prepares `sql` on `db`; false (statement empty) on failure, the error left in `db`.
  bool Prepare(sqlite3* db, std::string_view sql) {
    Finalize();
    return sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &s_, nullptr) == SQLITE_OK;
  }
  void Finalize() {
    if (s_) sqlite3_finalize(s_);
    s_ = nullptr;
  }
  bool ready() const { return s_ != nullptr; }
  sqlite3_stmt* get() const { return s_; }

  void Bind(int i, int64_t v) { sqlite3_bind_int64(s_, i, v); }
  void BindBlob(int i, const void* p, size_t n) {
    if (n == 0) sqlite3_bind_zeroblob(s_, i, 0);
    else sqlite3_bind_blob(s_, i, p, static_cast<int>(n), SQLITE_TRANSIENT);
  }
  void BindBlobStatic(int i, const void* p, size_t n) {
    if (n == 0) sqlite3_bind_zeroblob(s_, i, 0);
    else sqlite3_bind_blob(s_, i, p, static_cast<int>(n), SQLITE_STATIC);
  }
  void BindNull(int i) { sqlite3_bind_null(s_, i); }
  void BindText(int i, std::string_view t) {
    sqlite3_bind_text(s_, i, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
  }

  int Step() { return sqlite3_step(s_); }
  // Resets and clears bindings; after it the statement holds no lock.
  void Reset() {
    sqlite3_reset(s_);
    sqlite3_clear_bindings(s_);
  }

  int64_t Int(int col) const { return sqlite3_column_int64(s_, col); }
  std::string_view Blob(int col) const {
    const void* p = sqlite3_column_blob(s_, col);
    return std::string_view(static_cast<const char*>(p), static_cast<size_t>(sqlite3_column_bytes(s_, col)));
  }
  std::string Text(int col) const {
    const unsigned char* p = sqlite3_column_text(s_, col);
    return p ? std::string(reinterpret_cast<const char*>(p), static_cast<size_t>(sqlite3_column_bytes(s_, col)))
             : std::string();
  }
  bool IsNull(int col) const { return sqlite3_column_type(s_, col) == SQLITE_NULL; }

 private:
  sqlite3_stmt* s_ = nullptr;
};

// Sets `code` with SQLite's extended result code and message of `db` as the driver detail.
inline void SetSqlError(LONG code, sqlite3* db) {
  RtSetFileError(code, std::to_string(db ? sqlite3_extended_errcode(db) : SQLITE_ERROR),
                 db ? sqlite3_errmsg(db) : "no connection");
}

// Sets `code` with a detail message of the store's own (detail code "qx").
inline void SetStoreError(LONG code, std::string_view message) { RtSetFileError(code, "qx", message); }

inline bool IsBusy(int rc) {
  const int primary = rc & 0xFF;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

// Runs SQL without results; returns SQLite's result code.
inline int Exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

}  // namespace qx::store
