// Transactions: LOGOUT, COMMIT, ROLLBACK. A transaction is the calling thread's and covers
// one file; it holds the file's write lock (SQLite's reserved lock) from LOGOUT on, so
// other openers' writes wait, while their reads go on. A savepoint at its start lets
// ROLLBACK undo the changes while still holding the lock, and read the current record
// back as the transaction found it.
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
  if (Exec(in.db, "BEGIN IMMEDIATE") != SQLITE_OK || Exec(in.db, "SAVEPOINT qx_logout") != SQLITE_OK) {
    SetSqlError(kUnableToLogTransaction, in.db);
    if (!sqlite3_get_autocommit(in.db)) Exec(in.db, "ROLLBACK");
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
  in->current.inTransaction = false;  // what it noted now stands
  RtClearError();
}

void ROLLBACK() {
  Instance* in = ActiveTransaction();
  if (!in) {
    SetStoreError(kLogoutNotActive, "no transaction is active");
    return;
  }
  // A current record noted inside the transaction may carry a version or content the
  // transaction wrote, or be a record it added: read it back as the transaction found it
  // (still under its lock, so no other opener's change slips in), or drop it when the
  // transaction made it. A note taken before LOGOUT stands as it was, watch included.
  CurrentRecord& cur = in->current;
  if (cur.valid && cur.inTransaction) {
    Row row;
    bool failed = false;
    if (Exec(in->db, "ROLLBACK TO qx_logout") == SQLITE_OK && ReadById(*in, cur.id, &row, &failed)) {
      row.data.resize(in->decl->layout().length(), '\0');
      cur.ver = row.ver;
      cur.data = std::move(row.data);
      cur.inTransaction = false;
    } else {
      cur = CurrentRecord{};
    }
  }
  Exec(in->db, "ROLLBACK");
  in->inTransaction = false;
  ThreadTransaction() = nullptr;
  in->DropReadAhead();
  if (in->appending) {
    in->appending = false;
    for (auto& k : in->keys) k.suspended = false;
  }
  RtClearError();
}

}  // namespace qx
