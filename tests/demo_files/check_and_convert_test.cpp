// CheckAndConvertFile in-process: which files it leaves alone, how it calls RECFIX and
// what it gives it, what it clears away, the temporary directory that cannot be entered,
// and the numbering of ENC:SYSID.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "demo/check_and_convert.h"
#include "demo/data_files.h"
#include "runtime/store/stored_layout.h"
#include "runtime/sys/directories.h"
#include "runtime/sys/error_state.h"
#include "runtime/sys/paths.h"
#include "runtime/win/threads.h"
#include "tests/demo_files/fake_recfix.h"
#include "tests/demo_files/fixtures.h"

namespace qx {
namespace {

using testing::Customer;
using testing::FakeRecfix;
using testing::Names;
using testing::OldFile;
using testing::ScopedChdir;
using testing::TempDir;

// The caller's side of a pass: the conversion variables, as a frame holds them.
struct Pass {
  STRING<32> OwnerText, TempDirName;
  STRING<255> FileNameText, BaseNameText, CurrentDir;
  CSTRING<256> TempDirPath;
  LONG ConversionDone = 0;
  ConversionVariables vars{OwnerText, TempDirName, FileNameText, BaseNameText, CurrentDir, TempDirPath, ConversionDone};
};

std::string Cwd() {
  char buf[4096];
  return ::getcwd(buf, sizeof buf) ? buf : "";
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

class CheckAndConvert : public ::testing::Test {
 protected:
  ProgramThreadScope thread_;  // RtRun and the windows act for a program thread
  TempDir dir_, notes_;
  ScopedChdir in_{dir_.path()};
};

TEST_F(CheckAndConvert, AFileThatOpensOrIsMissingIsLeftAlone) {
  struct Case {
    const char* what;
    bool current;  // a file of today's layout is there; otherwise none
  } cases[] = {{"current", true}, {"missing", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(dir_ / "STANDRD.TPS");
    if (c.current) {
      ASSERT_EQ(testing::WriteFile(Standrd, testing::SampleCustomers()), 0);
    }
    const std::string bytes = testing::FileBytes(dir_ / "STANDRD.TPS");
    FakeRecfix recfix(dir_.path(), notes_.path());
    const std::vector<std::string> withRecfix = Names(dir_.path());
    testing::DirectoryWatch watch(dir_.path());
    Pass pass;
    CheckAndConvertFile(Standrd, pass.vars);
    EXPECT_TRUE(watch.Events().empty()) << "nothing made, not even for a moment";
    EXPECT_EQ(Names(dir_.path()), withRecfix);
    EXPECT_EQ(testing::FileBytes(dir_ / "STANDRD.TPS"), bytes);
    EXPECT_EQ(pass.ConversionDone, 0);
    EXPECT_TRUE(recfix.Commands().empty());
    OPEN(Standrd, 0x22);
    EXPECT_EQ(RtErrorCode(), c.current ? kNoError : kFileNotFound) << "closed again, not left open (52)";
    CLOSE(Standrd);
    std::filesystem::remove(dir_ / "RECFIX");
  }
}

TEST_F(CheckAndConvert, AnOldFileGoesToRecfixWithAFreshExampleOfTheDeclaredLayout) {
  const STRING<256> savedName = VarnameFileName;
  struct Case {
    FileDecl* file;
    OldFile old;
    const char* dataFile;  // as the old file is named on disk
    const char* varnameFileName;  // for Varname: the name it is declared with
    const char* commandLine;
    const char* example;
  } cases[] = {
      {&Standrd, OldFile::kStandrd, "Standrd.TPS", nullptr, "RECFIX STANDRD.tps? /K /E:STANDRD.tpe? /A", "STANDRD.tpe"},
      {&Encrypt, OldFile::kEncrypt, "Encrypt.TPS", nullptr, "RECFIX ENCRYPT.tps?xk /K /E:ENCRYPT.tpe?xk /A",
       "ENCRYPT.tpe"},
      {&VeryLongName, OldFile::kVeryLong, "VERYLONG.TPS", nullptr, "RECFIX VERYLONG.tps? /K /E:VERYLONG.tpe? /A",
       "VERYLONG.tpe"},
      {&Varname, OldFile::kVarname, "variable.tps", nullptr, "RECFIX variable.tps? /K /E:variable.tpe? /A",
       "variable.tpe"},
      // The base name ends at the first ".", so a name that begins with one has none.
      {&Varname, OldFile::kVarname, ".var.old", ".var.old", "RECFIX .var.old? /K /E:.tpe? /A", ".tpe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commandLine);
    TempDir work, notes;
    ScopedChdir in(work.path());
    if (c.varnameFileName) VarnameFileName = c.varnameFileName;
    ASSERT_EQ(testing::WriteOldFile(c.old, work / c.dataFile, testing::SampleCustomers()), 0);
    // A stale example file of the same name is replaced by the fresh one.
    testing::WriteBytes(work / c.example, "stale example");
    const std::string bytes = testing::FileBytes(work / c.dataFile);
    FakeRecfix recfix(work.path(), notes.path());

    Pass pass;
    CheckAndConvertFile(*c.file, pass.vars);

    EXPECT_EQ(recfix.Commands(), std::vector<std::string>{c.commandLine});
    EXPECT_EQ(recfix.Directories(), std::vector<std::string>{work.path()}) << "RECFIX runs in the working directory";
    EXPECT_EQ(Cwd(), work.path());
    StoredLayout example;
    ASSERT_EQ(ReadStoredLayout(notes / c.example, c.file->owner(), &example), 0) << "RECFIX found the example file";
    EXPECT_EQ(example.layout.fields().size(), c.file->layout().fields().size());
    EXPECT_EQ(example.layout.length(), c.file->layout().length());
    EXPECT_EQ(example.keys.size(), c.file->keyCount());
    EXPECT_EQ(example.encrypted, c.file->attributes().encrypt);

    // The example and work files are gone; VHtemp stays, empty, for the caller.
    EXPECT_EQ(Names(work.path()), Sorted({c.dataFile, "RECFIX", "VHtemp"}));
    EXPECT_TRUE(Names(work / "VHtemp").empty());
    EXPECT_EQ(pass.ConversionDone, 1);
    EXPECT_EQ(pass.TempDirPath.str(), work.path() + "\\VHtemp");
    // This stand-in converts nothing: the file is as it was, and still of the old layout.
    EXPECT_EQ(testing::FileBytes(work / c.dataFile), bytes);
    OPEN(*c.file, 0x22);
    EXPECT_EQ(RtErrorCode(), kInvalidRecordDeclaration);
    VarnameFileName = savedName;
  }
}

TEST_F(CheckAndConvert, WorkFilesUnderTheBaseNameAreRemovedAndOthersKept) {
  ASSERT_EQ(testing::WriteOldFile(OldFile::kStandrd, dir_ / "STANDRD.TPS", testing::SampleCustomers()), 0);
  for (const char* name : {"STANDRD.tp1", "standrd.TP5", "STANDRD.tp9", "STANDRD.tp$", "STANDRD.tp0", "STANDRD.tpx",
                           "ENCRYPT.tp1", "STANDRD.tps.bak"}) {
    testing::WriteBytes(dir_ / name, "left by an earlier run");
  }
  FakeRecfix recfix(dir_.path(), notes_.path());
  Pass pass;
  CheckAndConvertFile(Standrd, pass.vars);
  EXPECT_EQ(Names(dir_.path()), (std::vector<std::string>{"ENCRYPT.tp1", "RECFIX", "STANDRD.TPS", "STANDRD.tp0",
                                                           "STANDRD.tps.bak", "STANDRD.tpx", "VHtemp"}));
}

TEST_F(CheckAndConvert, ATemporaryDirectoryThatCannotBeEnteredStopsTheConversionOfThatFile) {
  struct Case {
    const char* what;
    void (*make)(const std::string& vhtemp);
    bool needsUnprivileged;  // permissions do not bind root
  } cases[] = {
      {"a plain file", [](const std::string& p) { testing::WriteBytes(p, "not a directory"); }, false},
      {"a dangling link", [](const std::string& p) { std::filesystem::create_symlink(p + ".gone", p); }, false},
      {"a link to a file",
       [](const std::string& p) {
         testing::WriteBytes(p + ".file", "x");
         std::filesystem::create_symlink(p + ".file", p);
       },
       false},
      {"a link to another directory, whose files the conversion would replace",
       [](const std::string& p) {
         std::filesystem::create_directory(p + ".elsewhere");
         testing::WriteBytes(p + ".elsewhere/STANDRD.TPS", "someone else's data file");
         std::filesystem::create_directory_symlink(p + ".elsewhere", p);
       },
       false},
      {"a directory that cannot be searched",
       [](const std::string& p) {
         std::filesystem::create_directory(p);
         std::filesystem::permissions(p, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.needsUnprivileged && ::geteuid() == 0) continue;
    TempDir outer, notes;
    const std::string work = outer / "work";
    std::filesystem::create_directory(work);
    ScopedChdir in(work);
    ASSERT_EQ(testing::WriteOldFile(OldFile::kStandrd, work + "/STANDRD.TPS", testing::SampleCustomers()), 0);
    const std::string bytes = testing::FileBytes(work + "/STANDRD.TPS");
    c.make(work + "/VHtemp");
    FakeRecfix recfix(work, notes.path());
    const std::vector<std::string> before = Names(work), outerBefore = Names(outer.path());

    Pass pass;
    CheckAndConvertFile(Standrd, pass.vars);

    EXPECT_EQ(Cwd(), work);
    EXPECT_EQ(Names(work), before) << "no empty file, no example file";
    EXPECT_EQ(Names(outer.path()), outerBefore);
    EXPECT_EQ(testing::FileBytes(work + "/STANDRD.TPS"), bytes) << "the data file is untouched";
    EXPECT_TRUE(recfix.Commands().empty()) << "RECFIX is not started";
    OPEN(Standrd, 0x22);
    EXPECT_EQ(RtErrorCode(), kInvalidRecordDeclaration) << "the next pass tries again";
  }
}

TEST_F(CheckAndConvert, AWorkingDirectoryTooLongForItsVariablesIsNotConverted) {
  // TempDirPath holds 255 characters, CurrentDir 255: a working directory whose path,
  // followed by "/" and "VHtemp", is longer would be cut, and a directory under the cut
  // name (here, or in one of the directories above) made and, at the end of the pass,
  // removed, though it may be a user's own.
  struct Case {
    size_t length;   // of the working directory's path
    bool converted;  // its path, "/" and "VHtemp" fit 255 characters
  } cases[] = {{300, false}, {250, false}, {249, false}, {248, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    TempDir outer, notes;
    std::string work = std::filesystem::canonical(outer.path()).string();
    while (work.size() + 41 < c.length) work += "/" + std::string(40, 'd');
    work += "/" + std::string(c.length - work.size() - 1, 'w');
    ASSERT_EQ(work.size(), c.length);
    std::filesystem::create_directories(work);
    // The directory that the cut temporary path names, empty, as a user may have it.
    const std::string cut = (work + "/VHtemp").substr(0, 255);
    if (!c.converted) std::filesystem::create_directories(cut);
    auto tree = [&] {
      std::vector<std::string> all;
      for (const auto& e : std::filesystem::recursive_directory_iterator(outer.path())) all.push_back(e.path());
      std::sort(all.begin(), all.end());
      return all;
    };
    ScopedChdir in(work);
    ASSERT_EQ(testing::WriteOldFile(OldFile::kStandrd, work + "/STANDRD.TPS", testing::SampleCustomers()), 0);
    const std::string bytes = testing::FileBytes(work + "/STANDRD.TPS");
    FakeRecfix recfix(work, notes.path());
    const std::vector<std::string> before = tree();

    // The pass as the frames run it.
    Pass pass;
    CheckAndConvertFile(Standrd, pass.vars);
    if (pass.ConversionDone != 0) RtRemoveDirectory(pass.TempDirPath.view());

    EXPECT_EQ(Cwd(), work);
    EXPECT_EQ(recfix.Commands().size(), c.converted ? 1u : 0u);
    if (c.converted) {
      EXPECT_EQ(pass.TempDirPath.view(), work + "\\VHtemp");
      EXPECT_EQ(tree(), before) << "VHtemp made and removed, no work file left";
      continue;
    }
    EXPECT_EQ(pass.ConversionDone, 0) << "so the caller removes nothing";
    EXPECT_EQ(tree(), before) << "nothing made or removed in or above the working directory";
    EXPECT_TRUE(std::filesystem::is_directory(cut)) << "the user's directory stays";
    EXPECT_EQ(testing::FileBytes(work + "/STANDRD.TPS"), bytes);
  }
}

TEST_F(CheckAndConvert, RenumberingGivesEncryptSysIdsInRecordOrderAndKeepsTheRest) {
  std::vector<Customer> customers = testing::SampleCustomers();
  const LONG earlier[] = {7, 7, 0, -3, 2147483647, 1};
  for (size_t i = 0; i < customers.size(); ++i) customers[i].sysid = earlier[i % 6];
  ASSERT_EQ(testing::WriteFile(Encrypt, customers), 0);
  RenumberEncryptSysId();
  std::vector<Customer> read;
  ASSERT_EQ(testing::ReadFile(Encrypt, &read), 0);
  ASSERT_EQ(read.size(), customers.size());
  for (size_t i = 0; i < customers.size(); ++i) {
    Customer expected = testing::Project(customers[i], Encrypt.layout());
    expected.sysid = static_cast<LONG>(i) + 1;
    EXPECT_EQ(read[i], expected) << i;
  }
  OPEN(Encrypt, 0x22);
  EXPECT_EQ(RtErrorCode(), 0) << "closed again";
  CLOSE(Encrypt);

  // An empty file and a missing one: nothing to number, nothing made.
  ASSERT_EQ(testing::WriteFile(Encrypt, {}), 0);
  RenumberEncryptSysId();
  ASSERT_EQ(testing::ReadFile(Encrypt, &read), 0);
  EXPECT_TRUE(read.empty());
  std::filesystem::remove(dir_ / "ENCRYPT.TPS");
  RenumberEncryptSysId();
  EXPECT_TRUE(Names(dir_.path()).empty());
}

TEST_F(CheckAndConvert, RenumberingThatCannotHaveItsTransactionStillNumbersAndCommitsNothing) {
  // This thread runs a transaction of its own on Standrd, so the renumbering's LOGOUT
  // fails (56): its PUTs go one by one, and the other transaction is neither committed
  // nor ended by it.
  std::vector<Customer> customers = testing::SampleCustomers();
  for (Customer& c : customers) c.sysid = 99;
  ASSERT_EQ(testing::WriteFile(Encrypt, customers), 0);
  ASSERT_EQ(testing::WriteFile(Standrd, testing::SampleCustomers()), 0);
  OPEN(Standrd, 0x22);
  SETfile(Standrd);
  NEXT(Standrd);
  ASSERT_EQ(RtErrorCode(), kNoError);
  const std::string firstName(STD().NAME.clipped());
  LOGOUT(1, Standrd);
  ASSERT_EQ(RtErrorCode(), kNoError);
  STD().NAME = "Changed In Transaction";
  PUT(Standrd);
  ASSERT_EQ(RtErrorCode(), kNoError);

  RenumberEncryptSysId();

  ROLLBACK();
  EXPECT_EQ(RtErrorCode(), kNoError) << "the thread's own transaction was still running";
  CLOSE(Standrd);
  std::vector<Customer> read;
  ASSERT_EQ(testing::ReadFile(Standrd, &read), 0);
  ASSERT_FALSE(read.empty());
  EXPECT_EQ(read[0].name, firstName) << "rolled back, not committed by the renumbering";
  ASSERT_EQ(testing::ReadFile(Encrypt, &read), 0);
  ASSERT_EQ(read.size(), customers.size());
  for (size_t i = 0; i < read.size(); ++i) EXPECT_EQ(read[i].sysid, static_cast<LONG>(i) + 1) << i;
  // The file is left closed and usable: it opens, and a transaction can be had on it.
  OPEN(Encrypt, 0x22);
  EXPECT_EQ(RtErrorCode(), kNoError);
  LOGOUT(1, Encrypt);
  EXPECT_EQ(RtErrorCode(), kNoError);
  ROLLBACK();
  CLOSE(Encrypt);
}

}  // namespace
}  // namespace qx
