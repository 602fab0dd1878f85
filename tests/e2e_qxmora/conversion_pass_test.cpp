// qxmora's check-and-convert pass, end to end: the real program started on a directory
// (batch mode), converting with the real RECFIX, what it leaves in the directory, and the
// windows it showed on the way.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/store/stored_layout.h"
#include "tests/e2e_qxmora/qxmora_run.h"

namespace qx::testing {
namespace {

const std::vector<std::string> kDemoNames = {"Encrypt.TPS", "Standrd.TPS", "VeryLong.TPS", "variable.tps"};

// The windows a run opened and closed, in order ("open $ZELTWELCOME"), up to its "end",
// read from the channel's log: the welcome and key windows are open only for a moment,
// and the program ends by itself. Empty when the end was not seen.
std::vector<std::string> WindowsUpToTheEnd(ProgramRun& run) {
  const nlohmann::json end = run.WaitFor({{"log", "end"}}, 30000);
  if (!end.is_object()) return {};
  std::vector<std::string> shown;
  for (const nlohmann::json& e : end["log"]) {
    const std::string what = e["what"];
    if (what == "open" || what == "close") shown.push_back(what + " " + e["label"].get<std::string>());
    if (what == "end") shown.push_back("end " + e["detail"].get<std::string>());
  }
  return shown;
}

// The welcome window shown and closed before the frame opens (its opening runs the pass),
// then the key window once per converted file, then the frame's close and the end.
std::vector<std::string> BatchWindows(int converted) {
  std::vector<std::string> w = {"open $ZELTWELCOME", "close $ZELTWELCOME", "open P1$APPFRAME"};
  for (int i = 0; i < converted; ++i) {
    w.push_back("open $ZELTKEYWIN");
    w.push_back("close $ZELTKEYWIN");
  }
  w.push_back("close P1$APPFRAME");
  w.push_back("end 0");
  return w;
}

TEST(ConversionPass, FourOldFilesAreConvertedInPlaceAndTheProgramEndsByItself) {
  TempDir dir;
  WriteOldFiles(dir.path(), SampleCustomers());
  DirectoryWatch watch(dir.path());
  auto run = StartQxmora({dir.path()});
  ASSERT_TRUE(run);
  EXPECT_EQ(WindowsUpToTheEnd(*run), BatchWindows(4));
  ASSERT_EQ(run->WaitForExit(30000), 0) << run->Stderr();

  for (const DataFile& f : kDataFiles) ExpectConverted(dir.path(), *f.decl, SampleCustomers());
  StoredLayout stored;
  EXPECT_NE(ReadStoredLayout(dir / "Encrypt.TPS", "", &stored), 0) << "Encrypt stays enciphered";
  // Only the data files, under the names they had; no VHtemp, example or work file.
  EXPECT_EQ(Names(dir.path()), kDemoNames);
  const std::vector<std::string> events = watch.Events();
  EXPECT_EQ(Occurrences(events, "+VHtemp"), 1) << "one temporary directory for the whole pass";
  EXPECT_EQ(Occurrences(events, "-VHtemp"), 1);
  for (const char* example : {"+STANDRD.tpe", "+ENCRYPT.tpe", "+VERYLONG.tpe", "+variable.tpe"}) {
    EXPECT_EQ(Occurrences(events, example), 1) << example;
  }
  EXPECT_TRUE(Names(run->directory()).empty()) << "the start directory is not touched";
}

TEST(ConversionPass, FilesThatAreCurrentAreOnlyOpenedAndClosed) {
  TempDir dir;
  {
    ScopedChdir in(dir.path());
    for (const DataFile& f : kDataFiles) ASSERT_EQ(WriteFile(*f.decl, SampleCustomers()), 0);
  }
  std::vector<std::string> bytes;
  for (const std::string& n : Names(dir.path())) bytes.push_back(FileBytes(dir / n));
  DirectoryWatch watch(dir.path());
  auto run = StartQxmora({dir.path()});
  ASSERT_TRUE(run);
  EXPECT_EQ(WindowsUpToTheEnd(*run), BatchWindows(0)) << "no key window";
  ASSERT_EQ(run->WaitForExit(30000), 0) << run->Stderr();

  EXPECT_TRUE(watch.Events().empty()) << "no VHtemp made or removed, nothing created";
  std::vector<std::string> after;
  for (const std::string& n : Names(dir.path())) after.push_back(FileBytes(dir / n));
  EXPECT_EQ(after, bytes);
}

TEST(ConversionPass, MissingAndLockedFilesAreLeftAloneWhileTwoOthersConvert) {
  TempDir dir;
  for (OldFile kind : {OldFile::kStandrd, OldFile::kVeryLong, OldFile::kVarname}) {
    ASSERT_EQ(WriteOldFile(kind, dir / DemoFileName(kind), SampleCustomers()), 0);
  }
  // Encrypt is missing; variable.tps is held by another opener, this test.
  auto holder = OldDecl(OldFile::kVarname, dir / "variable.tps");
  OPEN(*holder, 0x42);
  ASSERT_EQ(RtErrorCode(), 0);
  LOCK(*holder);
  ASSERT_EQ(RtErrorCode(), 0);
  const std::string heldBytes = FileBytes(dir / "variable.tps");
  DirectoryWatch watch(dir.path());

  auto run = StartQxmora({dir.path()});
  ASSERT_TRUE(run);
  ASSERT_EQ(run->WaitForExit(30000), 0) << run->Stderr();
  CLOSE(*holder);

  ExpectConverted(dir.path(), Standrd, SampleCustomers());
  ExpectConverted(dir.path(), VeryLongName, SampleCustomers());
  EXPECT_EQ(OpenCode(dir.path(), Encrypt), kFileNotFound) << "a missing file is not created";
  EXPECT_EQ(FileBytes(dir / "variable.tps"), heldBytes);
  EXPECT_EQ(OpenCode(dir.path(), Varname), kInvalidRecordDeclaration) << "still the old layout, for the next pass";
  EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"Standrd.TPS", "VeryLong.TPS", "variable.tps"}));
  const std::vector<std::string> events = watch.Events();
  EXPECT_EQ(Occurrences(events, "+VHtemp"), 1) << "the second conversion finds VHtemp there";
  EXPECT_EQ(Occurrences(events, "-VHtemp"), 1) << "removed once, after the fourth file";
}

TEST(ConversionPass, AStaleTemporaryDirectoryIsWorkedInAndRemovedOnlyWhenEmpty) {
  struct Case {
    const char* what;
    const char* leftover;  // a file an interrupted pass left in VHtemp; none when null
  } cases[] = {{"empty", nullptr}, {"with a leftover file", "leftover.tmp"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    ASSERT_EQ(WriteOldFile(OldFile::kStandrd, dir / "Standrd.TPS", SampleCustomers()), 0);
    std::filesystem::create_directory(dir / "VHtemp");
    if (c.leftover) WriteBytes(dir / "VHtemp/" + c.leftover, "from an earlier run");

    auto run = StartQxmora({dir.path()});
    ASSERT_TRUE(run);
    ASSERT_EQ(run->WaitForExit(30000), 0) << run->Stderr();

    ExpectConverted(dir.path(), Standrd, SampleCustomers());
    if (c.leftover) {
      EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"Standrd.TPS", "VHtemp"}));
      EXPECT_EQ(Names(dir / "VHtemp"), std::vector<std::string>{c.leftover});
    } else {
      EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"Standrd.TPS"});
    }
  }
}

TEST(ConversionPass, AQuotedDirectoryWithBlanksIsTakenWholeAnUnquotedOneIsCutAtTheBlank) {
  struct Case {
    const char* what;
    std::vector<std::string> words;  // after the base directory's path
    const char* converted;           // the directory the pass worked in
    const char* untouched;
  } cases[] = {
      // One argument: the runtime quotes it in the command line it keeps.
      {"quoted", {"/D with blanks"}, "D with blanks", "D"},
      // As a shell passes an unquoted name: three words, of which the first is used.
      {"unquoted", {"/D", "with", "blanks"}, "D", "D with blanks"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir base;
    for (const char* sub : {"D with blanks", "D"}) {
      std::filesystem::create_directory(base / sub);
      ASSERT_EQ(WriteOldFile(OldFile::kStandrd, base / sub + "/Standrd.TPS", SampleCustomers()), 0);
    }
    const std::string untouchedBytes = FileBytes(base / c.untouched + "/Standrd.TPS");
    std::vector<std::string> args = c.words;
    args[0] = base.path() + args[0];

    auto run = StartQxmora(args);
    ASSERT_TRUE(run);
    ASSERT_EQ(run->WaitForExit(30000), 0) << "the directory was entered: batch mode";

    ExpectConverted(base / c.converted, Standrd, SampleCustomers());
    EXPECT_EQ(FileBytes(base / c.untouched + "/Standrd.TPS"), untouchedBytes);
  }
}

}  // namespace
}  // namespace qx::testing
