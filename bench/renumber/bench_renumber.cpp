// Benchmark of RenumberEncryptSysId, the numbering of ENC:SYSID that follows a conversion
// of Encrypt: the routine itself (the whole loop in one transaction) beside a baseline run
// in the same process on the same file, the same loop without a transaction (OPEN 22h,
// SETfile, NEXT and PUT until NEXT fails, CLOSE), where every PUT is its own write to disk.
// It prints the records per second of each and their ratio, for one file size.
//
// Usage: bench_renumber [--records N] [--dir D]
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/support/bench_support.h"
#include "demo/check_and_convert.h"
#include "demo/data_files.h"
#include "runtime/store/store.h"
#include "runtime/sys/error_state.h"

namespace {

using namespace qx;

// A fresh Encrypt of `n` records in the current directory, filled in one transaction.
bool MakeEncrypt(uint64_t n) {
  CREATE(Encrypt);
  OPEN(Encrypt, 0x22);
  LOGOUT(10, Encrypt);
  if (RtErrorCode() != kNoError) return false;
  for (uint64_t i = 0; i < n; ++i) {
    EncryptRecord& r = ENC();
    r.CUSID = static_cast<LONG>(i + 1);
    r.NAME = "Customer " + std::to_string(i % 9973);
    r.SUBURB = "Richmond";
    r.PHONE = "03 9428 " + std::to_string(1000 + i % 9000);
    r.STARTDATE = static_cast<LONG>(4 + i % 80000);
    r.SYSID = 0;
    ADD(Encrypt);
    if (RtErrorCode() != kNoError) return false;
  }
  COMMIT();
  CLOSE(Encrypt);
  return RtErrorCode() == kNoError;
}

// The loop without a transaction: every PUT written on its own.
void RenumberOneByOne() {
  OPEN(Encrypt, 0x22);
  LONG counter = 0;
  SETfile(Encrypt);
  for (;;) {
    NEXT(Encrypt);
    if (RtErrorCode() != kNoError) break;
    ENC().SYSID = ++counter;
    PUT(Encrypt);
  }
  CLOSE(Encrypt);
}

}  // namespace

int main(int argc, char** argv) {
  const uint64_t n = bench::NumberFlag(argc, argv, "--records", 2000);
  const std::string work = bench::MakeWorkDirectory(bench::Flag(argc, argv, "--dir", "/tmp"), "renumber");
  if (::chdir(work.c_str()) != 0 || !MakeEncrypt(n)) {
    std::fprintf(stderr, "bench_renumber: could not make Encrypt in %s\n", work.c_str());
    std::filesystem::remove_all(work);
    return 1;
  }
  const auto t0 = bench::Clock::now();
  RenumberOneByOne();
  const auto t1 = bench::Clock::now();
  RenumberEncryptSysId();
  const auto t2 = bench::Clock::now();
  const double oneByOne = bench::Seconds(t0, t1), framed = bench::Seconds(t1, t2);
  std::printf("bench_renumber: ENC:SYSID numbered over %llu Encrypt records\n\n", static_cast<unsigned long long>(n));
  std::printf("%-42s %14s\n", "", "records/second");
  std::printf("%-42s %14.0f\n", "RenumberEncryptSysId (one transaction)", n / framed);
  std::printf("%-42s %14.0f\n", "baseline: every PUT on its own", n / oneByOne);
  std::printf("%-42s %14.1f\n", "ratio (baseline time / routine time)", oneByOne / framed);
  if (::chdir("/") != 0) return 1;
  std::filesystem::remove_all(work);
  return 0;
}
