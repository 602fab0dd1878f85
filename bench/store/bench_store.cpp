// Benchmark of the record store on Standrd-shaped files (LONG CUSID, STRING(20) NAME,
// STRING(20) SUBURB; keys by NAME and by CUSID, both DUP OPT NOCASE).
//
// For each of two file sizes it builds the file with ADD inside one transaction, then
// times, for the first, middle and last 20-record page of the name order:
//   page forward    SETkey (first page) or RESETkey to the page's stored position, 20 NEXT
//   page backward   RESETkey to the position of the page's last record, 20 PREVIOUS
//   locate          SETkeykey on the page's first name, then NEXT
//   REGETfile       of a stored record position on the page
// each in microseconds per call (a page counts as one call), beside the same reads done
// directly with prepared SQLite statements on the same file in the same run, and their
// ratio. The page reads are bracketed with QUICKSCAN on/off, as the browses send it.
// It also times bulk filling: ADD in one transaction, and APPEND + BUILDfile (the path a
// conversion takes), each beside the same inserts done by direct SQL under the store's
// settings, in alternating runs (see MeasureFill). Each size runs in a process of its
// own, whose peak memory (getrusage) is printed, with a third size (--mid, default
// 100000) to show where it levels off.
//
// Usage: bench_store [--records N] [--small N] [--mid N] [--dir D]
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/bench_support.h"
#include "bench/support/standrd_records.h"
#include "demo/data_files.h"
#include "runtime/store/key_image.h"
#include "runtime/store/store.h"

namespace {

using namespace qx;
using bench::Clock;
using bench::MakeStandrdRecord;
using bench::Seconds;

// The file of today's Standrd declaration named `name`.
std::unique_ptr<FileDecl> MakeStandrd(const std::string& name) { return DeclarationNamed(Standrd, name); }

// ---- The baseline: the same work with prepared statements on the same tables ----------

class Direct {
 public:
  explicit Direct(const std::string& path) {
    sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db_, "PRAGMA cache_size = -8192", nullptr, nullptr, nullptr);
    Prep(&fwd_, "SELECT id, ver, data, k1 FROM qx_record WHERE k1 >= ?1 ORDER BY k1, id LIMIT ?2");
    Prep(&bwd_, "SELECT id, ver, data, k1 FROM qx_record WHERE k1 <= ?1 ORDER BY k1 DESC, id DESC LIMIT ?2");
    Prep(&byId_, "SELECT id, ver, data FROM qx_record WHERE id = ?1");
  }
  ~Direct() {
    for (auto* s : {fwd_, bwd_, byId_}) sqlite3_finalize(s);
    sqlite3_close(db_);
  }
  // Reads `n` rows from the image on, forward or backward, copying each into a buffer.
  int Range(bool forward, const std::string& image, int n) {
    sqlite3_stmt* s = forward ? fwd_ : bwd_;
    sqlite3_bind_blob(s, 1, image.data(), static_cast<int>(image.size()), SQLITE_STATIC);
    sqlite3_bind_int(s, 2, n);
    int rows = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
      Copy(s);
      ++rows;
    }
    sqlite3_reset(s);
    return rows;
  }
  void ById(int64_t id) {
    sqlite3_bind_int64(byId_, 1, id);
    if (sqlite3_step(byId_) == SQLITE_ROW) Copy(byId_);
    sqlite3_reset(byId_);
  }
  sqlite3* db() { return db_; }

 private:
  void Prep(sqlite3_stmt** s, const char* sql) { sqlite3_prepare_v2(db_, sql, -1, s, nullptr); }
  void Copy(sqlite3_stmt* s) {
    const void* p = sqlite3_column_blob(s, 2);
    std::memcpy(buf_, p, std::min<int>(sizeof buf_, sqlite3_column_bytes(s, 2)));
  }
  sqlite3* db_ = nullptr;
  sqlite3_stmt *fwd_ = nullptr, *bwd_ = nullptr, *byId_ = nullptr;
  unsigned char buf_[44];
};

// ---- Filling ---------------------------------------------------------------------------
//
// Each fill is timed on a fresh file made by CREATE, from the start of its transaction to
// the end of its last commit, after the previous files' writes have reached the disk.
// The direct fills open their connection with the store's settings (full sync, rollback
// journal, the 8 MiB page cache, temporary files for sorting, no sorter mapping) and do
// the store's work: the same inserts with the same key images into the same tables; for
// APPEND the indexes dropped inside the transaction and built afterwards in one
// transaction of their own, as BUILDfile does.

// Fills the file through the store: ADD (or APPEND then BUILDfile) inside one transaction.
double StoreFill(FileDecl& f, uint64_t n, bool append) {
  CREATE(f);
  OPEN(f, 0x12);
  ::sync();
  const auto t0 = Clock::now();
  LOGOUT(10, f);
  auto& r = f.Record<StandrdRecord>();
  for (uint64_t i = 0; i < n; ++i) {
    MakeStandrdRecord(i, &r);
    if (append) APPEND(f);
    else ADD(f);
    if (RtErrorCode() != 0) {
      std::fprintf(stderr, "fill failed at %llu: %d %s\n", static_cast<unsigned long long>(i), RtErrorCode(),
                   RtPushFileErrorText().c_str());
      std::exit(1);
    }
  }
  COMMIT();
  if (append) BUILDfile(f);
  const auto t1 = Clock::now();
  if (RtErrorCode() != 0) {
    std::fprintf(stderr, "fill failed: %d %s\n", RtErrorCode(), RtPushFileErrorText().c_str());
    std::exit(1);
  }
  CLOSE(f);
  return Seconds(t0, t1);
}

void Exec(sqlite3* db, const char* sql) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
    std::fprintf(stderr, "direct fill failed: %s: %s\n", sql, sqlite3_errmsg(db));
    std::exit(1);
  }
}

// The same fill with prepared statements on the file's tables.
double DirectFill(FileDecl& decl, uint64_t n, bool append) {
  CREATE(decl);
  sqlite3* db = nullptr;
  sqlite3_open_v2(decl.StoreName().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  Exec(db, "PRAGMA synchronous = FULL; PRAGMA cache_size = -8192; PRAGMA temp_store = FILE");
  sqlite3_test_control(SQLITE_TESTCTRL_SORTER_MMAP, db, 0);
  sqlite3_stmt* ins = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO qx_record(ver, data, k1, k2) VALUES(1, ?1, ?2, ?3)", -1, &ins, nullptr);
  KeyShape byName{{1}, true, true}, byId{{0}, true, true};
  StandrdRecord r;
  ::sync();
  const auto t0 = Clock::now();
  Exec(db, "BEGIN IMMEDIATE");
  if (append) Exec(db, "DROP INDEX qx_key1; DROP INDEX qx_key2");
  for (uint64_t i = 0; i < n; ++i) {
    MakeStandrdRecord(i, &r);
    const auto* p = reinterpret_cast<const unsigned char*>(&r);
    const auto k1 = StoredKeyImage(decl.layout(), byName, p);
    const auto k2 = StoredKeyImage(decl.layout(), byId, p);
    sqlite3_bind_blob(ins, 1, p, sizeof r, SQLITE_STATIC);
    if (k1) sqlite3_bind_blob(ins, 2, k1->data(), static_cast<int>(k1->size()), SQLITE_STATIC);
    else sqlite3_bind_null(ins, 2);
    if (k2) sqlite3_bind_blob(ins, 3, k2->data(), static_cast<int>(k2->size()), SQLITE_STATIC);
    else sqlite3_bind_null(ins, 3);
    if (sqlite3_step(ins) != SQLITE_DONE) {
      std::fprintf(stderr, "direct insert failed: %s\n", sqlite3_errmsg(db));
      std::exit(1);
    }
    sqlite3_reset(ins);
  }
  Exec(db, "COMMIT");
  if (append) {
    Exec(db, "BEGIN IMMEDIATE");
    Exec(db, "CREATE INDEX qx_key1 ON qx_record(k1) WHERE k1 IS NOT NULL;"
             "CREATE INDEX qx_key2 ON qx_record(k2) WHERE k2 IS NOT NULL");
    Exec(db, "COMMIT");
  }
  const auto t1 = Clock::now();
  sqlite3_finalize(ins);
  sqlite3_close(db);
  return Seconds(t0, t1);
}

struct FillFigures {
  double store, direct;  // seconds, the best of the runs
};

// Fills each way in rounds of store, direct, direct, store, so that a drift in the
// machine's state weighs on both alike; the best run of each way counts, since what
// else runs on the machine only ever slows a run down. Small files, which fill in a
// moment, get more rounds. Every file but the last is removed as soon as it is timed;
// the last one (filled by the store) stays when `keep` names it.
FillFigures MeasureFill(const std::string& work, uint64_t n, bool append, const std::string& keep) {
  const int rounds = n >= 500000 ? 1 : n >= 50000 ? 2 : 5;
  FillFigures out{1e300, 1e300};
  auto run = [&](bool store, const std::string& name, bool remove) {
    auto f = MakeStandrd(work + "/" + name);
    const double t = store ? StoreFill(*f, n, append) : DirectFill(*f, n, append);
    (store ? out.store : out.direct) = std::min(store ? out.store : out.direct, t);
    if (remove) std::filesystem::remove(f->StoreName());
  };
  for (int i = 0; i < rounds; ++i) {
    const bool last = i == rounds - 1;
    run(true, "FILL", true);
    run(false, "FILL", true);
    run(false, "FILL", true);
    run(true, last && !keep.empty() ? keep : "FILL", !(last && !keep.empty()));
  }
  return out;
}

// Times `body` run `reps` times; microseconds per run.
template <class F>
double Micro(int reps, F body) {
  for (int i = 0; i < reps / 10 + 1; ++i) body();  // warm the cache
  const auto t0 = Clock::now();
  for (int i = 0; i < reps; ++i) body();
  return Seconds(t0, Clock::now()) * 1e6 / reps;
}

struct PageFigures {
  double ours[4][3];
  double base[4][3];
};

const char* kOps[4] = {"SETkey/RESETkey + 20 NEXT", "RESETkey + 20 PREVIOUS", "SETkeykey locate + NEXT", "REGETfile"};
const char* kPages[3] = {"first", "middle", "last"};

PageFigures MeasurePages(FileDecl& f, int reps) {
  PageFigures out{};
  OPEN(f, 0x42);
  Key& byName = f.key(0);
  auto& r = f.Record<StandrdRecord>();
  // Stored positions of each page's first and last record, its first name and a record.
  std::string firstPos[3], lastPos[3], filePos[3], firstImage[3], lastImage[3];
  STRING<20> firstName[3];
  KeyShape shape{{1}, true, true};
  for (int p = 0; p < 3; ++p) {
    // Reach the page's first record without counting: the start of the name order; the
    // first name at or after "N" (names begin with A to Z evenly, so that is the middle);
    // 20 records before the end.
    SETkey(byName);
    if (p == 0) {
      NEXT(f);
    } else if (p == 1) {
      r.NAME = "N";
      SETkeykey(byName, byName);
      NEXT(f);
    } else {
      for (int i = 0; i < 20; ++i) PREVIOUS(f);
    }
    firstPos[p] = POSITIONkey(byName);
    firstName[p] = r.NAME;
    firstImage[p] = KeyImage(f.layout(), shape, reinterpret_cast<const unsigned char*>(&r));
    for (int i = 0; i < 19; ++i) NEXT(f);
    lastPos[p] = POSITIONkey(byName);
    lastImage[p] = KeyImage(f.layout(), shape, reinterpret_cast<const unsigned char*>(&r));
    filePos[p] = POSITIONfile(f);
  }
  Direct direct(f.StoreName());
  for (int p = 0; p < 3; ++p) {
    out.ours[0][p] = Micro(reps, [&] {
      SEND(f, "QUICKSCAN=on");
      if (p == 0) SETkey(byName);
      else RESETkey(byName, firstPos[p]);
      for (int i = 0; i < 20; ++i) NEXT(f);
      SEND(f, "QUICKSCAN=off");
    });
    out.base[0][p] = Micro(reps, [&] { direct.Range(true, p == 0 ? std::string() : firstImage[p], 20); });
    out.ours[1][p] = Micro(reps, [&] {
      SEND(f, "QUICKSCAN=on");
      RESETkey(byName, lastPos[p]);
      for (int i = 0; i < 20; ++i) PREVIOUS(f);
      SEND(f, "QUICKSCAN=off");
    });
    out.base[1][p] = Micro(reps, [&] { direct.Range(false, lastImage[p], 20); });
    out.ours[2][p] = Micro(reps, [&] {
      r.NAME = firstName[p];
      SETkeykey(byName, byName);
      NEXT(f);
    });
    out.base[2][p] = Micro(reps, [&] { direct.Range(true, firstImage[p], 1); });
    const int64_t id = std::stoll(filePos[p].substr(1));
    out.ours[3][p] = Micro(reps * 5, [&] { REGETfile(f, filePos[p]); });
    out.base[3][p] = Micro(reps * 5, [&] { direct.ById(id); });
  }
  CLOSE(f);
  return out;
}

struct SizeResult {
  FillFigures add, append;
  PageFigures pages;
  long peakKb;
};

// Fills and measures a file of `n` records (in a child process of its own).
SizeResult MeasureSize(const std::string& work, uint64_t n, int index) {
  SizeResult r{};
  const std::string name = "STANDRD" + std::to_string(index);
  r.append = MeasureFill(work, n, true, "");
  r.add = MeasureFill(work, n, false, name);
  auto file = MakeStandrd(work + "/" + name);
  r.pages = MeasurePages(*file, n >= 1000000 ? 2000 : 3000);
  r.peakKb = bench::PeakKb();
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  uint64_t big = bench::NumberFlag(argc, argv, "--records", 1000000), small = bench::NumberFlag(argc, argv, "--small", 10000),
           mid = bench::NumberFlag(argc, argv, "--mid", 100000);
  if (small < 100) small = 100;
  if (mid < small) mid = small;
  if (big < mid) big = mid;
  const std::string work = bench::MakeWorkDirectory(bench::Flag(argc, argv, "--dir", "/tmp"), "store");

  // Each size runs in a child process of its own, so its peak memory is its own.
  const uint64_t sizes[3] = {small, mid, big};
  SizeResult results[3];
  std::printf("bench_store: Standrd-shaped records, keys by NAME and by CUSID (DUP OPT NOCASE)\n\n");
  for (int s = 0; s < 3; ++s) {
    if (!bench::RunInChild<SizeResult>([&] { return MeasureSize(work, sizes[s], s); }, &results[s])) {
      std::fprintf(stderr, "bench_store: the run for %llu records failed\n", static_cast<unsigned long long>(sizes[s]));
      return 1;
    }
  }
  std::printf("Filling (records per second, the best of two or more runs each way; baseline: the same\n"
              "inserts into the same tables with the store's settings, by direct SQL; ratio = store time /\n"
              "direct time)\n");
  std::printf("%-34s %10s %12s %12s %7s\n", "", "records", "store", "direct SQL", "ratio");
  for (int s : {0, 2}) {
    const SizeResult& r = results[s];
    const auto n = static_cast<unsigned long long>(sizes[s]);
    std::printf("%-34s %10llu %12.0f %12.0f %7.2f\n", "ADD in one transaction", n, n / r.add.store,
                n / r.add.direct, r.add.store / r.add.direct);
    std::printf("%-34s %10llu %12.0f %12.0f %7.2f\n", "APPEND + BUILDfile (conversion)", n, n / r.append.store,
                n / r.append.direct, r.append.store / r.append.direct);
  }
  PageFigures figures[2] = {results[0].pages, results[2].pages};
  const uint64_t shown[2] = {small, big};
  std::printf("\nReads in microseconds per call (a 20-record page is one call); ratio = store / direct\n");
  std::printf("%-28s %-7s | %10s %10s %6s | %10s %10s %6s\n", "", "", "store", "direct", "ratio", "store", "direct",
              "ratio");
  std::printf("%-28s %-7s | %29s | %29s\n", "operation", "page",
              (std::to_string(shown[0]) + " records").c_str(), (std::to_string(shown[1]) + " records").c_str());
  for (int op = 0; op < 4; ++op) {
    for (int p = 0; p < 3; ++p) {
      std::printf("%-28s %-7s |", p == 0 ? kOps[op] : "", kPages[p]);
      for (int s = 0; s < 2; ++s) {
        const double o = figures[s].ours[op][p], b = figures[s].base[op][p];
        std::printf(" %10.2f %10.2f %6.2f |", o, b, b > 0 ? o / b : 0);
      }
      std::printf("\n");
    }
  }
  std::printf("\nPeak memory of the whole run for one size (getrusage, KiB): ");
  for (int s = 0; s < 3; ++s)
    std::printf("%s%llu records %ld", s ? ", " : "", static_cast<unsigned long long>(sizes[s]), results[s].peakKb);
  std::printf("\n(the engine's page cache is bounded at 8 MiB per connection; a file smaller than that\n"
              " does not fill it)\n");
  std::filesystem::remove_all(work);
  return 0;
}
