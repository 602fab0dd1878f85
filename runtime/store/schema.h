// The stored form of a data file's layout and the SQL of its record table. Internal.
//
// Tables of a data file:
//   qx_file(item, value)             'format' = "qxstore 1", 'record_length'
//   qx_field(no, name, type, width)  the fields in order (no from 1)
//   qx_key(no, name, dup, opt, nocase, is_primary, auto_number, state)
//                                    state 0 sound, 1 index suspended (APPEND),
//                                    2 images stale as well
//   qx_key_part(key, seq, field)     components: field numbers from 1
//   qx_record(id INTEGER PRIMARY KEY, ver, data, k1 ... kn)
//                                    id is the record pointer, ver counts the record's
//                                    writes (WATCH), data the record's bytes, kN the
//                                    image of key N (NULL: not in that optional key)
//   index qx_keyN on qx_record(kN)   partial (kN IS NOT NULL) for optional keys, unique
//                                    for keys without duplicates; the record pointer is
//                                    the index's tie-break
#pragma once

#include <sqlite3.h>

#include <string>

#include "runtime/store/stored_layout.h"

namespace qx::store {

constexpr const char* kFormat = "qxstore 1";

enum class LoadResult { kOk, kNotOurs, kNotADatabase, kCorrupt, kBusy, kError };

// Writes the layout tables and the record table of a new file (inside the caller's
// transaction). Returns SQLite's result code.
int CreateSchema(sqlite3* db, const RecordLayout& layout, const std::vector<KeyDef>& keys);

// SQL that creates key N's index.
std::string IndexSql(int n, const KeyDef& key);

// Reads the stored layout; `states` receives each key's state (with 1 for a key whose
// index is missing while its state says 0).
LoadResult LoadSchema(sqlite3* db, StoredLayout* out, std::vector<int>* states);

// True when the stored layout equals the declared one: fields (names, types, widths),
// keys (names, components, attributes) and the encrypt attribute.
bool SameLayout(const StoredLayout& stored, const RecordLayout& layout, const std::vector<KeyDef>& keys,
                bool encrypted);

// How the file's first bytes classify it before the engine reads it.
enum class Header { kPlain, kEmpty, kOther, kTruncated };
Header ClassifyHeader(int fd, long long* size);

}  // namespace qx::store
