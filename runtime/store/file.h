// Data-file declarations and the record operations on files and keys.
//
// A FileDecl is global: the program holds it for its whole run. Each thread that uses it
// has its own instance of it (open state, connection, order, position, current record,
// watch state, record buffer); with the thread attribute off, all threads share one.
// Every operation acts on the calling thread's instance and sets the calling thread's
// error state (runtime/sys/error_state.h): 0 on success, else the code listed with the
// operation; failures of the engine carry SQLite's extended result code and message as
// the driver detail, the store's own refusals the detail code "qx" and a short reason.
//
// On disk each data file is one SQLite database (SQLCipher-enciphered under the owner
// password for files with the encrypt attribute), in rollback-journal mode with full
// synchronisation: outside a transaction every write stands on its own and is durable,
// and a process killed at any moment leaves the file whole; the next opener rolls a
// half-done transaction back (a scratch file excepted: see FileAttributes). Nothing but
// the data file remains once the last opener is gone.
#pragma once

#include <cassert>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/store/layout.h"
#include "runtime/sys/error_state.h"

namespace qx {

// Properties for GET_PROPERTY.
constexpr LONG kPropOwner = 0x7315;     // the owner password
constexpr LONG kPropFileName = 0x7316;  // the declared file name without trailing blanks

struct FileAttributes {
  bool create = false;   // CREATE may make the file
  bool thread = true;    // one instance per thread
  bool encrypt = false;  // enciphered as a whole under the owner password
  // A file that is thrown away unless it is complete (a conversion's work file): written
  // with its rollback journal in memory, never on disk. ROLLBACK still works; a process
  // killed while it writes leaves the file damaged, and nothing beside it.
  bool scratch = false;
};

// The declared file name: a constant text, or a variable read each time the name is used.
class FileName {
 public:
  FileName(const char* literal) : literal_(literal ? literal : "") {}  // NOLINT
  FileName(std::string literal) : literal_(std::move(literal)) {}      // NOLINT
  template <size_t N>
  FileName(const STRING<N>* variable) : read_([variable] { return variable->str(); }) {}  // NOLINT
  explicit FileName(std::function<std::string()> read) : read_(std::move(read)) {}
  // The name without trailing blanks.
  std::string Get() const { return std::string(RtClipView(read_ ? read_() : literal_)); }

 private:
  std::string literal_;
  std::function<std::string()> read_;
};

class FileDecl;

// A key of a declaration; obtained from FileDecl::key, lives as long as its declaration.
class Key {
 public:
  FileDecl& file() const { return *file_; }
  int number() const { return number_; }  // 1-based, in declared order
  const KeyDef& def() const;
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;

 private:
  friend class FileDecl;
  Key(FileDecl* file, int number) : file_(file), number_(number) {}
  FileDecl* file_;
  int number_;
};

class FileDecl {
 public:
  // `keys` name their components by field name. A declaration whose layout is empty,
  // whose key names a field that does not exist, or that has a key without components
  // is not valid(): OPEN and CREATE then fail with 47.
  FileDecl(std::string label, FileName name, std::string prefix, std::string owner,
           FileAttributes attributes, RecordLayout layout, std::vector<KeyDef> keys);
  // Closes every thread's instance (rolling back its transaction).
  ~FileDecl();
  FileDecl(const FileDecl&) = delete;
  FileDecl& operator=(const FileDecl&) = delete;

  bool valid() const { return valid_; }
  const std::string& label() const { return label_; }
  const std::string& prefix() const { return prefix_; }
  const std::string& owner() const { return owner_; }
  const FileAttributes& attributes() const { return attributes_; }
  const RecordLayout& layout() const { return layout_; }
  const std::vector<KeyDef>& keyDefs() const { return keyDefs_; }
  size_t keyCount() const { return keys_.size(); }
  // Key i (0-based, declared order).
  Key& key(size_t i) const { return *keys_.at(i); }
  // The key with that name (without regard to case), or nullptr.
  Key* FindKey(std::string_view name) const;
  // The declared name without trailing blanks ("STANDRD", "variable.tps").
  std::string DeclaredName() const { return name_.Get(); }
  // The name the store uses: the declared name with ".TPS" added when its last component
  // has no extension.
  std::string StoreName() const;

  // The calling thread's record buffer, layout().length() bytes; zeros and blanks when
  // the thread first touches it.
  unsigned char* RecordBuffer();
  // The buffer as the typed record struct R (its size must equal the record length).
  template <class R>
  R& Record() {
    static_assert(std::is_trivially_copyable_v<R>);
    assert(sizeof(R) == layout_.length());
    return *reinterpret_cast<R*>(RecordBuffer());
  }

  uint64_t id() const { return id_; }

 private:
  std::string label_;
  FileName name_;
  std::string prefix_;
  std::string owner_;
  FileAttributes attributes_;
  RecordLayout layout_;
  std::vector<KeyDef> keyDefs_;
  std::vector<std::unique_ptr<Key>> keys_;
  bool valid_ = false;
  uint64_t id_;
};

// ---- Opening and closing -------------------------------------------------------------

// Opens the calling thread's instance with an access mode (low nibble 0 read, 1 write,
// 2 read/write; high nibble 0 or 1 deny all, 2 deny write, 3 deny read, 4 deny none:
// 22h reads and writes while others may only read, 42h while others may read and write).
// The order is record order from the start; there is no current record.
// 0; 2 no such file (3 its directory missing); 52 this instance is open already;
// 5 "Access Denied" when the mode conflicts with another opener's (thread or process) or
// the owner password is wrong; 32 while another opener holds the file (LOCK) or keeps
// its database locked past the wait (SEND "Recover=n" lets the next OPEN wait n seconds);
// 47 when the stored fields, keys or attributes differ from the declaration (also for an
// invalid declaration); 36 when the content is not a data file of ours (empty, random
// bytes, a foreign SQLite database, a file of the wrong size for an enciphered one);
// 90 when it is damaged (truncated, corrupt); 46 when a key's data must be rebuilt (its
// index is missing or was suspended by APPEND): BUILDfile mends it; 80 for a mode
// outside the nibbles above.
void OPEN(FileDecl& file, LONG mode = 0x22);

// Opens like OPEN for reading only (`mode` with low nibble 0), also a file whose key data
// must be rebuilt: its records are whole and record order needs no key, so such a file
// opens with those keys suspended (reading in their order reports 46) and stays exactly
// as it is. For reading every record of a file without first mending it (a conversion
// that builds the keys only in the new file). Codes as OPEN without 46; 80 for a mode
// that may write.
void OPENrecords(FileDecl& file, LONG mode);

// Closes the calling thread's instance; a transaction of it is rolled back. 0, or 37
// when it was not open.
void CLOSE(FileDecl& file);

// Makes a new, empty data file of the declared layout and keys under the store name and
// leaves it closed; an existing file of that name is replaced (with its journal).
// 0; 54 without the create attribute; 52 when this instance is open; 5 when another
// opener has the existing file open; 32 when it is held; 3 when the directory is
// missing; 47 for an invalid declaration; 90 when the engine fails.
void CREATE(FileDecl& file);

// Rebuilds the key data of the file: every key's index anew (and the key images when
// they were marked stale), so that OPEN no longer reports 46. Works on a closed instance
// (it then needs the file to itself: 5 when another opener has it open, 32 when held)
// and on an open one. Other codes as for OPEN. With APPEND this is the fast way to fill
// a file: see APPEND.
void BUILDfile(FileDecl& file);

// Holds the file: until UNLOCK or CLOSE every other OPEN of it reports 32 (a conversion
// takes it so no one opens the file it is rebuilding). 0; 37 not open; 32 when another
// opener holds it; 5 when this opener has no write permission on the file.
void LOCK(FileDecl& file);
void UNLOCK(FileDecl& file);

// ---- Records ---------------------------------------------------------------------------

// Stores the record buffer as a new record, entered in every key (an optional key leaves
// out a record whose components are all empty); it becomes the current record.
// 0; 37 not open; 5 opened without write access; 40 a key without duplicates has the
// value already; 32 another opener keeps the file locked past the wait; 90 engine failure.
void ADD(FileDecl& file);

// Like ADD, but for filling a file in bulk: the first APPEND on an instance suspends the
// keys (drops their indexes; OPEN reports 46 and reads in key order fail with 46 until
// BUILDfile), each record is stored with its key images, and BUILDfile then builds every
// index in one sorted pass. Converting a large file: OPEN with 12h, LOCK, LOGOUT, APPEND
// each record, COMMIT, BUILDfile, CLOSE. Codes as ADD (no 40: BUILDfile reports a
// duplicate in a key without duplicates with 40).
void APPEND(FileDecl& file);

// Writes the record buffer over the current record and updates its keys.
// 0; 37 not open; 5 no write access; 33 no current record (none read, or it was deleted);
// 89 when WATCH was issued before the read and another opener has changed (or deleted)
// the record since: nothing is written; 40, 32, 90 as ADD.
void PUT(FileDecl& file);

// Removes the current record and its key entries; there is no current record afterwards.
// 0; 37; 5; 33 no current record, or it is gone already; 32; 90.
void DELETE(FileDecl& file);

// Reads the next (previous) record in the current order into the record buffer; it
// becomes the current record. After SETfile or SETkey NEXT reads the first record and
// PREVIOUS the last; after SETkeykey NEXT reads the first record at or after the key
// value and PREVIOUS the last one at or before it; after RESET both read the record of
// the position first (or, when it is gone, its neighbour in that direction).
// 0; 33 past the last (first) record; 37 not open; 46 the order's key is suspended;
// 90 engine failure.
void NEXT(FileDecl& file);
void PREVIOUS(FileDecl& file);

// Record order from the start. 0; 37.
void SETfile(FileDecl& file);
// The key's order from its start. 0; 37.
void SETkey(Key& key);
// The key's order from the key value in the record buffer (the same key twice).
// 0; 37; 80 when the two keys differ.
void SETkeykey(Key& key, Key& sameKey);

// The position of the current record in record order (POSITIONfile) or in the key's order
// (POSITIONkey); at most 512 characters. Empty and 33 without a current record; 37.
std::string POSITIONfile(FileDecl& file);
std::string POSITIONkey(Key& key);

// Places the instance, in record order (RESETfile) or the key's order (RESETkey), at the
// record of the position, so that the next NEXT or PREVIOUS reads that record first.
// 0; 37; 35 for a text that is not a position of this file (RESETfile takes record
// positions only) or of this key.
void RESETfile(FileDecl& file, std::string_view position);
void RESETkey(Key& key, std::string_view position);

// Reads the record of the position into the record buffer; it becomes the current
// record. REGETfile takes record and key positions of the file, REGETkey positions of
// that key. The order and place for NEXT and PREVIOUS do not change.
// 0; 37; 35 when the text is not such a position or the record is gone (there is no
// current record then); 90.
void REGETfile(FileDecl& file, std::string_view position);
void REGETkey(Key& key, std::string_view position);

// Reads the record stored under the record pointer, like REGETfile. 0; 37; 35 when no
// record has it (0 names none): there is no current record then, the buffer is untouched.
void GETfileptr(FileDecl& file, int64_t recordPointer);

// The next read of a record notes its stored state, so that a PUT of it reports 89 when
// another opener changed it since. 0; 37.
void WATCH(FileDecl& file);

// ---- Driver options and properties ---------------------------------------------------

// Hands the store a driver option and returns its reply; works on a closed instance too.
//   "QUICKSCAN=on" / "QUICKSCAN=off"  read-ahead while on: NEXT and PREVIOUS read a batch
//                                     of records at a time (a run of reads may then miss
//                                     changes other openers make during the run); reply
//                                     "on" / "off"; "QUICKSCAN" alone replies the setting
//   "Recover=n"                       the next OPEN waits up to n seconds while another
//                                     opener holds the file; reply n
// Option names compare without regard to case. Unknown options and bad values reply "".
// The error code is 0.
std::string SEND(FileDecl& file, std::string_view option);

// A property of the declaration, open or not: kPropOwner, kPropFileName. 0; 80 (and "")
// for another number.
std::string GET_PROPERTY(FileDecl& file, LONG property);

// The store name of the file (see StoreName). Leaves the error state untouched.
std::string NAME(FileDecl& file);

// ---- Transactions -----------------------------------------------------------------------

// Begins a transaction over the file on the calling thread, waiting at most `seconds` for
// the file's write lock (the runtime lock is released while it waits). The file's writes
// then stand or fall together until COMMIT or ROLLBACK.
// 0; 56 when this thread has a transaction active; 48 when the file cannot take part:
// not open, no write access, or the lock not had in time (the driver detail says which).
void LOGOUT(LONG seconds, FileDecl& file);
// Ends the transaction keeping its changes. 0; 91 none active; 90 when the engine cannot
// commit (the changes are then rolled back).
void COMMIT();
// Ends the transaction undoing its changes. 0; 91 none active.
void ROLLBACK();

}  // namespace qx
