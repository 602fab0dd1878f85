// Benchmark of RECFIX: converting an old-layout Standrd file (CUSID, NAME, SUBURB, PHONE,
// STARTDATE, ADDRESS; five keys) to today's layout (CUSID, NAME, SUBURB; keys by NAME and
// by CUSID), as the programs run it: a whole process, started on the file.
//
// For each size the same generated file is converted three ways, each from a fresh synced
// copy of it, in the same run:
//   copy      read the file and write it to a new file, then fsync: the disk's floor
//   direct    the same conversion done directly with the sqlite engine: the example file
//             (an empty file of today's layout) copied to a work name, its indexes
//             dropped, INSERT INTO ... SELECT from the attached old file with the key
//             images computed by SQL functions, the indexes built, all in one transaction
//             with the store's settings (full sync, 8 MiB page cache, sorting on disk),
//             then fsync and rename over the data file
//   RECFIX    the real program, with the command line the programs give it
// Each is a fresh process started with posix_spawn (copy and direct: this program again,
// with --copy-child or --direct-child), timed from its start to its end, with its peak
// memory (getrusage of the child). Each runs twice, the three in turn, and the faster run
// of each counts; the peak memory at the two sizes shows whether it grows with the file.
// The work that is not measured (writing the file, checking each result) runs in forked
// children, so this process stays small: a process started with posix_spawn reports at
// least the starting process's peak memory, which is printed as the floor under them.
//
// Usage: bench_recfix [--records N] [--small N] [--dir D]   (defaults 1000000, 100000, /tmp)
#include <fcntl.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/bench_support.h"
#include "demo/data_files.h"
#include "runtime/store/key_image.h"
#include "runtime/store/store.h"
#include "tools/demodata/customers.h"
#include "tools/demodata/data_writer.h"
#include "tools/demodata/old_layouts.h"

namespace {

using namespace qx;
using bench::Clock;
using bench::Seconds;

// Today's Standrd declaration under `name`.
std::unique_ptr<FileDecl> TodayStandrd(const std::string& name) { return DeclarationNamed(Standrd, name); }

void Die(const std::string& what) {
  std::fprintf(stderr, "bench_recfix: %s\n", what.c_str());
  std::exit(1);
}

// Copies `from` to `to` with 1 MiB reads and writes, then fsyncs the copy.
void CopyFile(const std::string& from, const std::string& to) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (in < 0 || out < 0) Die("cannot copy " + from);
  std::vector<char> buf(1 << 20);
  ssize_t n;
  while ((n = ::read(in, buf.data(), buf.size())) > 0) {
    if (::write(out, buf.data(), static_cast<size_t>(n)) != n) Die("short write to " + to);
  }
  if (n < 0 || ::fsync(out) != 0) Die("cannot copy " + from);
  ::close(in);
  ::close(out);
}

void SyncDirectory(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

// ---- The direct conversion -------------------------------------------------------------

const RecordLayout& TodayLayout() {
  static const RecordLayout layout = TodayStandrd("unused")->layout();
  return layout;
}

// qx_image(data, field index): the stored key image of today's key over that field of the
// record (NULL when the optional key leaves it out). The old record starts with the same
// three fields, so today's offsets hold.
void ImageFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const auto* data = static_cast<const unsigned char*>(sqlite3_value_blob(argv[0]));
  if (sqlite3_value_bytes(argv[0]) < static_cast<int>(TodayLayout().length())) {
    sqlite3_result_null(ctx);
    return;
  }
  const KeyShape shape{{sqlite3_value_int(argv[1])}, true, true};
  const auto image = StoredKeyImage(TodayLayout(), shape, data);
  if (image) sqlite3_result_blob(ctx, image->data(), static_cast<int>(image->size()), SQLITE_TRANSIENT);
  else sqlite3_result_null(ctx);
}

bool Exec(sqlite3* db, const std::string& sql) {
  char* err = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) == SQLITE_OK) return true;
  std::fprintf(stderr, "bench_recfix: %s: %s\n", sql.c_str(), err ? err : "?");
  sqlite3_free(err);
  return false;
}

// Converts dir/Standrd.TPS in place with the example dir/STANDRD.tpe. Returns 0 on success.
int DirectConversion(const std::string& dir) {
  const std::string data = dir + "/Standrd.TPS", work = dir + "/STANDRD.tp1";
  CopyFile(dir + "/STANDRD.tpe", work);
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(work.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) return 1;
  sqlite3_test_control(SQLITE_TESTCTRL_SORTER_MMAP, db, 0);
  sqlite3_create_function(db, "qx_image", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, ImageFunction, nullptr,
                          nullptr);
  const bool ok =
      Exec(db, "PRAGMA synchronous = FULL; PRAGMA cache_size = -8192; PRAGMA temp_store = FILE") &&
      Exec(db, "ATTACH '" + data + "' AS old") && Exec(db, "BEGIN IMMEDIATE") &&
      Exec(db, "DROP INDEX qx_key1; DROP INDEX qx_key2") &&
      Exec(db, "INSERT INTO qx_record(id, ver, data, k1, k2) SELECT id, 1, substr(data, 1, 44), "
               "qx_image(data, 1), qx_image(data, 0) FROM old.qx_record ORDER BY id") &&
      Exec(db, "CREATE INDEX qx_key1 ON qx_record(k1) WHERE k1 IS NOT NULL;"
               "CREATE INDEX qx_key2 ON qx_record(k2) WHERE k2 IS NOT NULL") &&
      Exec(db, "COMMIT") && Exec(db, "DETACH old");
  sqlite3_close(db);
  if (!ok) return 1;
  const int fd = ::open(work.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || ::fsync(fd) != 0) return 1;
  ::close(fd);
  if (::rename(work.c_str(), data.c_str()) != 0) return 1;
  SyncDirectory(dir);
  return 0;
}

// ---- Runs --------------------------------------------------------------------------------

constexpr int kRounds = 2;

// This program's own file, for starting it again in a child mode.
std::string gSelf;

struct Run {
  double seconds = 0;
  long peakKb = 0;
};

// Starts `argv` (argv[0] the program's path) as a fresh process in `dir`, waits for it to
// end, and gives its wall time and peak memory; ends the run when it fails.
Run Spawn(const std::vector<std::string>& argv, const std::string& dir, const char* what) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  std::fflush(stdout);
  pid_t pid = 0;
  const auto start = Clock::now();
  const int rc = ::posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) Die(std::string("cannot start ") + what + ": " + std::strerror(rc));
  int status = 0;
  rusage use{};
  if (::wait4(pid, &status, 0, &use) != pid) Die(std::string("wait for ") + what);
  const auto end = Clock::now();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) Die(std::string(what) + " failed");
  return {Seconds(start, end), use.ru_maxrss};
}

Run RunCopy(const std::string& dir) { return Spawn({gSelf, "--copy-child", "master.TPS", "copy.TPS"}, dir, "the copy"); }
Run RunDirect(const std::string& dir) { return Spawn({gSelf, "--direct-child", "."}, dir, "the direct conversion"); }
Run RunRecfix(const std::string& dir) {
  return Spawn({RECFIX_PATH, "STANDRD.tps?", "/K", "/E:STANDRD.tpe?", "/A"}, dir, "RECFIX");
}

// Checks, in a forked child, that dir/Standrd.TPS opens under today's declaration with
// `records` records.
void Verify(const std::string& dir, uint64_t records, const char* what) {
  struct Checked {
    LONG openCode;
    uint64_t records;
  } got{};
  const bool ran = bench::RunInChild<Checked>(
      [&] {
        Checked c{0, 0};
        auto today = TodayStandrd(dir + "/STANDRD");
        OPEN(*today, 0x40);
        c.openCode = RtErrorCode();
        if (c.openCode != 0) return c;
        SEND(*today, "QUICKSCAN=on");
        SETfile(*today);
        for (NEXT(*today); RtErrorCode() == 0; NEXT(*today)) ++c.records;
        CLOSE(*today);
        return c;
      },
      &got);
  if (!ran) Die(std::string(what) + ": the check of the result failed");
  if (got.openCode != 0) Die(std::string(what) + ": the result does not open: " + std::to_string(got.openCode));
  if (got.records != records)
    Die(std::string(what) + ": " + std::to_string(got.records) + " records instead of " + std::to_string(records));
}

struct SizeResult {
  uint64_t records = 0;
  double fileMiB = 0;
  Run copy{1e30, 0}, direct{1e30, 0}, recfix{1e30, 0};
};

// Keeps the faster time and the higher peak.
void Keep(Run* best, const Run& r) {
  best->seconds = std::min(best->seconds, r.seconds);
  best->peakKb = std::max(best->peakKb, r.peakKb);
}

SizeResult Measure(const std::string& work, uint64_t records) {
  SizeResult r;
  r.records = records;
  const std::string dir = work + "/n" + std::to_string(records);
  std::filesystem::create_directories(dir);
  const std::string master = dir + "/master.TPS";
  double writeSeconds = 0;
  const bool written = bench::RunInChild<double>(
      [&] {
        auto old = demodata::MakeOldDecl(demodata::OldFile::kStandrd, master);
        const auto t0 = Clock::now();
        if (demodata::WriteDataFile(*old, records, demodata::GeneratedCustomer) != 0) return -1.0;
        const double s = Seconds(t0, Clock::now());
        auto example = TodayStandrd(dir + "/STANDRD.tpe");
        CREATE(*example);
        return RtErrorCode() == 0 ? s : -1.0;
      },
      &writeSeconds);
  if (!written || writeSeconds < 0) Die("cannot write " + master + " or its example file");
  std::printf("  %llu records written in %.1f s\n", static_cast<unsigned long long>(records), writeSeconds);
  r.fileMiB = static_cast<double>(std::filesystem::file_size(master)) / (1 << 20);

  for (int round = 0; round < kRounds; ++round) {
    Keep(&r.copy, RunCopy(dir));
    std::filesystem::remove(dir + "/copy.TPS");

    CopyFile(master, dir + "/Standrd.TPS");
    Keep(&r.direct, RunDirect(dir));
    Verify(dir, records, "direct");

    CopyFile(master, dir + "/Standrd.TPS");
    Keep(&r.recfix, RunRecfix(dir));
    Verify(dir, records, "RECFIX");
  }
  std::filesystem::remove_all(dir);
  return r;
}

}  // namespace

const char kUsage[] =
    "usage: bench_recfix [--records N] [--small N] [--dir D]\n"
    "  converts generated old-layout Standrd files of N records (default 1000000) and of\n"
    "  --small records (default 100000) in a work directory made in D (default /tmp), with\n"
    "  RECFIX, directly with the sqlite engine, and by a plain copy; prints the figures\n";

int main(int argc, char** argv) {
  // The modes in which this program starts itself for a measured run.
  if (argc == 4 && std::string(argv[1]) == "--copy-child") {
    CopyFile(argv[2], argv[3]);
    SyncDirectory(".");
    return 0;
  }
  if (argc == 3 && std::string(argv[1]) == "--direct-child") return DirectConversion(argv[2]);
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  std::error_code ec;
  gSelf = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) Die("cannot find this program's own file");

  uint64_t big = bench::NumberFlag(argc, argv, "--records", 1000000), small = bench::NumberFlag(argc, argv, "--small", 100000);
  if (small < 1000) small = 1000;
  if (big < small) big = small;
  const std::string work = bench::MakeWorkDirectory(bench::Flag(argc, argv, "--dir", "/tmp"), "recfix");

  std::printf("bench_recfix: old-layout Standrd (6 fields, 108-byte records, 5 keys) to today's layout\n"
              "(3 fields, 44 bytes, 2 keys), each way from a fresh synced copy of the same file, each\n"
              "a fresh process; best of %d runs\n",
              kRounds);
  std::vector<SizeResult> results;
  for (uint64_t n : {small, big}) results.push_back(Measure(work, n));
  std::filesystem::remove_all(work);

  std::printf("\n%9s %9s | %8s | %8s %10s %10s | %8s %10s %10s | %13s %11s\n", "records", "file MiB", "copy s",
              "direct s", "rec/s", "peak KiB", "RECFIX s", "rec/s", "peak KiB", "RECFIX/direct", "RECFIX/copy");
  for (const SizeResult& r : results) {
    const double n = static_cast<double>(r.records);
    std::printf("%9llu %9.1f | %8.2f | %8.2f %10.0f %10ld | %8.2f %10.0f %10ld | %13.2f %11.2f\n",
                static_cast<unsigned long long>(r.records), r.fileMiB, r.copy.seconds, r.direct.seconds,
                n / r.direct.seconds, r.direct.peakKb, r.recfix.seconds, n / r.recfix.seconds, r.recfix.peakKb,
                r.recfix.seconds / r.direct.seconds, r.recfix.seconds / r.copy.seconds);
  }
  const SizeResult &a = results.front(), &b = results.back();
  std::printf("\npeak memory from %llu to %llu records: RECFIX %.2fx, direct %.2fx\n"
              "(the engine's page cache is bounded at 8 MiB per connection, RECFIX has two: the old\n"
              " file and the new one; a small file does not fill them, a large one only fills them)\n"
              "this program's own peak memory, the floor under the figures above: %ld KiB\n",
              static_cast<unsigned long long>(a.records), static_cast<unsigned long long>(b.records),
              static_cast<double>(b.recfix.peakKb) / static_cast<double>(a.recfix.peakKb),
              static_cast<double>(b.direct.peakKb) / static_cast<double>(a.direct.peakKb), bench::PeakKb());
  return 0;
}
