// A thread's instance of a declaration: its connection, share lock, order and place,
// current record, watch state, read-ahead and record buffer. Internal to the store.
//
// Instances live in a table of the thread that uses them (thread_local) and are
// registered with their declaration, so that whichever ends first, the thread or the
// declaration, closes them: a thread that ends with an instance open rolls its
// transaction back and releases its connection and locks.
#pragma once

#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/store/file.h"
#include "runtime/store/key_image.h"
#include "runtime/store/share_lock.h"
#include "runtime/store/sql.h"

namespace qx::store {

using Clock = std::chrono::steady_clock;

// Seconds an ordinary operation waits for a lock another opener keeps on the file.
constexpr double kDefaultWaitSeconds = 5.0;
// Seconds OPEN waits for the engine's lock when no "Recover" was sent.
constexpr double kOpenWaitSeconds = 1.0;

enum class Dir { kForward, kBackward };

// Where NEXT and PREVIOUS go on from. Anchors compare as (image, record pointer).
enum class Place {
  kStart,     // after SET: NEXT the first, PREVIOUS the last
  kAfter,     // after reading (image, id): NEXT the one after, PREVIOUS the one before
  kOn,        // after RESET: NEXT and PREVIOUS read (image, id) first
  kKeyValue,  // after SETkeykey: NEXT the first >= image, PREVIOUS the last <= image
  kPastEnd,   // after NEXT failed: NEXT fails, PREVIOUS the last
  kPastBegin, // after PREVIOUS failed: PREVIOUS fails, NEXT the first
};

struct Cursor {
  int key = 0;  // 0 record order, else 1-based key number
  Place place = Place::kStart;
  std::string image;
  int64_t id = 0;
};

struct Row {
  int64_t id = 0;
  int64_t ver = 0;
  std::string data;
  std::string image;
};

struct CurrentRecord {
  bool valid = false;
  int64_t id = 0;
  int64_t ver = 0;
  std::string data;  // as stored when read or written
  bool watched = false;
  // Noted (read or written) inside the instance's transaction: the note then reflects
  // the transaction's own changes, which ROLLBACK undoes.
  bool inTransaction = false;
};

struct KeyRuntime {
  KeyShape shape;
  size_t imageLength = 0;
  bool suspended = false;
  Stmt fwdEq, fwdGt, bwdEq, bwdLt;
};

struct Instance {
  FileDecl* decl = nullptr;
  std::vector<unsigned char> buffer;

  bool open = false;
  sqlite3* db = nullptr;
  ShareLock share;
  AccessMode mode;
  std::string path;

  Cursor cursor;
  CurrentRecord current;
  bool watchPending = false;
  std::vector<Row> readAhead;  // rows fetched by the last look-up; reused, not freed
  size_t readAheadNext = 0;    // the next of them to deliver
  size_t readAheadEnd = 0;     // how many of them hold rows
  Dir readAheadDir = Dir::kForward;
  int readAheadKey = -1;
  size_t readAheadBatch = 0;

  bool quickScan = false;
  double recoverSeconds = 0;
  bool inTransaction = false;
  bool appending = false;

  std::vector<KeyRuntime> keys;
  Stmt insert, update, updateWatched, remove, byId, versionOf, fwdRec, bwdRec, beginRead, endRead;

  Clock::time_point waitUntil;

  // Sets how long the engine may wait for a lock from now on.
  void SetWait(double seconds) {
    waitUntil = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  }
  void DropReadAhead() {
    readAheadNext = readAheadEnd = 0;
    readAheadKey = -1;
    readAheadBatch = 0;
  }
};

// Declarations register when made and unregister (closing every instance) when destroyed.
void RegisterDecl(uint64_t id);
void UnregisterDecl(uint64_t id);

// Prepares the instance's statements for the stored layout of its (open) connection.
// False on failure, the error set.
bool PrepareStatements(Instance& in);

// The calling thread's instance of `decl` (the shared one without the thread attribute),
// made on first use with a cleared record buffer.
Instance& InstanceOf(FileDecl& decl);

// Closes the instance: rolls back its transaction, finalizes statements, closes the
// connection, releases the share lock. Never touches the error state.
void CloseInstance(Instance& in);

// Opens a connection to `path`, keyed with `owner` when not empty, with the store's
// settings (full sync, rollback journal, busy handler that waits outside the runtime lock
// until waitFor->waitUntil). The journal is kept in memory when waitFor is the instance
// of a declaration with the scratch attribute. Returns SQLite's result code; *db is set
// even on failure.
int Connect(const std::string& path, const std::string& owner, bool create, Instance* waitFor, sqlite3** db);

// The thread's active transaction, or nullptr.
Instance*& ThreadTransaction();

// Common checks of the record operations: the instance is open (else 37).
bool RequireOpen(Instance& in);
// The instance may write (else 5).
bool RequireWrite(Instance& in);

// The stored key image of the current record for key k (1-based).
std::string CurrentImage(Instance& in, int k);

// Reads the record with that pointer; false when none (no error set) or on failure
// (error set, *failed true).
bool ReadById(Instance& in, int64_t id, Row* row, bool* failed);

// Puts a read row into the buffer and makes it the current record.
void Deliver(Instance& in, const Row& row);

}  // namespace qx::store

namespace qx::store {

// The reads that files and views share (reads.cpp).
void Step(Instance& in, Dir dir);
// The position of the current record in the instance's current order.
std::string OrderPosition(Instance& in);
// RESET to a position: `onlyKey` -1 takes record positions and key positions of any key
// (a view), 0 record positions only (a file), k positions of key k only.
void ResetTo(Instance& in, std::string_view text, int onlyKey);
// REGET of a position, under the same rule for `onlyKey` (a file takes any).
void RegetFrom(Instance& in, std::string_view text, int onlyKey);

}  // namespace qx::store
