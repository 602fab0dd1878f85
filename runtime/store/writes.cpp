// Writing: ADD, APPEND, PUT and DELETE. Each is one SQL statement, atomic and durable on
// its own outside a transaction; inside one it stands or falls with the transaction.
#include <cstring>

#include "runtime/store/instance.h"

namespace qx {

using namespace store;

namespace {

LONG WriteFailure(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_CONSTRAINT: return kCreatesDuplicateKey;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return kFileIsLocked;
    case SQLITE_READONLY:
    case SQLITE_PERM: return kAccessDenied;
    default: return kFileSystemError;
  }
}

// Binds the record buffer as ?1 and each key's image (or NULL) as ?2 ... ?n+1.
void BindRecord(Instance& in, Stmt& s, std::vector<std::optional<std::string>>* images) {
  s.BindBlobStatic(1, in.buffer.data(), in.buffer.size());
  images->clear();
  for (const KeyRuntime& k : in.keys) images->push_back(StoredKeyImage(in.decl->layout(), k.shape, in.buffer.data()));
  for (size_t i = 0; i < images->size(); ++i) {
    const auto& img = (*images)[i];
    if (img) s.BindBlobStatic(static_cast<int>(i + 2), img->data(), img->size());
    else s.BindNull(static_cast<int>(i + 2));
  }
}

void NoteWritten(Instance& in, int64_t id, int64_t ver) {
  in.current.valid = true;
  in.current.id = id;
  in.current.ver = ver;
  in.current.data.assign(reinterpret_cast<const char*>(in.buffer.data()), in.buffer.size());
  in.current.inTransaction = in.inTransaction;
}

void Insert(Instance& in) {
  std::vector<std::optional<std::string>> images;
  BindRecord(in, in.insert, &images);
  in.SetWait(kDefaultWaitSeconds);
  const int rc = in.insert.Step();
  in.insert.Reset();
  if (rc != SQLITE_DONE) {
    SetSqlError(WriteFailure(rc), in.db);
    return;
  }
  NoteWritten(in, sqlite3_last_insert_rowid(in.db), 1);
  in.current.watched = false;
  RtClearError();
}

// Drops the keys' indexes and marks them suspended, in one transaction of its own unless
// the thread's transaction covers the file.
bool SuspendKeys(Instance& in) {
  in.SetWait(kDefaultWaitSeconds);
  const bool own = !in.inTransaction;
  int rc = own ? Exec(in.db, "BEGIN IMMEDIATE") : SQLITE_OK;
  for (size_t i = 1; rc == SQLITE_OK && i <= in.keys.size(); ++i)
    rc = Exec(in.db, ("DROP INDEX IF EXISTS qx_key" + std::to_string(i)).c_str());
  if (rc == SQLITE_OK) rc = Exec(in.db, "UPDATE qx_key SET state = 1 WHERE state = 0");
  if (rc == SQLITE_OK && own) rc = Exec(in.db, "COMMIT");
  if (rc != SQLITE_OK) {
    SetSqlError(WriteFailure(rc) == kCreatesDuplicateKey ? kFileSystemError : WriteFailure(rc), in.db);
    if (own) Exec(in.db, "ROLLBACK");
    return false;
  }
  in.appending = true;
  for (auto& k : in.keys) k.suspended = true;
  return true;
}

}  // namespace

void ADD(FileDecl& file) {
  Instance& in = InstanceOf(file);
  if (!RequireWrite(in)) return;
  in.DropReadAhead();
  Insert(in);
}

void APPEND(FileDecl& file) {
  Instance& in = InstanceOf(file);
  if (!RequireWrite(in)) return;
  in.DropReadAhead();
  if (!in.appending && !SuspendKeys(in)) return;
  Insert(in);
}

void PUT(FileDecl& file) {
  Instance& in = InstanceOf(file);
  if (!RequireWrite(in)) return;
  if (!in.current.valid) {
    SetStoreError(kRecordNotAvailable, "there is no current record");
    return;
  }
  in.DropReadAhead();
  const bool watched = in.current.watched;
  Stmt& s = watched ? in.updateWatched : in.update;
  std::vector<std::optional<std::string>> images;
  BindRecord(in, s, &images);
  const int idParam = static_cast<int>(in.keys.size() + 2);
  s.Bind(idParam, in.current.id);
  if (watched) s.Bind(idParam + 1, in.current.ver);
  in.SetWait(kDefaultWaitSeconds);
  const int rc = s.Step();
  s.Reset();
  if (rc != SQLITE_DONE) {
    SetSqlError(WriteFailure(rc), in.db);
    return;
  }
  if (sqlite3_changes(in.db) == 0) {
    if (watched) {
      SetStoreError(kRecordChanged, "another opener changed or removed the record since it was read");
    } else {
      SetStoreError(kRecordNotAvailable, "the record is gone");
    }
    return;
  }
  NoteWritten(in, in.current.id, in.current.ver + 1);
  RtClearError();
}

void DELETE(FileDecl& file) {
  Instance& in = InstanceOf(file);
  if (!RequireWrite(in)) return;
  if (!in.current.valid) {
    SetStoreError(kRecordNotAvailable, "there is no current record");
    return;
  }
  in.DropReadAhead();
  in.remove.Bind(1, in.current.id);
  in.SetWait(kDefaultWaitSeconds);
  const int rc = in.remove.Step();
  in.remove.Reset();
  if (rc != SQLITE_DONE) {
    SetSqlError(WriteFailure(rc), in.db);
    return;
  }
  const bool gone = sqlite3_changes(in.db) == 0;
  in.current = CurrentRecord{};
  if (gone) {
    SetStoreError(kRecordNotAvailable, "the record is gone");
    return;
  }
  RtClearError();
}

}  // namespace qx
