// RECFIX refusing: command lines that do not fit, data and example files it cannot use,
// a data file another program holds or has open, and a new key the records cannot fill.
// In every case the exit code is not 0, standard error says why, and the directory is
// exactly as before: every file byte for byte, no work file left.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>

#include "tests/recfix/old_files.h"
#include "tests/recfix/recfix_runner.h"
#include "tests/recfix/today_files.h"
#include "tools/demodata/customers.h"
#include "tools/demodata/data_writer.h"
#include "tools/demodata/old_layouts.h"

namespace qx::recfix_test {
namespace {

using demodata::OldFile;

// A directory as the caller leaves it for RECFIX: the old Standrd and Encrypt files and
// their examples.
class RefusalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto& customers = demodata::DemoCustomers();
    for (OldFile kind : {OldFile::kStandrd, OldFile::kEncrypt}) {
      auto old = demodata::MakeOldDecl(kind, dir_ / std::string(demodata::DemoFileName(kind)));
      ASSERT_EQ(demodata::WriteDataFile(*old, customers.size(), [&](uint64_t i) { return customers[i]; }), 0);
    }
    for (auto [today, name] : {std::pair{Today::kStandrd, "STANDRD.tpe"}, std::pair{Today::kEncrypt, "ENCRYPT.tpe"}}) {
      auto example = MakeTodayDecl(today, dir_ / name);
      CREATE(*example);
      ASSERT_EQ(RtErrorCode(), 0);
    }
  }

  // UNIQUE.tpe: today's Standrd with STD:ByID a key without duplicates, which the
  // demonstration customers cannot fill (two share CUSID 20).
  void MakeUniqueIdExample() {
    auto shape = MakeTodayDecl(Today::kStandrd, dir_ / "UNIQUE.tpe");
    std::vector<KeyDef> keys = shape->keyDefs();
    keys[1].dup = false;
    FileDecl example("Standrd", FileName(dir_ / "UNIQUE.tpe"), "STD", "", shape->attributes(), shape->layout(), keys);
    CREATE(example);
    ASSERT_EQ(RtErrorCode(), 0);
  }

  // Every file of the directory with its bytes.
  std::map<std::string, std::string> Snapshot() const {
    std::map<std::string, std::string> files;
    for (const std::string& name : dir_.Names()) files[name] = FileBytes(dir_ / name);
    return files;
  }

  // Runs RECFIX and checks that it refused and changed nothing.
  void ExpectRefusal(const std::vector<std::string>& words, int exitCode, const std::string& said) {
    const std::map<std::string, std::string> before = Snapshot();
    const RunResult run = RunRecfix(dir_.path(), words);
    EXPECT_EQ(run.exitCode, exitCode) << run.stderrText;
    EXPECT_NE(run.stderrText.find(said), std::string::npos) << "expected \"" << said << "\" in:\n" << run.stderrText;
    const std::map<std::string, std::string> after = Snapshot();
    EXPECT_EQ(after.size(), before.size()) << "files came or went";
    for (const auto& [name, bytes] : before) {
      const auto it = after.find(name);
      EXPECT_TRUE(it != after.end() && it->second == bytes) << name << " changed";
    }
  }

  TempDir dir_;
};

TEST_F(RefusalTest, CommandLinesThatDoNotFit) {
  struct Case {
    std::vector<std::string> words;
    const char* said;
  };
  const Case cases[] = {
      {{}, "no data file"},
      {{"STANDRD.tps?"}, "missing"},
      {{"STANDRD.tps?", "/K", "/A"}, "(/E:) is missing"},
      {{"STANDRD.tps?", "/E:STANDRD.tpe?", "/A"}, "/K is missing"},
      {{"STANDRD.tps?", "/K", "/E:STANDRD.tpe?"}, "/A is missing"},
      {{"STANDRD.tps?", "/K", "/K", "/E:STANDRD.tpe?", "/A"}, "given twice"},
      {{"STANDRD.tps?", "/K", "/E:STANDRD.tpe?", "/E:ENCRYPT.tpe?", "/A"}, "given twice"},
      {{"STANDRD.tps?", "/K", "/E:STANDRD.tpe?", "/A", "/X"}, "unknown word \"/X\""},
      {{"STANDRD.tps?", "/K", "/E:STANDRD.tpe?", "/A", "extra"}, "unknown word"},
      {{"STANDRD.tps?", "/K", "/E:?", "/A"}, "example file's name is empty"},
      {{"?", "/K", "/E:STANDRD.tpe?", "/A"}, "data file's name is empty"},
      {{"STANDRD.tps?", "/K", "STANDRD.tpe?", "/A"}, "unknown word"},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& w : c.words) line += " " + w;
    SCOPED_TRACE("RECFIX" + line);
    ExpectRefusal(c.words, 2, c.said);
    ExpectRefusal(c.words, 2, "usage: RECFIX");
  }
}

TEST_F(RefusalTest, FilesItCannotUse) {
  std::ofstream(dir_ / "GARBAGE.tpe") << "this is not a data file";
  std::ofstream(dir_ / "GARBAGE.tps") << std::string(4096, 'x');
  struct Case {
    std::vector<std::string> words;
    const char* said;
  };
  const Case cases[] = {
      {{"MISSING.tps?", "/K", "/E:STANDRD.tpe?", "/A"}, "there is no such file"},
      {{"STANDRD.tps?", "/K", "/E:MISSING.tpe?", "/A"}, "example file MISSING.tpe cannot be read"},
      {{"NODIR\\STANDRD.tps?", "/K", "/E:STANDRD.tpe?", "/A"}, "directory does not exist"},
      {{"STANDRD.tps?", "/K", "/E:GARBAGE.tpe?", "/A"}, "not a data file"},
      {{"GARBAGE.tps?", "/K", "/E:STANDRD.tpe?", "/A"}, "not a data file"},
      {{"ENCRYPT.tps?xx", "/K", "/E:ENCRYPT.tpe?xk", "/A"}, "owner password is wrong"},
      {{"ENCRYPT.tps?", "/K", "/E:ENCRYPT.tpe?xk", "/A"}, "needs its owner password"},
      {{"ENCRYPT.tps?xk", "/K", "/E:ENCRYPT.tpe?", "/A"}, "needs its owner password"},
      {{"ENCRYPT.tps?xk", "/K", "/E:ENCRYPT.tpe?xy", "/A"}, "owner password is wrong"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words[0] + " " + c.words[2]);
    ExpectRefusal(c.words, 1, c.said);
  }
}

TEST_F(RefusalTest, DataFileInUseByAnotherOpener) {
  struct Case {
    const char* label;
    bool hold;  // LOCK after OPEN
    LONG mode;
    const char* said;
  };
  for (const Case& c : {Case{"held", true, 0x22, "holds it locked"}, Case{"open, denying nothing", false, 0x42, "has it open"},
                        Case{"open for reading only", false, 0x40, "has it open"}}) {
    SCOPED_TRACE(c.label);
    auto old = demodata::MakeOldDecl(OldFile::kStandrd, dir_ / "STANDRD");
    OPEN(*old, c.mode);
    ASSERT_EQ(RtErrorCode(), 0);
    if (c.hold) {
      LOCK(*old);
      ASSERT_EQ(RtErrorCode(), 0);
    }
    ExpectRefusal({"STANDRD.tps?", "/K", "/E:STANDRD.tpe?", "/A"}, 1, c.said);
    CLOSE(*old);
  }
}

// A key without duplicates in the example while two records share its value: the keys
// cannot be built, so the data file stays old and the half-made work file goes.
TEST_F(RefusalTest, NewKeyTheRecordsCannotFill) {
  ASSERT_NO_FATAL_FAILURE(MakeUniqueIdExample());
  ExpectRefusal({"STANDRD.tps?", "/K", "/E:UNIQUE.tpe?", "/A"}, 1, "keys of the new file cannot be built");
}

// The same failure on a data file whose keys must be rebuilt (a bulk fill that ended
// before its keys were built): its records are read as they are, so the failure leaves
// it byte for byte as it was, keys still unbuilt.
TEST_F(RefusalTest, DataFileWhoseKeysMustBeRebuiltStaysAsItWasOnFailure) {
  auto old = demodata::MakeOldDecl(OldFile::kStandrd, dir_ / "BULK");
  ASSERT_NO_FATAL_FAILURE(WriteWithKeysUnbuilt(*old));
  ASSERT_NO_FATAL_FAILURE(MakeUniqueIdExample());
  ExpectRefusal({"BULK.tps?", "/K", "/E:UNIQUE.tpe?", "/A"}, 1, "keys of the new file cannot be built");
  OPEN(*old, 0x22);
  EXPECT_EQ(RtErrorCode(), kKeyFileMustBeRebuilt);
}

}  // namespace
}  // namespace qx::recfix_test
