// Transactions: LOGOUT, COMMIT, ROLLBACK. A transaction is the calling thread's and covers
// one file; it holds the file's write lock (SQLite's reserved lock) from LOGOUT on, so
// other openers' writes wait, while their reads go on.
#include "runtime/store/instance.h"

namespace qx {

using namespace store;

namespace {

// The thread's transaction; a transaction whose instance was closed meanwhile (its
// declaration destroyed by another thread) counts as none.
Instance* ActiveTransaction() {
  Instance* in = ThreadTransaction();
  if (in && (!in->inTransaction || !in->db)) in = ThreadTransaction() = nullptr;
  return in;
}

}  // namespace

void LOGOUT(LONG seconds, FileDecl& file) {
  Instance& in = InstanceOf(file);
  if (ActiveTransaction()) {
    SetStoreError(kLogoutAlreadyActive, "this thread has a transaction active");
    return;
  }
  if (!in.open) {
    SetStoreError(kUnableToLogTransaction, "the file is not open on this thread");
    return;
  }
  if (!in.mode.write) {
    SetStoreError(kUnableToLogTransaction, "the file was opened without write access");
    return;
  }
  in.SetWait(seconds > 0 ? seconds : 0);
  if (Exec(in.db, "BEGIN IMMEDIATE") != SQLITE_OK) {
    SetSqlError(kUnableToLogTransaction, in.db);
    return;
  }
  in.inTransaction = true;
  ThreadTransaction() = &in;
  RtClearError();
}

void COMMIT() {
  Instance* in = ActiveTransaction();
  if (!in) {
    SetStoreError(kLogoutNotActive, "no transaction is active");
    return;
  }
  in->SetWait(kDefaultWaitSeconds);
  const int rc = Exec(in->db, "COMMIT");
  in->inTransaction = false;
  ThreadTransaction() = nullptr;
  if (rc != SQLITE_OK) {
    SetSqlError(kFileSystemError, in->db);
    if (!sqlite3_get_autocommit(in->db)) Exec(in->db, "ROLLBACK");
    in->current = CurrentRecord{};
    return;
  }
  RtClearError();
}

void ROLLBACK() {
  Instance* in = ActiveTransaction();
  if (!in) {
    SetStoreError(kLogoutNotActive, "no transaction is active");
    return;
  }
  Exec(in->db, "ROLLBACK");
  in->inTransaction = false;
  ThreadTransaction() = nullptr;
  // What the transaction wrote is undone; the current record's noted state may be too.
  in->DropReadAhead();
  if (in->appending) {
    in->appending = false;
    for (auto& k : in->keys) k.suspended = false;
  }
  RtClearError();
}

}  // namespace qx
