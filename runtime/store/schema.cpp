// Stored layouts; see schema.h for the tables.
#include "runtime/store/schema.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "runtime/store/sql.h"

namespace qx::store {

namespace {

LoadResult FromCode(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_NOTADB: return LoadResult::kNotADatabase;
    case SQLITE_CORRUPT: return LoadResult::kCorrupt;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return LoadResult::kBusy;
    default: return LoadResult::kError;
  }
}

uint32_t BigEndian(const unsigned char* p, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = (v << 8) | p[i];
  return v;
}

// The record table of a file with `nKeys` keys.
std::string RecordTableSql(size_t nKeys) {
  std::string sql = "CREATE TABLE qx_record(id INTEGER PRIMARY KEY AUTOINCREMENT, ver INTEGER NOT NULL, data BLOB NOT NULL";
  for (size_t i = 1; i <= nKeys; ++i) sql += ", k" + std::to_string(i) + " BLOB";
  return sql + ")";
}

}  // namespace

std::string IndexSql(int n, const KeyDef& key) {
  const std::string col = "k" + std::to_string(n);
  std::string sql = std::string("CREATE ") + (key.dup ? "" : "UNIQUE ") + "INDEX qx_key" + std::to_string(n) +
                    " ON qx_record(" + col + ")";
  if (key.opt) sql += " WHERE " + col + " IS NOT NULL";
  return sql;
}

int CreateSchema(sqlite3* db, const RecordLayout& layout, const std::vector<KeyDef>& keys) {
  int rc = Exec(db,
                "CREATE TABLE qx_file(item TEXT PRIMARY KEY, value TEXT NOT NULL);"
                "CREATE TABLE qx_field(no INTEGER PRIMARY KEY, name TEXT NOT NULL, type TEXT NOT NULL,"
                " width INTEGER NOT NULL);"
                "CREATE TABLE qx_key(no INTEGER PRIMARY KEY, name TEXT NOT NULL, dup INTEGER NOT NULL,"
                " opt INTEGER NOT NULL, nocase INTEGER NOT NULL, is_primary INTEGER NOT NULL,"
                " auto_number INTEGER NOT NULL, state INTEGER NOT NULL DEFAULT 0);"
                "CREATE TABLE qx_key_part(key INTEGER NOT NULL, seq INTEGER NOT NULL, field INTEGER NOT NULL,"
                " PRIMARY KEY(key, seq));");
  if (rc != SQLITE_OK) return rc;
  Stmt s;
  if (!s.Prepare(db, "INSERT INTO qx_file VALUES(?1, ?2)")) return sqlite3_errcode(db);
  s.BindText(1, "format");
  s.BindText(2, kFormat);
  if ((rc = s.Step()) != SQLITE_DONE) return rc;
  s.Reset();
  s.BindText(1, "record_length");
  s.BindText(2, std::to_string(layout.length()));
  if ((rc = s.Step()) != SQLITE_DONE) return rc;

  if (!s.Prepare(db, "INSERT INTO qx_field VALUES(?1, ?2, ?3, ?4)")) return sqlite3_errcode(db);
  for (size_t i = 0; i < layout.fields().size(); ++i) {
    const FieldDef& f = layout.fields()[i];
    s.Reset();
    s.Bind(1, static_cast<int64_t>(i + 1));
    s.BindText(2, f.name);
    s.BindText(3, FieldTypeName(f.type));
    s.Bind(4, static_cast<int64_t>(f.width));
    if ((rc = s.Step()) != SQLITE_DONE) return rc;
  }
  Stmt k, p;
  if (!k.Prepare(db, "INSERT INTO qx_key VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, 0)")) return sqlite3_errcode(db);
  if (!p.Prepare(db, "INSERT INTO qx_key_part VALUES(?1, ?2, ?3)")) return sqlite3_errcode(db);
  for (size_t i = 0; i < keys.size(); ++i) {
    const KeyDef& d = keys[i];
    const int64_t n = static_cast<int64_t>(i + 1);
    k.Reset();
    k.Bind(1, n);
    k.BindText(2, d.name);
    k.Bind(3, d.dup);
    k.Bind(4, d.opt);
    k.Bind(5, d.nocase);
    k.Bind(6, d.primary);
    k.Bind(7, d.autoNumber);
    if ((rc = k.Step()) != SQLITE_DONE) return rc;
    for (size_t c = 0; c < d.components.size(); ++c) {
      p.Reset();
      p.Bind(1, n);
      p.Bind(2, static_cast<int64_t>(c + 1));
      p.Bind(3, layout.FindField(d.components[c]) + 1);
      if ((rc = p.Step()) != SQLITE_DONE) return rc;
    }
  }
  if ((rc = Exec(db, RecordTableSql(keys.size()).c_str())) != SQLITE_OK) return rc;
  for (size_t i = 0; i < keys.size(); ++i) {
    if ((rc = Exec(db, IndexSql(static_cast<int>(i + 1), keys[i]).c_str())) != SQLITE_OK) return rc;
  }
  return SQLITE_OK;
}

int UpgradeRecordTable(sqlite3* db, const std::vector<KeyDef>& keys, const std::vector<int>& keyStates) {
  std::string cols = "id, ver, data";
  for (size_t i = 1; i <= keys.size(); ++i) cols += ", k" + std::to_string(i);
  // Renaming takes the old indexes along; dropping the old table drops them, and the new
  // ones take their names. The copy sets the pointer sequence to the highest pointer held.
  int rc = Exec(db, "ALTER TABLE qx_record RENAME TO qx_record_reusing");
  if (rc == SQLITE_OK) rc = Exec(db, RecordTableSql(keys.size()).c_str());
  if (rc == SQLITE_OK)
    rc = Exec(db, ("INSERT INTO qx_record(" + cols + ") SELECT " + cols + " FROM qx_record_reusing ORDER BY id").c_str());
  if (rc == SQLITE_OK) rc = Exec(db, "DROP TABLE qx_record_reusing");
  for (size_t i = 0; rc == SQLITE_OK && i < keys.size(); ++i) {
    if (i < keyStates.size() && keyStates[i] == 0) rc = Exec(db, IndexSql(static_cast<int>(i + 1), keys[i]).c_str());
  }
  if (rc == SQLITE_OK) {
    Stmt s;
    if (!s.Prepare(db, "UPDATE qx_file SET value = ?1 WHERE item = 'format'")) return sqlite3_errcode(db);
    s.BindText(1, kFormat);
    rc = s.Step();
    if (rc == SQLITE_DONE) rc = SQLITE_OK;
  }
  return rc;
}

LoadResult LoadSchema(sqlite3* db, StoredLayout* out, StoredState* state) {
  *out = StoredLayout{};
  *state = StoredState{};
  std::vector<int>* states = &state->keyStates;
  Stmt s;
  // Reading the schema is the first access: it tells a foreign or undecipherable file.
  if (!s.Prepare(db, "SELECT name FROM sqlite_master WHERE type IN ('table', 'index') AND name LIKE 'qx~_%' ESCAPE '~'")) {
    return FromCode(sqlite3_extended_errcode(db));
  }
  std::vector<std::string> names;
  int rc;
  while ((rc = s.Step()) == SQLITE_ROW) names.push_back(s.Text(0));
  if (rc != SQLITE_DONE) return FromCode(rc);
  s.Finalize();
  auto has = [&](const char* n) {
    for (const auto& x : names) {
      if (x == n) return true;
    }
    return false;
  };
  if (!has("qx_file") || !has("qx_field") || !has("qx_key") || !has("qx_key_part") || !has("qx_record"))
    return LoadResult::kNotOurs;

  if (!s.Prepare(db, "SELECT value FROM qx_file WHERE item = 'format'")) return FromCode(sqlite3_extended_errcode(db));
  rc = s.Step();
  if (rc != SQLITE_ROW) return rc == SQLITE_DONE ? LoadResult::kNotOurs : FromCode(rc);
  if (s.Text(0) == kFormatReusingPointers) state->reusesPointers = true;
  else if (s.Text(0) != kFormat) return LoadResult::kNotOurs;

  if (!s.Prepare(db, "SELECT name, type, width FROM qx_field ORDER BY no")) return FromCode(sqlite3_extended_errcode(db));
  while ((rc = s.Step()) == SQLITE_ROW) {
    FieldType t;
    if (!FieldTypeFromName(s.Text(1), &t)) return LoadResult::kNotOurs;
    if (!out->layout.AddField(s.Text(0), t, static_cast<size_t>(s.Int(2)))) return LoadResult::kNotOurs;
  }
  if (rc != SQLITE_DONE) return FromCode(rc);

  if (!s.Prepare(db, "SELECT no, name, dup, opt, nocase, is_primary, auto_number, state FROM qx_key ORDER BY no"))
    return FromCode(sqlite3_extended_errcode(db));
  Stmt p;
  if (!p.Prepare(db, "SELECT field FROM qx_key_part WHERE key = ?1 ORDER BY seq")) return FromCode(sqlite3_extended_errcode(db));
  int expected = 1;
  while ((rc = s.Step()) == SQLITE_ROW) {
    if (s.Int(0) != expected++) return LoadResult::kNotOurs;
    KeyDef d;
    d.name = s.Text(1);
    d.dup = s.Int(2) != 0;
    d.opt = s.Int(3) != 0;
    d.nocase = s.Int(4) != 0;
    d.primary = s.Int(5) != 0;
    d.autoNumber = s.Int(6) != 0;
    int keyState = static_cast<int>(s.Int(7));
    p.Reset();
    p.Bind(1, s.Int(0));
    int prc;
    while ((prc = p.Step()) == SQLITE_ROW) {
      const int64_t f = p.Int(0);
      if (f < 1 || f > static_cast<int64_t>(out->layout.fields().size())) return LoadResult::kNotOurs;
      d.components.push_back(out->layout.fields()[static_cast<size_t>(f - 1)].name);
    }
    if (prc != SQLITE_DONE) return FromCode(prc);
    if (d.components.empty()) return LoadResult::kNotOurs;
    if (keyState == 0 && !has(("qx_key" + std::to_string(out->keys.size() + 1)).c_str())) keyState = 1;
    out->keys.push_back(std::move(d));
    states->push_back(keyState);
  }
  if (rc != SQLITE_DONE) return FromCode(rc);
  if (out->layout.fields().empty()) return LoadResult::kNotOurs;
  return LoadResult::kOk;
}

bool SameLayout(const StoredLayout& stored, const RecordLayout& layout, const std::vector<KeyDef>& keys,
                bool encrypted) {
  if (stored.encrypted != encrypted) return false;
  const auto& a = stored.layout.fields();
  const auto& b = layout.fields();
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].name != b[i].name || a[i].type != b[i].type || a[i].width != b[i].width) return false;
  }
  if (stored.keys.size() != keys.size()) return false;
  for (size_t i = 0; i < keys.size(); ++i) {
    const KeyDef& x = stored.keys[i];
    const KeyDef& y = keys[i];
    if (x.name != y.name || x.dup != y.dup || x.opt != y.opt || x.nocase != y.nocase || x.primary != y.primary ||
        x.autoNumber != y.autoNumber || x.components.size() != y.components.size())
      return false;
    for (size_t c = 0; c < x.components.size(); ++c) {
      if (layout.FindField(x.components[c]) != layout.FindField(y.components[c])) return false;
    }
  }
  return true;
}

Header ClassifyHeader(int fd, long long* size) {
  struct stat st;
  if (::fstat(fd, &st) != 0) return Header::kOther;
  *size = st.st_size;
  if (st.st_size == 0) return Header::kEmpty;
  unsigned char h[100];
  const ssize_t n = ::pread(fd, h, sizeof h, 0);
  if (n < 16 || std::memcmp(h, "SQLite format 3", 16) != 0) return Header::kOther;
  if (n < 100) return Header::kTruncated;
  uint32_t pageSize = BigEndian(h + 16, 2);
  if (pageSize == 1) pageSize = 65536;
  if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0) return Header::kTruncated;
  if (st.st_size % pageSize != 0) return Header::kTruncated;
  // The page count in the header holds when its version-valid-for matches the change
  // counter; a file shorter than that count has lost pages.
  const uint32_t pages = BigEndian(h + 28, 4);
  if (BigEndian(h + 92, 4) == BigEndian(h + 24, 4) &&
      static_cast<long long>(pages) * pageSize > static_cast<long long>(st.st_size))
    return Header::kTruncated;
  return Header::kPlain;
}

}  // namespace qx::store
