// Per-thread instances, connections and the helpers the operations share; see instance.h.
#include "runtime/store/instance.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "runtime/sys/runtime_lock.h"

namespace qx::store {

namespace {

// Guards the registry of live declarations and their instances (not the instances'
// contents, which belong to their threads).
// Made on first use and never destroyed: declarations are often globals of other
// translation units, constructed and destroyed in an order no one controls.
struct Registry {
  std::mutex mutex;
  std::unordered_map<uint64_t, std::vector<Instance*>> instancesByDecl;
  std::unordered_map<uint64_t, Instance*> shared;  // declarations without the thread attribute
};
Registry& Reg() {
  static Registry* r = new Registry;
  return *r;
}

struct ThreadTable {
  std::unordered_map<uint64_t, std::unique_ptr<Instance>> byDecl;
  uint64_t lastId = 0;
  Instance* last = nullptr;

  ~ThreadTable();
};

thread_local ThreadTable tTable;
thread_local bool tTableGone = false;  // trivially destructible: readable at any time
thread_local Instance* tTransaction = nullptr;

ThreadTable::~ThreadTable() {
  tTableGone = true;
  {
    std::lock_guard<std::mutex> g(Reg().mutex);
    for (auto& [id, in] : byDecl) {
      auto it = Reg().instancesByDecl.find(id);
      if (it == Reg().instancesByDecl.end()) continue;  // the declaration is gone and closed it
      CloseInstance(*in);
      auto& v = it->second;
      v.erase(std::remove(v.begin(), v.end(), in.get()), v.end());
    }
  }
}

int BusyHandler(void* arg, int /*count*/) {
  auto* in = static_cast<Instance*>(arg);
  const auto now = Clock::now();
  if (!in || now >= in->waitUntil) return 0;
  WaitOutsideRuntime outside;
  const auto step = std::min<Clock::duration>(in->waitUntil - now, std::chrono::milliseconds(5));
  std::this_thread::sleep_for(step);
  return 1;
}

std::unique_ptr<Instance> MakeInstance(FileDecl& decl) {
  auto in = std::make_unique<Instance>();
  in->decl = &decl;
  in->buffer.assign(decl.layout().length(), 0);
  RtClearGroup(in->buffer.data(), decl.layout());
  return in;
}

}  // namespace

void RegisterDecl(uint64_t id) {
  std::lock_guard<std::mutex> g(Reg().mutex);
  Reg().instancesByDecl[id];
}

// Closes every instance of the declaration; the owning threads' tables keep the closed
// instances (never touched again) until those threads end.
void UnregisterDecl(uint64_t id) {
  std::lock_guard<std::mutex> g(Reg().mutex);
  auto it = Reg().instancesByDecl.find(id);
  if (it != Reg().instancesByDecl.end()) {
    for (Instance* in : it->second) CloseInstance(*in);
    Reg().instancesByDecl.erase(it);
  }
  auto s = Reg().shared.find(id);
  if (s != Reg().shared.end()) {
    CloseInstance(*s->second);
    delete s->second;
    Reg().shared.erase(s);
  }
  if (tTableGone) return;
  auto mine = tTable.byDecl.find(id);
  if (mine != tTable.byDecl.end()) {
    if (tTransaction == mine->second.get()) tTransaction = nullptr;
    tTable.byDecl.erase(mine);
  }
  if (tTable.lastId == id) {
    tTable.lastId = 0;
    tTable.last = nullptr;
  }
}

Instance& InstanceOf(FileDecl& decl) {
  const uint64_t id = decl.id();
  if (tTable.lastId == id) return *tTable.last;
  Instance* in = nullptr;
  if (!decl.attributes().thread) {
    std::lock_guard<std::mutex> g(Reg().mutex);
    auto& slot = Reg().shared[id];
    if (!slot) slot = MakeInstance(decl).release();
    in = slot;
  } else {
    auto it = tTable.byDecl.find(id);
    if (it == tTable.byDecl.end()) {
      auto made = MakeInstance(decl);
      in = made.get();
      tTable.byDecl.emplace(id, std::move(made));
      std::lock_guard<std::mutex> g(Reg().mutex);
      Reg().instancesByDecl[id].push_back(in);
    } else {
      in = it->second.get();
    }
  }
  tTable.lastId = id;
  tTable.last = in;
  return *in;
}

void CloseInstance(Instance& in) {
  if (in.db) {
    if (in.inTransaction) Exec(in.db, "ROLLBACK");
    for (auto& k : in.keys) {
      k.fwdEq.Finalize();
      k.fwdGt.Finalize();
      k.bwdEq.Finalize();
      k.bwdLt.Finalize();
    }
    in.keys.clear();
    for (Stmt* s : {&in.insert, &in.update, &in.updateWatched, &in.remove, &in.byId, &in.versionOf, &in.fwdRec,
                    &in.bwdRec, &in.beginRead, &in.endRead})
      s->Finalize();
    sqlite3_close_v2(in.db);
    in.db = nullptr;
  }
  if (tTransaction == &in) tTransaction = nullptr;
  in.inTransaction = false;
  in.share.Release();
  in.open = false;
  in.appending = false;
  in.cursor = Cursor{};
  in.current = CurrentRecord{};
  in.watchPending = false;
  in.DropReadAhead();
}

int Connect(const std::string& path, const std::string& owner, bool create, Instance* waitFor, sqlite3** db) {
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
  int rc = sqlite3_open_v2(path.c_str(), db, flags, nullptr);
  if (rc != SQLITE_OK) return rc;
  sqlite3_extended_result_codes(*db, 1);
  sqlite3_busy_handler(*db, BusyHandler, waitFor);
  if (!owner.empty()) {
    std::string quoted;
    for (char c : owner) {
      quoted.push_back(c);
      if (c == '\'') quoted.push_back('\'');
    }
    const std::string sql = "PRAGMA key = '" + quoted + "'";
    if ((rc = Exec(*db, sql.c_str())) != SQLITE_OK) return rc;
  }
  // Full sync and a rollback journal that is deleted at commit: each write is durable on
  // its own and nothing but the data file remains between transactions.
  if ((rc = Exec(*db, "PRAGMA synchronous = FULL")) != SQLITE_OK) return rc;
  // A scratch file is worthless until it is complete, so a journal on disk would only be
  // left lying by a killed writer; in memory it still serves ROLLBACK.
  if (waitFor && waitFor->decl && waitFor->decl->attributes().scratch &&
      (rc = Exec(*db, "PRAGMA journal_mode = MEMORY")) != SQLITE_OK)
    return rc;
  // A bounded page cache, and for a plain file sorting (BUILDfile's index builds) spilled
  // to temporary files, which the engine unlinks at once and reads without mapping them
  // into memory (the engine maps sorter files by default, which makes the process grow
  // with the file): memory stays the same whatever the file's size.
  // The engine does not encipher temporary files, and a sort's spill holds the key
  // images in clear: an enciphered file keeps every temporary structure in memory, so
  // its index builds grow with the file instead.
  if ((rc = Exec(*db, "PRAGMA cache_size = -8192")) != SQLITE_OK) return rc;
  if ((rc = Exec(*db, owner.empty() ? "PRAGMA temp_store = FILE" : "PRAGMA temp_store = MEMORY")) != SQLITE_OK)
    return rc;
  sqlite3_test_control(SQLITE_TESTCTRL_SORTER_MMAP, *db, 0);
  return SQLITE_OK;
}

Instance*& ThreadTransaction() { return tTransaction; }

bool RequireOpen(Instance& in) {
  if (in.open) return true;
  SetStoreError(kFileNotOpen, "the file is not open on this thread");
  return false;
}

bool RequireWrite(Instance& in) {
  if (!RequireOpen(in)) return false;
  if (in.mode.write) return true;
  SetStoreError(kAccessDenied, "the file was opened without write access");
  return false;
}

std::string CurrentImage(Instance& in, int k) {
  const KeyRuntime& key = in.keys[static_cast<size_t>(k - 1)];
  std::string data = in.current.data;
  data.resize(in.decl->layout().length(), '\0');
  return KeyImage(in.decl->layout(), key.shape, reinterpret_cast<const unsigned char*>(data.data()));
}

bool ReadById(Instance& in, int64_t id, Row* row, bool* failed) {
  *failed = false;
  in.SetWait(kDefaultWaitSeconds);
  in.byId.Bind(1, id);
  const int rc = in.byId.Step();
  bool found = false;
  if (rc == SQLITE_ROW) {
    row->id = in.byId.Int(0);
    row->ver = in.byId.Int(1);
    row->data.assign(in.byId.Blob(2));
    found = true;
  } else if (rc != SQLITE_DONE) {
    SetSqlError(IsBusy(rc) ? kFileIsLocked : kFileSystemError, in.db);
    *failed = true;
  }
  in.byId.Reset();
  return found;
}

void Deliver(Instance& in, const Row& row) {
  const size_t n = std::min(row.data.size(), in.buffer.size());
  std::memcpy(in.buffer.data(), row.data.data(), n);
  if (n < in.buffer.size()) std::memset(in.buffer.data() + n, 0, in.buffer.size() - n);
  in.current.valid = true;
  in.current.id = row.id;
  in.current.ver = row.ver;
  in.current.data.assign(reinterpret_cast<const char*>(in.buffer.data()), in.buffer.size());
  in.current.watched = in.watchPending;
  in.current.inTransaction = in.inTransaction;
  in.watchPending = false;
}

}  // namespace qx::store
