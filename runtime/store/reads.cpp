// Reading: orders, places, NEXT and PREVIOUS, positions, RESET, REGET, GETfileptr, WATCH.
//
// Every read is one or two indexed look-ups from the cursor's anchor (image, record
// pointer), so it costs O(log n) wherever the cursor stands; statements are reset after
// each use, so no read transaction outlives the operation. With QUICKSCAN on, a look-up
// reads a batch of rows ahead, which the following reads in the same direction take.
#include <climits>

#include "runtime/store/instance.h"
#include "runtime/store/position.h"

namespace qx {

using namespace store;

namespace {

constexpr size_t kFirstBatch = 24;
constexpr size_t kMaxBatch = 96;

int64_t Dec(int64_t v) { return v == INT64_MIN ? v : v - 1; }
int64_t Inc(int64_t v) { return v == INT64_MAX ? v : v + 1; }

// Runs a prepared range statement whose last parameter is the row limit, adding up to
// `want` rows to the instance's fetched rows (reusing their storage). False on failure
// (error set).
bool Run(Instance& in, Stmt& s, int limitParam, size_t want, bool withImage) {
  s.Bind(limitParam, static_cast<int64_t>(want));
  int rc;
  while ((rc = s.Step()) == SQLITE_ROW) {
    if (in.readAheadEnd == in.readAhead.size()) in.readAhead.emplace_back();
    Row& r = in.readAhead[in.readAheadEnd++];
    r.id = s.Int(0);
    r.ver = s.Int(1);
    r.data.assign(s.Blob(2));
    if (withImage) r.image.assign(s.Blob(3));
    else r.image.clear();
  }
  s.Reset();
  if (rc != SQLITE_DONE) {
    SetSqlError(IsBusy(rc) ? kFileIsLocked : kFileSystemError, in.db);
    return false;
  }
  return true;
}

// Fetches up to `want` rows from the cursor into the instance's fetched rows.
bool Fetch(Instance& in, Dir dir, size_t want) {
  in.readAheadNext = in.readAheadEnd = 0;
  const Cursor& c = in.cursor;
  const bool fwd = dir == Dir::kForward;
  in.SetWait(kDefaultWaitSeconds);
  const bool fromEnd = c.place == Place::kStart || c.place == Place::kPastEnd || c.place == Place::kPastBegin;
  if (c.key == 0) {
    int64_t bound = fwd ? INT64_MIN : INT64_MAX;
    if (c.place == Place::kAfter) bound = c.id;
    else if (c.place == Place::kOn) bound = fwd ? Dec(c.id) : Inc(c.id);
    Stmt& s = fwd ? in.fwdRec : in.bwdRec;
    s.Bind(1, bound);
    return Run(in, s, 2, want, false);
  }
  KeyRuntime& k = in.keys[static_cast<size_t>(c.key - 1)];
  if (fromEnd) {
    Stmt& s = fwd ? k.fwdGt : k.bwdLt;
    const std::string top(k.imageLength + 1, '\xFF');
    if (fwd) s.BindBlob(1, nullptr, 0);
    else s.BindBlobStatic(1, top.data(), top.size());
    return Run(in, s, 2, want, true);
  }
  int64_t bound = c.id;
  if (c.place == Place::kOn) bound = fwd ? Dec(c.id) : Inc(c.id);
  else if (c.place == Place::kKeyValue) bound = fwd ? INT64_MIN : INT64_MAX;
  // Two look-ups: the rest of the anchor's key value, then the values beyond it. One read
  // transaction around both takes the file's read lock once instead of twice.
  const bool bracket = !in.inTransaction;
  if (bracket) {
    in.beginRead.Step();
    in.beginRead.Reset();
  }
  Stmt& eq = fwd ? k.fwdEq : k.bwdEq;
  eq.BindBlobStatic(1, c.image.data(), c.image.size());
  eq.Bind(2, bound);
  bool ok = Run(in, eq, 3, want, true);
  if (ok && in.readAheadEnd < want) {
    Stmt& rest = fwd ? k.fwdGt : k.bwdLt;
    rest.BindBlobStatic(1, c.image.data(), c.image.size());
    ok = Run(in, rest, 2, want - in.readAheadEnd, true);
  }
  if (bracket) {
    in.endRead.Step();
    in.endRead.Reset();
    if (!sqlite3_get_autocommit(in.db)) Exec(in.db, "ROLLBACK");
  }
  return ok;
}

void DeliverStep(Instance& in, const Row& r) {
  Deliver(in, r);
  in.cursor.place = Place::kAfter;
  in.cursor.id = r.id;
  in.cursor.image = r.image;
}

bool RequireKeyUsable(Instance& in, int k) {
  if (k == 0 || !in.keys[static_cast<size_t>(k - 1)].suspended) return true;
  SetStoreError(kKeyFileMustBeRebuilt, "the key is suspended until BUILDfile");
  return false;
}

void PlaceCursor(Instance& in, int key, Place place, std::string image = {}, int64_t id = 0) {
  in.DropReadAhead();
  in.cursor.key = key;
  in.cursor.place = place;
  in.cursor.image = std::move(image);
  in.cursor.id = id;
}

// The position parsed and checked against the file (and key); nullopt with 35 set.
std::optional<Position> CheckPosition(Instance& in, std::string_view text, int onlyKey) {
  auto p = ParsePosition(text);
  bool ok = p.has_value();
  if (ok && onlyKey == 0 && p->key != 0) ok = false;
  if (ok && onlyKey > 0 && p->key != onlyKey) ok = false;
  if (ok && p->key > static_cast<int>(in.keys.size())) ok = false;
  if (ok && p->key > 0 && p->hasImage && p->image.size() != in.keys[static_cast<size_t>(p->key - 1)].imageLength)
    ok = false;
  if (!ok) {
    SetStoreError(kRecordNotFound, "not a position of this file");
    return std::nullopt;
  }
  return p;
}

void ReadPointer(Instance& in, int64_t id) {
  in.DropReadAhead();
  Row row;
  bool failed = false;
  if (id > 0 && ReadById(in, id, &row, &failed)) {
    Deliver(in, row);
    RtClearError();
    return;
  }
  in.current = CurrentRecord{};
  in.watchPending = false;
  if (!failed) SetStoreError(kRecordNotFound, "no record has that record pointer");
}

}  // namespace

namespace store {

void Step(Instance& in, Dir dir) {
  if (!RequireOpen(in) || !RequireKeyUsable(in, in.cursor.key)) return;
  if (in.readAheadNext < in.readAheadEnd && in.readAheadDir == dir && in.readAheadKey == in.cursor.key) {
    DeliverStep(in, in.readAhead[in.readAheadNext++]);
    RtClearError();
    return;
  }
  in.readAheadNext = in.readAheadEnd = 0;
  const Place p = in.cursor.place;
  if ((dir == Dir::kForward && p == Place::kPastEnd) || (dir == Dir::kBackward && p == Place::kPastBegin)) {
    SetStoreError(kRecordNotAvailable, dir == Dir::kForward ? "past the last record" : "before the first record");
    return;
  }
  size_t want = 1;
  if (in.quickScan) {
    in.readAheadBatch = in.readAheadBatch == 0 ? kFirstBatch : std::min(kMaxBatch, in.readAheadBatch * 2);
    want = in.readAheadBatch;
  }
  if (!Fetch(in, dir, want)) {
    in.DropReadAhead();
    return;
  }
  if (in.readAheadEnd == 0) {
    in.cursor.place = dir == Dir::kForward ? Place::kPastEnd : Place::kPastBegin;
    in.readAheadBatch = 0;
    SetStoreError(kRecordNotAvailable, dir == Dir::kForward ? "past the last record" : "before the first record");
    return;
  }
  in.readAheadDir = dir;
  in.readAheadKey = in.cursor.key;
  in.readAheadNext = 1;
  DeliverStep(in, in.readAhead[0]);
  RtClearError();
}

std::string OrderPosition(Instance& in) {
  if (!RequireOpen(in)) return {};
  if (!in.current.valid) {
    SetStoreError(kRecordNotAvailable, "there is no current record");
    return {};
  }
  RtClearError();
  if (in.cursor.key == 0) return FormatRecordPosition(in.current.id);
  return FormatKeyPosition(in.cursor.key, CurrentImage(in, in.cursor.key), in.current.id);
}

void ResetTo(Instance& in, std::string_view text, int onlyKey) {
  if (!RequireOpen(in)) return;
  const auto p = CheckPosition(in, text, onlyKey);
  if (!p) return;
  std::string image = p->image;
  if (p->key > 0 && !p->hasImage) {
    // A position too long to carry its image: take the image from the stored record.
    Row row;
    bool failed = false;
    if (!ReadById(in, p->id, &row, &failed)) {
      if (!failed) SetStoreError(kRecordNotFound, "the position's record is gone");
      return;
    }
    row.data.resize(in.decl->layout().length(), '\0');
    image = KeyImage(in.decl->layout(), in.keys[static_cast<size_t>(p->key - 1)].shape,
                     reinterpret_cast<const unsigned char*>(row.data.data()));
  }
  PlaceCursor(in, p->key, Place::kOn, std::move(image), p->id);
  RtClearError();
}

void RegetFrom(Instance& in, std::string_view text, int onlyKey) {
  if (!RequireOpen(in)) return;
  const auto p = CheckPosition(in, text, onlyKey);
  if (!p) {
    in.current = CurrentRecord{};
    in.watchPending = false;
    return;
  }
  ReadPointer(in, p->id);
}

}  // namespace store

void NEXT(FileDecl& file) { Step(InstanceOf(file), Dir::kForward); }
void PREVIOUS(FileDecl& file) { Step(InstanceOf(file), Dir::kBackward); }

void SETfile(FileDecl& file) {
  Instance& in = InstanceOf(file);
  if (!RequireOpen(in)) return;
  PlaceCursor(in, 0, Place::kStart);
  RtClearError();
}

void SETkey(Key& key) {
  Instance& in = InstanceOf(key.file());
  if (!RequireOpen(in)) return;
  PlaceCursor(in, key.number(), Place::kStart);
  RtClearError();
}

void SETkeykey(Key& key, Key& sameKey) {
  Instance& in = InstanceOf(key.file());
  if (!RequireOpen(in)) return;
  if (&key != &sameKey) {
    SetStoreError(kUnsupportedDriverFunction, "SETkeykey takes the same key twice");
    return;
  }
  const KeyRuntime& k = in.keys[static_cast<size_t>(key.number() - 1)];
  PlaceCursor(in, key.number(), Place::kKeyValue, KeyImage(in.decl->layout(), k.shape, in.buffer.data()));
  RtClearError();
}

std::string POSITIONfile(FileDecl& file) {
  Instance& in = InstanceOf(file);
  if (!RequireOpen(in)) return {};
  if (!in.current.valid) {
    SetStoreError(kRecordNotAvailable, "there is no current record");
    return {};
  }
  RtClearError();
  return FormatRecordPosition(in.current.id);
}

std::string POSITIONkey(Key& key) {
  Instance& in = InstanceOf(key.file());
  if (!RequireOpen(in)) return {};
  if (!in.current.valid) {
    SetStoreError(kRecordNotAvailable, "there is no current record");
    return {};
  }
  RtClearError();
  return FormatKeyPosition(key.number(), CurrentImage(in, key.number()), in.current.id);
}

void RESETfile(FileDecl& file, std::string_view position) { ResetTo(InstanceOf(file), position, 0); }
void RESETkey(Key& key, std::string_view position) { ResetTo(InstanceOf(key.file()), position, key.number()); }
void REGETfile(FileDecl& file, std::string_view position) { RegetFrom(InstanceOf(file), position, -1); }
void REGETkey(Key& key, std::string_view position) { RegetFrom(InstanceOf(key.file()), position, key.number()); }

void GETfileptr(FileDecl& file, int64_t recordPointer) {
  Instance& in = InstanceOf(file);
  if (!RequireOpen(in)) return;
  ReadPointer(in, recordPointer);
}

void WATCH(FileDecl& file) {
  Instance& in = InstanceOf(file);
  if (!RequireOpen(in)) return;
  in.watchPending = true;
  RtClearError();
}

}  // namespace qx
