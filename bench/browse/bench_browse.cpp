// Benchmark of qxmora's browse on large Standrd files: the browse procedure itself, run
// in-process (no view: windows count as drawn at once) inside qxmora's frame, served
// event by event as its loop would, on files of 10,000 and 1,000,000 records.
//
// For each size it times, in microseconds per action, the browse's page sequence in its
// name order (11 rows a page):
//   open         the browse started and its opening events served (first page, stops,
//                the refresh on gaining the focus), then closed again
//   PageDown     the PageDown key
//   thumb 50     the thumb dropped at 50 (the page at stop 50)
//   End          the End key (the last page)
//   typed        a character typed that locates ("M" and "D" in turn)
// beside a baseline of the same reads done directly with the store's operations in the
// same run (a page: RESETkey or SETkey/SETkeykey, then 11 NEXT or PREVIOUS bracketed by
// QUICKSCAN; opening: OPEN, the first page, the first and the last record, CLOSE), and
// their ratio. Each size runs in a child process of its own, whose peak memory is printed.
//
// Usage: bench_browse [--small N] [--records N] [--dir D]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/support/bench_support.h"
#include "bench/support/standrd_records.h"
#include "demo/browse.h"
#include "demo/data_files.h"
#include "demo/program_module.h"
#include "demo/scroll_bar_stops.h"
#include "demo/update_forms.h"
#include "runtime/win/presentation.h"
#include "runtime/win/view_input.h"
#include "runtime/win/win.h"

namespace qx {

// The benchmark changes nothing: its update forms answer "cancelled".
void UpdateStandrd() { CurrentResponse = 2; }
void UpdateEncrypt() { CurrentResponse = 2; }
void UpdateVeryLongName() { CurrentResponse = 2; }
void UpdateVarname() { CurrentResponse = 2; }

}  // namespace qx

namespace {

using namespace qx;
using bench::Clock;
using bench::Microseconds;

constexpr int kPage = 11;                  // the rows Standrd's list shows
constexpr LONG kSettleEvent = 0x4F00;      // no window uses it

// Ends the run when the last statement failed.
void Check(const char* what) {
  if (RtErrorCode() == 0) return;
  std::fprintf(stderr, "bench_browse: %s failed with %d (%s)\n", what, RtErrorCode(), RtPushFileErrorText().c_str());
  std::exit(1);
}

// STANDRD.TPS in the current directory with n records, filled in bulk.
void Fill(uint64_t n) {
  CREATE(Standrd);
  Check("CREATE");
  OPEN(Standrd, 0x12);
  Check("OPEN");
  LOGOUT(10, Standrd);
  Check("LOGOUT");
  for (uint64_t i = 0; i < n; ++i) {
    bench::MakeStandrdRecord(i, &STD());
    APPEND(Standrd);
    Check("APPEND");
  }
  COMMIT();
  Check("COMMIT");
  BUILDfile(Standrd);
  Check("BUILDfile");
  CLOSE(Standrd);
}

// Serves every waiting event of the browse and those they post.
void Settle(BrowseProcedure& b) {
  for (;;) {
    RtPost(kSettleEvent, 0, 0, 0);
    int served = 0;
    for (LONG e; (e = b.ServeEvent()) != kSettleEvent; ++served) {
      if (e == 0) return;
    }
    if (served == 0) return;
  }
}

LONG BrowseWindowId() {
  for (const WindowPresentation& w : ReadPresentation().windows) {
    if (w.label == kBrowseWindowLabel) return w.id;
  }
  return 0;
}

// One page read directly: `reads` NEXT (or PREVIOUS) bracketed by QUICKSCAN.
void DirectPage(bool forward) {
  SEND(Standrd, "QUICKSCAN=on");
  for (int i = 0; i < kPage; ++i) {
    if (forward) NEXT(Standrd);
    else PREVIOUS(Standrd);
  }
  SEND(Standrd, "QUICKSCAN=off");
}

struct Figures {
  double browse[5], store[5];
};
const char* kActions[5] = {"open (first page)", "PageDown", "thumb 50", "End", "typed locate"};

Figures Measure(uint64_t n) {
  Figures f{};
  const int reps = 50, pages = n >= 1000000 ? 400 : 200;
  ProgramThreadScope main;
  WindowRef frame;
  STRING<255> frameText;
  RtNewAppFrame(frame, "qxmora$qxd001", "P1$APPFRAME", {frameText});
  RtOpenWindow(frame);

  // The browse.
  {
    auto t0 = Clock::now();
    for (int i = 0; i < reps; ++i) {
      BrowseProcedure b(StandrdBrowse());
      b.Start();
      Settle(b);
      b.Finish();
    }
    f.browse[0] = Microseconds(t0, Clock::now()) / reps;

    BrowseProcedure b(StandrdBrowse());
    b.Start();
    Settle(b);
    const LONG w = BrowseWindowId();
    auto timed = [&](int count, auto act) {
      const auto a = Clock::now();
      for (int i = 0; i < count; ++i) {
        act(i);
        Settle(b);
      }
      return Microseconds(a, Clock::now()) / count;
    };
    f.browse[1] = timed(pages, [&](int) { ViewInput::Key(w, kBrowseListField, kKeyPageDown, 0); });
    f.browse[2] = timed(reps, [&](int) { ViewInput::Thumb(w, kBrowseListField, 50); });
    f.browse[3] = timed(reps, [&](int) { ViewInput::Key(w, kBrowseListField, kKeyEnd, 0); });
    f.browse[4] = timed(reps, [&](int i) {
      const char c = i % 2 == 0 ? 'M' : 'D';
      ViewInput::Key(w, kBrowseListField, kKeyShiftBit | c, c);
    });
    b.Finish();
  }

  // The same reads with the store's operations.
  Key& byName = STD_ByName;
  {
    auto t0 = Clock::now();
    for (int i = 0; i < reps; ++i) {
      OPEN(Standrd, 0x42);
      SETkey(byName);
      DirectPage(true);
      SETkey(byName);
      PREVIOUS(Standrd);
      SETkey(byName);
      NEXT(Standrd);
      CLOSE(Standrd);
    }
    f.store[0] = Microseconds(t0, Clock::now()) / reps;

    OPEN(Standrd, 0x42);
    SETkey(byName);
    DirectPage(true);
    std::string last = POSITIONkey(byName);
    auto a = Clock::now();
    for (int i = 0; i < pages; ++i) {
      RESETkey(byName, last);
      NEXT(Standrd);  // the row shown, then the page below it
      DirectPage(true);
      last = POSITIONkey(byName);
    }
    f.store[1] = Microseconds(a, Clock::now()) / pages;

    // Stop 50 of the name order, as the browse computes it.
    SETkey(byName);
    PREVIOUS(Standrd);
    const STRING<20> high = STD().NAME;
    SETkey(byName);
    NEXT(Standrd);
    InitTextStops(STD().NAME.view(), high.view(), 20, kStopUpperLetters, 0);
    STRING<20> stop50;
    for (int i = 1; i <= 50; ++i) stop50 = NextTextStop();
    auto locate = [&](const STRING<20>& value) {
      STD().NAME = value;
      SETkeykey(byName, byName);
      NEXT(Standrd);
      RESETkey(byName, POSITIONkey(byName));
      DirectPage(true);
    };
    a = Clock::now();
    for (int i = 0; i < reps; ++i) locate(stop50);
    f.store[2] = Microseconds(a, Clock::now()) / reps;
    a = Clock::now();
    for (int i = 0; i < reps; ++i) {
      SETkey(byName);
      DirectPage(false);
    }
    f.store[3] = Microseconds(a, Clock::now()) / reps;
    a = Clock::now();
    for (int i = 0; i < reps; ++i) locate(i % 2 == 0 ? "M" : "D");
    f.store[4] = Microseconds(a, Clock::now()) / reps;
    CLOSE(Standrd);
  }
  RtDisposeWindow(frame);
  return f;
}

// The figures of one size and the peak memory of its run, filling included.
struct SizeRun {
  Figures f;
  long peak;
};

// Fills a file of n records in a directory of its own and measures it (in a child process
// of its own).
SizeRun MeasureSize(const std::string& dir, uint64_t n) {
  const std::string work = dir + "/size" + std::to_string(n);
  std::filesystem::create_directories(work);
  std::filesystem::current_path(work);
  Fill(n);
  SizeRun r{Measure(n), 0};
  r.peak = bench::PeakKb();
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  uint64_t small = bench::NumberFlag(argc, argv, "--small", 10000), big = bench::NumberFlag(argc, argv, "--records", 1000000);
  if (small < 1000) small = 1000;
  if (big < small) big = small;
  const std::string work = bench::MakeWorkDirectory(bench::Flag(argc, argv, "--dir", "/tmp"), "browse");
  const uint64_t sizes[2] = {small, big};
  Figures figures[2];
  long peak[2];
  for (int s = 0; s < 2; ++s) {
    SizeRun run{};
    const bool ran = bench::RunInChild<SizeRun>([&] { return MeasureSize(work, sizes[s]); }, &run);
    figures[s] = run.f;
    peak[s] = run.peak;
    if (!ran) {
      std::fprintf(stderr, "bench_browse: the run for %llu records failed\n", static_cast<unsigned long long>(sizes[s]));
      std::filesystem::remove_all(work);
      return 1;
    }
  }
  std::printf("bench_browse: BrowseStandrd in its name order, %d rows a page, served in-process\n", kPage);
  std::printf("microseconds per action; store = the same reads with the store's operations; ratio = browse / store\n\n");
  std::printf("%-20s |", "action");
  for (uint64_t n : sizes) std::printf(" %28s |", (std::to_string(n) + " records").c_str());
  std::printf("\n%-20s |", "");
  for (int s = 0; s < 2; ++s) std::printf(" %9s %9s %8s |", "browse", "store", "ratio");
  std::printf("\n");
  for (int a = 0; a < 5; ++a) {
    std::printf("%-20s |", kActions[a]);
    for (int s = 0; s < 2; ++s) {
      const double b = figures[s].browse[a], d = figures[s].store[a];
      std::printf(" %9.1f %9.1f %8.2f |", b, d, d > 0 ? b / d : 0);
    }
    std::printf("\n");
  }
  std::printf("\nPeak memory of one size's run, filling included (getrusage, KiB): %llu records %ld, %llu records %ld\n",
              static_cast<unsigned long long>(small), peak[0], static_cast<unsigned long long>(big), peak[1]);
  std::filesystem::remove_all(work);
  return 0;
}
