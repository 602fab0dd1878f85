// RECFIX interrupted and watched while it converts a large file: the data file is held
// against other openers throughout, and a kill at any moment leaves it wholly old or
// wholly new, always with all its records.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/recfix/recfix_runner.h"
#include "tests/recfix/today_files.h"
#include "tools/demodata/customers.h"
#include "tools/demodata/data_writer.h"
#include "tools/demodata/old_layouts.h"

namespace qx::recfix_test {
namespace {

using Clock = std::chrono::steady_clock;
using demodata::OldFile;

constexpr uint64_t kRecords = 30000;
const std::vector<std::string> kCommand = {"STANDRD.tps?", "/K", "/E:STANDRD.tpe?", "/A"};

// The record count and the sum of CUSIDs of the file under `decl`, read in record order;
// the error code of OPEN when it does not open.
struct Content {
  LONG openCode = 0;
  uint64_t records = 0;
  int64_t cusidSum = 0;
};

Content Read(FileDecl& decl) {
  Content c;
  OPEN(decl, 0x22);
  c.openCode = RtErrorCode();
  if (c.openCode != 0) return c;
  SEND(decl, "QUICKSCAN=on");
  SETfile(decl);
  LONG cusid;
  for (NEXT(decl); RtErrorCode() == 0; NEXT(decl)) {
    std::memcpy(&cusid, decl.RecordBuffer(), sizeof cusid);  // CUSID is the first field of both layouts
    ++c.records;
    c.cusidSum += cusid;
  }
  CLOSE(decl);
  return c;
}

class InterruptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto master = demodata::MakeOldDecl(OldFile::kStandrd, master_ / "Standrd.TPS");
    ASSERT_EQ(demodata::WriteDataFile(*master, kRecords, demodata::GeneratedCustomer), 0);
    for (uint64_t i = 0; i < kRecords; ++i) expectedSum_ += demodata::GeneratedCustomer(i).cusid;
    auto example = MakeTodayDecl(Today::kStandrd, dir_ / "STANDRD.tpe");
    CREATE(*example);
    ASSERT_EQ(RtErrorCode(), 0);
  }
  void FreshDataFile() {
    std::filesystem::copy_file(master_ / "Standrd.TPS", dir_ / "Standrd.TPS",
                               std::filesystem::copy_options::overwrite_existing);
  }
  bool Exists(const char* name) const { return std::filesystem::exists(dir_ / name); }
  // The names in the directory other than the data file, the example and the work-file
  // names the caller clears after a conversion.
  std::vector<std::string> NamesTheCallerLeaves() const {
    std::vector<std::string> out;
    for (const std::string& n : dir_.Names()) {
      if (n == "Standrd.TPS" || n == "STANDRD.tpe") continue;
      const bool workName = n.size() == 11 && n.compare(0, 10, "STANDRD.tp") == 0 &&
                            std::string("123456789$").find(n[10]) != std::string::npos;
      if (!workName) out.push_back(n);
    }
    return out;
  }

  TempDir master_, dir_;
  int64_t expectedSum_ = 0;
  std::unique_ptr<FileDecl> old_ = demodata::MakeOldDecl(OldFile::kStandrd, dir_ / "STANDRD");
  std::unique_ptr<FileDecl> today_ = MakeTodayDecl(Today::kStandrd, dir_ / "STANDRD");
};

// Caught while it builds the new file (stopped, so the moment cannot pass): every other
// opener finds the data file locked.
TEST_F(InterruptionTest, HoldsTheDataFileWhileItConverts) {
  FreshDataFile();
  RecfixProcess p(dir_.path(), kCommand);
  const auto deadline = Clock::now() + std::chrono::seconds(20);
  while (!Exists("STANDRD.tp1") && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::microseconds(200));
  p.Signal(SIGSTOP);
  ASSERT_TRUE(Exists("STANDRD.tp1")) << "the work file never appeared, or was already renamed";
  OPEN(*old_, 0x42);
  EXPECT_EQ(RtErrorCode(), kFileIsLocked);
  OPEN(*today_, 0x42);
  EXPECT_EQ(RtErrorCode(), kFileIsLocked);
  p.Signal(SIGCONT);
  p.Wait();
  ASSERT_EQ(p.exitCode(), 0) << p.stderrText();
  const Content c = Read(*today_);
  EXPECT_EQ(c.openCode, 0);
  EXPECT_EQ(c.records, kRecords);
}

TEST_F(InterruptionTest, KilledAtAnyMomentLeavesTheFileWholeOldOrWholeNew) {
  // How long a whole run takes here and now (the median of three); the kills are spread
  // over one and a half times that, so the last of them find it finishing or done.
  std::vector<Clock::duration> times;
  for (int i = 0; i < 3; ++i) {
    FreshDataFile();
    const auto t0 = Clock::now();
    const RunResult whole = RunRecfix(dir_.path(), kCommand);
    times.push_back(Clock::now() - t0);
    ASSERT_EQ(whole.exitCode, 0) << whole.stderrText;
  }
  std::sort(times.begin(), times.end());
  const auto runTime = times[1];

  constexpr int kKills = 24;
  int hitWhileRunning = 0, endedOld = 0, endedNew = 0;
  for (int i = 0; i < kKills; ++i) {
    const int sig = i % 4 == 3 ? SIGTERM : SIGKILL;
    const auto delay = runTime * 3 * (i + 1) / (2 * kKills);
    SCOPED_TRACE("signal " + std::to_string(sig) + " after " +
                 std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(delay).count()) + " us");
    FreshDataFile();
    RecfixProcess p(dir_.path(), kCommand);
    std::this_thread::sleep_for(delay);
    p.Signal(sig);
    p.Wait();
    if (p.signalled()) ++hitWhileRunning;

    const Content asOld = Read(*old_);
    const Content asNew = Read(*today_);
    if (asOld.openCode == 0) {
      ++endedOld;
      EXPECT_EQ(asNew.openCode, kInvalidRecordDeclaration);
      EXPECT_EQ(asOld.records, kRecords);
      EXPECT_EQ(asOld.cusidSum, expectedSum_);
      // A stop it could handle leaves no work file; a kill may, but only under a name the
      // caller clears (the work file keeps its journal in memory), and the next run
      // replaces it.
      if (sig == SIGTERM) {
        EXPECT_FALSE(Exists("STANDRD.tp1"));
      }
      EXPECT_EQ(NamesTheCallerLeaves(), std::vector<std::string>{});
    } else {
      ++endedNew;
      ASSERT_EQ(asNew.openCode, 0) << "neither layout opens: old " << asOld.openCode;
      EXPECT_EQ(asOld.openCode, kInvalidRecordDeclaration);
      EXPECT_EQ(asNew.records, kRecords);
      EXPECT_EQ(asNew.cusidSum, expectedSum_);
      EXPECT_FALSE(Exists("STANDRD.tp1"));
      EXPECT_EQ(NamesTheCallerLeaves(), std::vector<std::string>{});
    }
  }
  EXPECT_GE(hitWhileRunning, kKills / 4) << "too few kills landed while RECFIX ran";
  std::printf("kills landing while running: %d of %d; data file left old %d, new %d times\n", hitWhileRunning, kKills,
              endedOld, endedNew);

  // The caller clears the work-file names after each run; a journal beside a work-file
  // name (made here, as another program could leave one) does not survive the next
  // whole run, which converts and leaves nothing.
  for (const char* e : {".tpe", ".tp1", ".tp2", ".tp3", ".tp4", ".tp5", ".tp6", ".tp7", ".tp8", ".tp9", ".tp$"}) {
    if (std::string(e) != ".tpe") std::filesystem::remove(dir_ / (std::string("STANDRD") + e));
  }
  std::ofstream(dir_ / "STANDRD.tp1-journal") << "left by a killed run";
  FreshDataFile();
  const RunResult again = RunRecfix(dir_.path(), kCommand);
  ASSERT_EQ(again.exitCode, 0) << again.stderrText;
  const Content c = Read(*today_);
  EXPECT_EQ(c.records, kRecords);
  EXPECT_EQ(c.cusidSum, expectedSum_);
  EXPECT_EQ(dir_.Names(), (std::vector<std::string>{"STANDRD.tpe", "Standrd.TPS"}));
}

}  // namespace
}  // namespace qx::recfix_test
