// The stored form of a data file's layout and the SQL of its record table. Internal.
//
// Tables of a data file:
//   qx_file(item, value)             'format' = "qxstore 2", 'record_length'
//   qx_field(no, name, type, width)  the fields in order (no from 1)
//   qx_key(no, name, dup, opt, nocase, is_primary, auto_number, state)
//                                    state 0 sound, 1 index suspended (APPEND),
//                                    2 images stale as well
//   qx_key_part(key, seq, field)     components: field numbers from 1
//   qx_record(id INTEGER PRIMARY KEY AUTOINCREMENT, ver, data, k1 ... kn)
//                                    id is the record pointer, ver counts the record's
//                                    writes (WATCH), data the record's bytes, kN the
//                                    image of key N (NULL: not in that optional key)
//                                    Record pointers are never reused within a file, not
//                                    even the highest one after its record is deleted: a
//                                    current record, a watched version or a saved position
//                                    of a deleted record must never name a later one.
//   index qx_keyN on qx_record(kN)   partial (kN IS NOT NULL) for optional keys, unique
//                                    for keys without duplicates; the record pointer is
//                                    the index's tie-break
// Format "qxstore 1" (files made before record pointers were kept from reuse) differs
// only in lacking AUTOINCREMENT; it is read as it is and brought up to the current format
// by the first opener that may write (UpgradeRecordTable).
#pragma once

#include <sqlite3.h>

#include <string>

#include "runtime/store/stored_layout.h"

namespace qx::store {

constexpr const char* kFormat = "qxstore 2";
constexpr const char* kFormatReusingPointers = "qxstore 1";

enum class LoadResult { kOk, kNotOurs, kNotADatabase, kCorrupt, kBusy, kError };

// Writes the layout tables and the record table of a new file (inside the caller's
// transaction). Returns SQLite's result code.
int CreateSchema(sqlite3* db, const RecordLayout& layout, const std::vector<KeyDef>& keys);

// SQL that creates key N's index.
std::string IndexSql(int n, const KeyDef& key);

// What LoadSchema finds besides the layout.
struct StoredState {
  std::vector<int> keyStates;  // each key's state, 1 for a key whose index is missing
                               // while its state says 0
  bool reusesPointers = false;  // format "qxstore 1": needs UpgradeRecordTable before writing
};

// Reads the stored layout and state.
LoadResult LoadSchema(sqlite3* db, StoredLayout* out, StoredState* state);

// Remakes the record table of a "qxstore 1" file with pointers that are never reused,
// keeping every record under its pointer, and the indexes of the keys whose state is 0;
// marks the file "qxstore 2". Inside the caller's write transaction. SQLite's result code.
int UpgradeRecordTable(sqlite3* db, const std::vector<KeyDef>& keys, const std::vector<int>& keyStates);

// True when the stored layout equals the declared one: fields (names, types, widths),
// keys (names, components, attributes) and the encrypt attribute.
bool SameLayout(const StoredLayout& stored, const RecordLayout& layout, const std::vector<KeyDef>& keys,
                bool encrypted);

// How the file's first bytes classify it before the engine reads it.
enum class Header { kPlain, kEmpty, kOther, kTruncated };
Header ClassifyHeader(int fd, long long* size);

}  // namespace qx::store
