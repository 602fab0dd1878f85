// Declarations, OPEN, CLOSE, CREATE, BUILDfile, LOCK, SEND and the properties; see file.h.
#include "runtime/store/file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "runtime/store/instance.h"
#include "runtime/store/schema.h"
#include "runtime/store/stored_layout.h"
#include "runtime/sys/paths.h"
#include "runtime/text/strings.h"

namespace qx {

using namespace store;

namespace {

std::atomic<uint64_t> gNextDeclId{1};

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

// ".TPS" added when the last component of the name has no extension.
std::string WithExtension(std::string name) {
  const std::string native = RtNativePath(name);
  const size_t slash = native.rfind('/');
  const std::string last = slash == std::string::npos ? native : native.substr(slash + 1);
  if (last.find('.') == std::string::npos) name += ".TPS";
  return name;
}

// True when the directory part of `path` does not exist.
bool DirectoryMissing(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return false;
  struct stat st;
  const std::string dir = slash == 0 ? "/" : path.substr(0, slash);
  return ::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode);
}

bool KeyedFile(const FileDecl& d) { return d.attributes().encrypt && !d.owner().empty(); }

// Opens a connection to an existing file and reads its stored layout, mapping every way
// it can fail to the runtime's codes. `fd` is a descriptor on the file that the caller
// keeps open (its header is read through it, so no descriptor is opened and closed here).
// Returns 0 or the code it set; on success *db is open.
LONG ConnectExisting(const std::string& path, int fd, const std::string& owner, bool keyed, Instance* waitFor,
                     double waitSeconds, sqlite3** db, StoredLayout* stored, StoredState* state) {
  *db = nullptr;
  long long size = 0;
  const Header header = ClassifyHeader(fd, &size);
  if (header == Header::kTruncated) {
    SetStoreError(kFileSystemError, "the file is shorter than its header says: it is damaged");
    return kFileSystemError;
  }
  if (header == Header::kOther && !keyed) {
    SetStoreError(kInvalidDataFile, "not a data file");
    return kInvalidDataFile;
  }
  const bool useKey = keyed && header != Header::kPlain;
  if (waitFor) waitFor->SetWait(waitSeconds);
  int rc = Connect(path, useKey ? owner : std::string(), false, waitFor, db);
  LoadResult r = LoadResult::kError;
  if (rc == SQLITE_OK) {
    r = LoadSchema(*db, stored, state);
  } else {
    r = (rc & 0xFF) == SQLITE_NOTADB ? LoadResult::kNotADatabase : LoadResult::kError;
  }
  LONG code = kNoError;
  switch (r) {
    case LoadResult::kOk: stored->encrypted = header != Header::kPlain && header != Header::kEmpty; break;
    case LoadResult::kNotOurs: SetStoreError(code = kInvalidDataFile, "not a data file of this store"); break;
    case LoadResult::kNotADatabase:
      // An enciphered file is whole pages of 1024 bytes; one that is cannot be told from a
      // file keyed with another password, which is what it most likely is.
      if (useKey && size > 0 && size % 1024 == 0) SetSqlError(code = kAccessDenied, *db);
      else SetSqlError(code = kInvalidDataFile, *db);
      break;
    case LoadResult::kCorrupt: SetSqlError(code = kFileSystemError, *db); break;
    case LoadResult::kBusy: SetSqlError(code = kFileIsLocked, *db); break;
    case LoadResult::kError: SetSqlError(code = kFileSystemError, *db); break;
  }
  if (code != kNoError) {
    sqlite3_close_v2(*db);
    *db = nullptr;
  }
  return code;
}

// Runs UpgradeRecordTable in a write transaction of its own, waiting up to `waitSeconds`
// for the lock. 0, or the code it set (32 when the lock is not had in time, else 90).
LONG UpgradeInTransaction(Instance& in, const StoredLayout& stored, const StoredState& state, double waitSeconds) {
  in.SetWait(waitSeconds);
  int rc = Exec(in.db, "BEGIN IMMEDIATE");
  if (rc == SQLITE_OK) rc = UpgradeRecordTable(in.db, stored.keys, state.keyStates);
  if (rc == SQLITE_OK) rc = Exec(in.db, "COMMIT");
  if (rc == SQLITE_OK) return kNoError;
  const LONG code = IsBusy(rc) ? kFileIsLocked : kFileSystemError;
  SetSqlError(code, in.db);
  if (!sqlite3_get_autocommit(in.db)) Exec(in.db, "ROLLBACK");
  return code;
}

// A process killed inside a transaction leaves its journal. When the journal is hot the
// engine rolls it back on the first read (the layout read above) and removes it; one whose
// header never reached the disk is cold: harmless, but the engine leaves it lying. While
// this connection holds the write lock no other connection can be writing, so a journal
// present then is such a leftover, and removing it leaves only the data file.
void RemoveColdJournal(Instance& in, const std::string& path) {
  sqlite3* db = in.db;
  const std::string journal = path + "-journal";
  struct stat st;
  if (::stat(journal.c_str(), &st) != 0) return;
  in.SetWait(0);  // a writer at work has its journal in use: leave it, do not wait
  if (Exec(db, "BEGIN IMMEDIATE") != SQLITE_OK) return;
  if (::stat(journal.c_str(), &st) == 0) ::unlink(journal.c_str());
  Exec(db, "ROLLBACK");
}

}  // namespace

const KeyDef& Key::def() const { return file_->keyDefs()[static_cast<size_t>(number_ - 1)]; }

FileDecl::FileDecl(std::string label, FileName name, std::string prefix, std::string owner,
                   FileAttributes attributes, RecordLayout layout, std::vector<KeyDef> keys)
    : label_(std::move(label)),
      name_(std::move(name)),
      prefix_(std::move(prefix)),
      owner_(std::move(owner)),
      attributes_(attributes),
      layout_(std::move(layout)),
      keyDefs_(std::move(keys)),
      id_(gNextDeclId++) {
  valid_ = !layout_.fields().empty();
  for (KeyDef& k : keyDefs_) {
    k.name = Upper(k.name);
    if (k.components.empty()) valid_ = false;
    for (std::string& c : k.components) {
      const int f = layout_.FindField(c);
      if (f < 0) valid_ = false;
      else c = layout_.fields()[static_cast<size_t>(f)].name;
    }
  }
  for (size_t i = 0; i < keyDefs_.size(); ++i) keys_.push_back(std::unique_ptr<Key>(new Key(this, static_cast<int>(i + 1))));
  RegisterDecl(id_);
}

FileDecl::~FileDecl() { UnregisterDecl(id_); }

Key* FileDecl::FindKey(std::string_view name) const {
  for (size_t i = 0; i < keyDefs_.size(); ++i) {
    if (RtSameIgnoringCase(keyDefs_[i].name, name)) return keys_[i].get();
  }
  return nullptr;
}

std::string FileDecl::StoreName() const { return WithExtension(DeclaredName()); }

unsigned char* FileDecl::RecordBuffer() { return InstanceOf(*this).buffer.data(); }

// ---- OPEN ------------------------------------------------------------------------------

namespace store {

bool PrepareStatements(Instance& in) {
  const FileDecl& d = *in.decl;
  const size_t nKeys = d.keyCount();
  std::string cols, params;
  for (size_t i = 1; i <= nKeys; ++i) {
    cols += ", k" + std::to_string(i);
    params += ", ?" + std::to_string(i + 1);
  }
  bool ok = in.insert.Prepare(in.db, "INSERT INTO qx_record(ver, data" + cols + ") VALUES(1, ?1" + params + ")");
  std::string sets;
  for (size_t i = 1; i <= nKeys; ++i) sets += ", k" + std::to_string(i) + " = ?" + std::to_string(i + 1);
  const std::string idParam = "?" + std::to_string(nKeys + 2);
  const std::string verParam = "?" + std::to_string(nKeys + 3);
  ok = ok && in.update.Prepare(in.db, "UPDATE qx_record SET ver = ver + 1, data = ?1" + sets + " WHERE id = " + idParam);
  ok = ok && in.updateWatched.Prepare(in.db, "UPDATE qx_record SET ver = ver + 1, data = ?1" + sets + " WHERE id = " +
                                                 idParam + " AND ver = " + verParam);
  ok = ok && in.remove.Prepare(in.db, "DELETE FROM qx_record WHERE id = ?1");
  ok = ok && in.byId.Prepare(in.db, "SELECT id, ver, data FROM qx_record WHERE id = ?1");
  ok = ok && in.versionOf.Prepare(in.db, "SELECT ver FROM qx_record WHERE id = ?1");
  ok = ok && in.fwdRec.Prepare(in.db, "SELECT id, ver, data FROM qx_record WHERE id > ?1 ORDER BY id LIMIT ?2");
  ok = ok && in.bwdRec.Prepare(in.db, "SELECT id, ver, data FROM qx_record WHERE id < ?1 ORDER BY id DESC LIMIT ?2");
  ok = ok && in.beginRead.Prepare(in.db, "BEGIN");
  ok = ok && in.endRead.Prepare(in.db, "COMMIT");
  in.keys.clear();
  in.keys.resize(nKeys);
  for (size_t i = 0; ok && i < nKeys; ++i) {
    KeyRuntime& k = in.keys[i];
    const KeyDef& def = d.keyDefs()[i];
    for (const std::string& c : def.components) k.shape.fields.push_back(d.layout().FindField(c));
    k.shape.opt = def.opt;
    k.shape.nocase = def.nocase;
    k.imageLength = KeyImageLength(d.layout(), k.shape);
    const std::string kc = "k" + std::to_string(i + 1);
    const std::string sel = "SELECT id, ver, data, " + kc + " FROM qx_record WHERE ";
    ok = ok && k.fwdEq.Prepare(in.db, sel + kc + " = ?1 AND id > ?2 ORDER BY id LIMIT ?3");
    ok = ok && k.fwdGt.Prepare(in.db, sel + kc + " > ?1 ORDER BY " + kc + ", id LIMIT ?2");
    ok = ok && k.bwdEq.Prepare(in.db, sel + kc + " = ?1 AND id < ?2 ORDER BY id DESC LIMIT ?3");
    ok = ok && k.bwdLt.Prepare(in.db, sel + kc + " < ?1 ORDER BY " + kc + " DESC, id DESC LIMIT ?2");
  }
  if (!ok) SetSqlError(kFileSystemError, in.db);
  return ok;
}

}  // namespace store

namespace {

// OPEN, and OPENrecords with `keysMayBeSuspended`: a key whose data must be rebuilt is
// then suspended on the instance instead of failing the OPEN with 46.
void Open(FileDecl& file, LONG mode, bool keysMayBeSuspended) {
  Instance& in = InstanceOf(file);
  if (in.open) {
    SetStoreError(kFileAlreadyOpen, "this thread has the file open already");
    return;
  }
  AccessMode access;
  if (!ParseAccessMode(mode, &access) || (keysMayBeSuspended && access.write)) {
    SetStoreError(kUnsupportedDriverFunction, "unknown access mode");
    return;
  }
  if (!file.valid()) {
    SetStoreError(kInvalidRecordDeclaration, "the declaration is not valid");
    return;
  }
  const double recover = in.recoverSeconds;
  in.recoverSeconds = 0;
  const std::string path = RtResolvePath(file.StoreName());
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) {
      RtSetFileError(DirectoryMissing(path) ? kPathNotFound : kFileNotFound, std::to_string(errno), std::strerror(errno));
    } else {
      RtSetFileError(errno == EACCES ? kAccessDenied : kFileSystemError, std::to_string(errno), std::strerror(errno));
    }
    return;
  }
  switch (in.share.Acquire(path, access, recover)) {
    case ShareLock::Result::kOk: break;
    case ShareLock::Result::kHeld: SetStoreError(kFileIsLocked, "another opener holds the file locked"); return;
    case ShareLock::Result::kDenied:
      SetStoreError(kAccessDenied, "the access mode conflicts with another opener's");
      return;
    case ShareLock::Result::kError: {
      // ENOENT: the file went away (or was being replaced) while this opener waited.
      const int e = in.share.error();
      const LONG code = e == EACCES   ? kAccessDenied
                        : e == EISDIR ? kInvalidDataFile
                        : e == ENOENT ? kFileNotFound
                                      : kFileSystemError;
      RtSetFileError(code, std::to_string(e), std::strerror(e));
      return;
    }
  }
  StoredLayout stored;
  StoredState state;
  const double engineWait = recover > 0 ? recover : kOpenWaitSeconds;
  LONG code = ConnectExisting(path, in.share.fd(), file.owner(), KeyedFile(file), &in, engineWait, &in.db, &stored,
                              &state);
  if (code == kNoError && !SameLayout(stored, file.layout(), file.keyDefs(), KeyedFile(file))) {
    SetStoreError(code = kInvalidRecordDeclaration, "the stored fields or keys differ from the declaration");
  }
  if (code == kNoError && !keysMayBeSuspended) {
    for (int s : state.keyStates) {
      if (s != 0) {
        SetStoreError(code = kKeyFileMustBeRebuilt, "a key's data must be rebuilt");
        break;
      }
    }
  }
  // An opener that may write brings a file whose pointers could be reused up to date
  // before it adds anything; readers add nothing and read either format.
  if (code == kNoError && access.write && state.reusesPointers)
    code = UpgradeInTransaction(in, stored, state, engineWait);
  if (code == kNoError && !PrepareStatements(in)) code = kFileSystemError;
  if (code == kNoError) {
    for (size_t i = 0; i < state.keyStates.size() && i < in.keys.size(); ++i)
      in.keys[i].suspended = state.keyStates[i] != 0;
  }
  if (code == kNoError && access.write) RemoveColdJournal(in, path);
  if (code != kNoError) {
    CloseInstance(in);
    return;
  }
  in.mode = access;
  in.path = path;
  in.open = true;
  in.cursor = Cursor{};
  in.current = CurrentRecord{};
  in.watchPending = false;
  in.DropReadAhead();
  RtClearError();
}

}  // namespace

void OPEN(FileDecl& file, LONG mode) { Open(file, mode, false); }

void OPENrecords(FileDecl& file, LONG mode) { Open(file, mode, true); }

void CLOSE(FileDecl& file) {
  Instance& in = InstanceOf(file);
  if (!RequireOpen(in)) return;
  CloseInstance(in);
  RtClearError();
}

// ---- CREATE ----------------------------------------------------------------------------

namespace {

// Takes the file at `path` for this opener alone (writing, denying others both reading and
// writing), making it first with `createNew`; false, with the error set, when another
// opener holds it locked (32) or has it open (5), or the lock itself fails (`failure`).
bool AcquireAlone(ShareLock& lock, const std::string& path, LONG failure, bool createNew = false) {
  AccessMode all;
  all.write = all.denyRead = all.denyWrite = true;
  switch (lock.Acquire(path, all, 0, createNew)) {
    case ShareLock::Result::kOk: return true;
    case ShareLock::Result::kHeld: SetStoreError(kFileIsLocked, "another opener holds the file locked"); return false;
    case ShareLock::Result::kDenied: SetStoreError(kAccessDenied, "another opener has the file open"); return false;
    case ShareLock::Result::kError:
      RtSetFileError(failure, std::to_string(lock.error()), std::strerror(lock.error()));
      return false;
  }
  return false;
}

}  // namespace

void CREATE(FileDecl& file) {
  Instance& in = InstanceOf(file);
  if (!file.attributes().create) {
    SetStoreError(kNoCreateAttribute, "the declaration has no create attribute");
    return;
  }
  if (in.open) {
    SetStoreError(kFileAlreadyOpen, "this thread has the file open");
    return;
  }
  if (!file.valid()) {
    SetStoreError(kInvalidRecordDeclaration, "the declaration is not valid");
    return;
  }
  const std::string path = RtResolvePath(file.StoreName());
  if (DirectoryMissing(path)) {
    SetStoreError(kPathNotFound, "the directory does not exist");
    return;
  }
  struct stat st;
  ShareLock exclusive;
  if (::stat(path.c_str(), &st) == 0) {
    if (!AcquireAlone(exclusive, path, kAccessDenied)) return;
    if (::unlink(path.c_str()) != 0) {
      RtSetFileError(kAccessDenied, std::to_string(errno), std::strerror(errno));
      return;
    }
  }
  // A journal left beside the name belongs to the file being replaced; the new file must
  // never be "rolled back" with it.
  ::unlink((path + "-journal").c_str());
  // The new file is this opener's alone until it is complete: another opener neither
  // reads it half made nor, by closing its own descriptor of it, drops the engine's locks.
  if (!AcquireAlone(exclusive, path, kAccessDenied, true)) return;
  sqlite3* db = nullptr;
  in.SetWait(kDefaultWaitSeconds);
  int rc = Connect(path, KeyedFile(file) ? file.owner() : std::string(), true, &in, &db);
  if (rc == SQLITE_OK) rc = Exec(db, "BEGIN IMMEDIATE");
  if (rc == SQLITE_OK) rc = CreateSchema(db, file.layout(), file.keyDefs());
  if (rc == SQLITE_OK) rc = Exec(db, "COMMIT");
  if (rc != SQLITE_OK) {
    SetSqlError((rc & 0xFF) == SQLITE_CANTOPEN ? kAccessDenied : kFileSystemError, db);
    sqlite3_close_v2(db);
    ::unlink(path.c_str());
    return;
  }
  sqlite3_close_v2(db);
  RtClearError();
}

// ---- BUILDfile -------------------------------------------------------------------------

namespace {

// Recomputes every image of the keys whose state is 2.
int RebuildImages(sqlite3* db, const FileDecl& file, const std::vector<int>& states) {
  std::string sets;
  std::vector<KeyShape> shapes;
  std::vector<int> which;
  for (size_t i = 0; i < states.size(); ++i) {
    if (states[i] != 2) continue;
    KeyShape s;
    const KeyDef& def = file.keyDefs()[i];
    for (const std::string& c : def.components) s.fields.push_back(file.layout().FindField(c));
    s.opt = def.opt;
    s.nocase = def.nocase;
    shapes.push_back(s);
    which.push_back(static_cast<int>(i + 1));
    sets += std::string(sets.empty() ? "" : ", ") + "k" + std::to_string(i + 1) + " = ?" + std::to_string(shapes.size() + 1);
  }
  if (shapes.empty()) return SQLITE_OK;
  Stmt read, write;
  if (!read.Prepare(db, "SELECT id, data FROM qx_record ORDER BY id")) return sqlite3_errcode(db);
  if (!write.Prepare(db, "UPDATE qx_record SET " + sets + " WHERE id = ?1")) return sqlite3_errcode(db);
  std::string rec(file.layout().length(), '\0');
  int rc;
  while ((rc = read.Step()) == SQLITE_ROW) {
    const std::string_view data = read.Blob(1);
    rec.assign(data.substr(0, file.layout().length()));
    rec.resize(file.layout().length(), '\0');
    write.Reset();
    write.Bind(1, read.Int(0));
    for (size_t k = 0; k < shapes.size(); ++k) {
      const auto img = StoredKeyImage(file.layout(), shapes[k], reinterpret_cast<const unsigned char*>(rec.data()));
      if (img) write.BindBlob(static_cast<int>(k + 2), img->data(), img->size());
      else write.BindNull(static_cast<int>(k + 2));
    }
    if ((rc = write.Step()) != SQLITE_DONE) return rc;
  }
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

}  // namespace

void BUILDfile(FileDecl& file) {
  Instance& in = InstanceOf(file);
  if (!file.valid()) {
    SetStoreError(kInvalidRecordDeclaration, "the declaration is not valid");
    return;
  }
  sqlite3* db = in.db;
  ShareLock exclusive;
  StoredState state;
  const bool ownConnection = !in.open;
  if (ownConnection) {
    const std::string path = RtResolvePath(file.StoreName());
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
      RtSetFileError(DirectoryMissing(path) ? kPathNotFound : kFileNotFound, std::to_string(errno), std::strerror(errno));
      return;
    }
    if (!AcquireAlone(exclusive, path, kFileSystemError)) return;
    StoredLayout stored;
    if (ConnectExisting(path, exclusive.fd(), file.owner(), KeyedFile(file), &in, kOpenWaitSeconds, &db, &stored,
                        &state) != kNoError)
      return;
    if (!SameLayout(stored, file.layout(), file.keyDefs(), KeyedFile(file))) {
      sqlite3_close_v2(db);
      SetStoreError(kInvalidRecordDeclaration, "the stored fields or keys differ from the declaration");
      return;
    }
  } else {
    if (!RequireWrite(in)) return;
    StoredLayout stored;
    if (LoadSchema(db, &stored, &state) != LoadResult::kOk) {
      SetSqlError(kFileSystemError, db);
      return;
    }
  }
  const bool ownTransaction = !in.inTransaction;
  in.SetWait(kDefaultWaitSeconds);
  int rc = ownTransaction ? Exec(db, "BEGIN IMMEDIATE") : SQLITE_OK;
  // The indexes are built anew below, so the upgrade need not make them.
  if (rc == SQLITE_OK && state.reusesPointers) rc = UpgradeRecordTable(db, file.keyDefs(), {});
  if (rc == SQLITE_OK) rc = RebuildImages(db, file, state.keyStates);
  for (size_t i = 0; rc == SQLITE_OK && i < file.keyCount(); ++i) {
    const std::string n = std::to_string(i + 1);
    rc = Exec(db, ("DROP INDEX IF EXISTS qx_key" + n).c_str());
    if (rc == SQLITE_OK) rc = Exec(db, IndexSql(static_cast<int>(i + 1), file.keyDefs()[i]).c_str());
  }
  if (rc == SQLITE_OK) rc = Exec(db, "UPDATE qx_key SET state = 0");
  if (rc == SQLITE_OK && ownTransaction) rc = Exec(db, "COMMIT");
  LONG code = kNoError;
  if (rc != SQLITE_OK) {
    code = (rc & 0xFF) == SQLITE_CONSTRAINT ? kCreatesDuplicateKey : IsBusy(rc) ? kFileIsLocked : kFileSystemError;
    SetSqlError(code, db);
    if (ownTransaction) Exec(db, "ROLLBACK");
  }
  if (ownConnection) {
    sqlite3_close_v2(db);
  } else if (code == kNoError) {
    in.appending = false;
    for (auto& k : in.keys) k.suspended = false;
  }
  if (code == kNoError) RtClearError();
}

// ---- LOCK ------------------------------------------------------------------------------

void LOCK(FileDecl& file) {
  Instance& in = InstanceOf(file);
  if (!RequireOpen(in)) return;
  switch (in.share.Hold()) {
    case ShareLock::Result::kOk: break;
    case ShareLock::Result::kDenied:
      SetStoreError(kAccessDenied, "the file is open without write permission");
      return;
    default:
      SetStoreError(kFileIsLocked, "another opener holds the file locked");
      return;
  }
  RtClearError();
}

void UNLOCK(FileDecl& file) {
  Instance& in = InstanceOf(file);
  if (!RequireOpen(in)) return;
  in.share.ReleaseHold();
  RtClearError();
}

// ---- Options and properties ------------------------------------------------------------

std::string SEND(FileDecl& file, std::string_view option) {
  Instance& in = InstanceOf(file);
  RtClearError();
  const size_t eq = option.find('=');
  const std::string name = Upper(RtClipView(option.substr(0, eq)));
  const std::string value = eq == std::string_view::npos ? std::string() : std::string(RtClipView(option.substr(eq + 1)));
  if (name == "QUICKSCAN") {
    if (eq == std::string_view::npos) return in.quickScan ? "on" : "off";
    const std::string v = Upper(value);
    if (v == "ON") in.quickScan = true;
    else if (v == "OFF") in.quickScan = false;
    else return {};
    if (!in.quickScan) in.DropReadAhead();
    return in.quickScan ? "on" : "off";
  }
  if (name == "RECOVER") {
    if (eq == std::string_view::npos) return std::to_string(static_cast<long>(in.recoverSeconds));
    if (value.empty() || value.size() > 6 || value.find_first_not_of("0123456789") != std::string::npos) return {};
    in.recoverSeconds = std::stod(value);
    return value;
  }
  return {};
}

std::string GET_PROPERTY(FileDecl& file, LONG property) {
  switch (property) {
    case kPropOwner: RtClearError(); return file.owner();
    case kPropFileName: RtClearError(); return file.DeclaredName();
    default: SetStoreError(kUnsupportedDriverFunction, "unknown property"); return {};
  }
}

std::string NAME(FileDecl& file) { return file.StoreName(); }

// ---- Stored layouts --------------------------------------------------------------------

LONG ReadStoredLayout(std::string_view name, std::string_view owner, StoredLayout* out) {
  const std::string path = RtResolvePath(WithExtension(std::string(name)));
  // While it reads, it is a reader that denies nothing: it conflicts only with openers
  // that deny reading.
  ShareLock probe;
  AccessMode readOnly;
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    RtSetFileError(DirectoryMissing(path) ? kPathNotFound : kFileNotFound, std::to_string(errno), std::strerror(errno));
    return RtErrorCode();
  }
  switch (probe.Acquire(path, readOnly, 0)) {
    case ShareLock::Result::kOk: break;
    case ShareLock::Result::kHeld: SetStoreError(kFileIsLocked, "another opener holds the file locked"); return kFileIsLocked;
    case ShareLock::Result::kDenied: SetStoreError(kAccessDenied, "another opener denies reading"); return kAccessDenied;
    case ShareLock::Result::kError:
      RtSetFileError(kAccessDenied, std::to_string(probe.error()), std::strerror(probe.error()));
      return kAccessDenied;
  }
  sqlite3* db = nullptr;
  StoredState state;
  Instance waiter;
  const LONG code = ConnectExisting(path, probe.fd(), std::string(owner), !owner.empty(), &waiter, kOpenWaitSeconds,
                                    &db, out, &state);
  if (code != kNoError) return code;
  sqlite3_close_v2(db);
  RtClearError();
  return kNoError;
}

}  // namespace qx
