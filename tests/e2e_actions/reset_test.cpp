// The reset: the four old-layout demonstration files of Orig copied over those of the
// start directory and of its Data sub-directory, each replacing the file it finds there
// whatever its letter case; a file that cannot be restored (its Orig copy missing, no
// Data) is left as it was, and the message then names it instead of reporting success.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "demo/data_files.h"
#include "tests/e2e_actions/frame_run.h"

namespace qx::testing {
namespace {

const char kResetText[] =
    "Data have been reset successfully\n"
    "To make sure they are \"Garblexed\", call any Browse.\n"
    "To cure them - restart this program and Quorvane\n"
    "Template will do the rest...";

const char kFailedHeading[] = "These demonstration files were not restored and are left as they were:";

// Presses the reset button and returns its message box once it is open (null if never).
json PressReset(FrameRun& frame) {
  if (!Ok(frame.Press("ResetDataButton"))) return nullptr;
  return frame.run().WaitFor({{"message", true}});
}

bool Answer(FrameRun& frame, const json& box) {
  return Ok(frame.run().Request({{"op", "answer"}, {"message", box["id"]}})) &&
         !frame.run().WaitFor({{"takes_input", kFrame}}).is_null();
}

void WriteStale(const std::string& path) { WriteBytes(path, "stale " + path); }

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The entries of `dir` that are `name` without regard to case.
std::vector<std::string> Spellings(const std::string& dir, const std::string& name) {
  std::vector<std::string> out;
  for (const std::string& n : Names(dir)) {
    if (Lower(n) == Lower(name)) out.push_back(n);
  }
  return out;
}

// The names of `dir` without regard to case, sorted.
std::vector<std::string> LowerNames(const std::string& dir) {
  std::vector<std::string> out;
  for (const std::string& n : Names(dir)) out.push_back(Lower(n));
  std::sort(out.begin(), out.end());
  return out;
}

// Expects each demonstration file in `dir` to be, under one spelling only, a copy of the
// one in `orig`; or, when `orig` lacks it, to be left as WriteStale wrote it (under the
// spelling of the table).
void ExpectCopiesOf(const std::string& orig, const std::string& dir) {
  SCOPED_TRACE(dir);
  for (const DemonstrationFile& f : kDemonstrationFiles) {
    const std::string source = orig + "/" + f.name;
    const std::vector<std::string> spellings = Spellings(dir, f.name);
    if (std::filesystem::exists(source)) {
      ASSERT_EQ(spellings.size(), 1u) << f.name << ": one file, not one beside the other";
      EXPECT_EQ(FileBytes(dir + "/" + spellings[0]), FileBytes(source)) << f.name;
    } else {
      const std::string path = dir + "/" + f.name;
      EXPECT_EQ(FileBytes(path), "stale " + path) << f.name << " left as it was";
    }
  }
}

TEST(Reset, CopiesOrigOverTheStartDirectoryAndDataAndLeavesVariableTpsAlone) {
  auto frame = FrameRun::Start();
  ASSERT_TRUE(frame);
  const std::string start = frame->directory();
  WriteOrig(start, SampleCustomers());
  std::filesystem::create_directory(start + "/Data");
  // Old copies under other letter cases: the store created "STANDRD.TPS"; each must be
  // replaced, not kept beside the new copy.
  for (const std::string& dir : {start, start + "/Data"}) {
    WriteStale(dir + "/STANDRD.TPS");
    WriteStale(dir + "/encrypt.tps");
    WriteStale(dir + "/VeryLong.TPS");
    WriteBytes(dir + "/variable.tps", "the program's own Varname file");
  }
  WriteStale(start + "/Data/Var.TPS");

  const json box = PressReset(*frame);
  ASSERT_TRUE(box.is_object()) << frame->run().Request({{"op", "messages"}}).dump() << frame->run().Stderr();
  EXPECT_EQ(box["text"], kResetText);
  EXPECT_EQ(box["caption"], "");
  EXPECT_EQ(box["buttons"], json::array({"OK"}));
  EXPECT_EQ(box["icon"], json({{"system", 32516}}));
  // The files are done before the message comes.
  const std::vector<std::string> names = {"encrypt.tps", "standrd.tps", "var.tps", "variable.tps", "verylong.tps"};
  for (const std::string& dir : {start, start + "/Data"}) {
    ExpectCopiesOf(start + "/Orig", dir);
    EXPECT_EQ(FileBytes(dir + "/variable.tps"), "the program's own Varname file");
  }
  EXPECT_EQ(Spellings(start, "Standrd.TPS"), std::vector<std::string>{"STANDRD.TPS"}) << "replaced in its place";
  EXPECT_EQ(LowerNames(start), std::vector<std::string>({"data", "encrypt.tps", "orig", "standrd.tps", "var.tps",
                                                         "variable.tps", "verylong.tps"}));
  EXPECT_EQ(LowerNames(start + "/Data"), names);
  ASSERT_TRUE(Answer(*frame, box));

  // The files are in their old layout again, which the next browse finds.
  ASSERT_TRUE(Ok(frame->Choose("BrowseStandrdItem")));
  const json invalid = frame->run().WaitFor({{"message", {{"caption", "Invalid File"}}}});
  ASSERT_TRUE(invalid.is_object()) << frame->run().Stderr();
  EXPECT_NE(invalid["text"].get<std::string>().find("(47)"), std::string::npos) << invalid.dump();
}

TEST(Reset, AFileThatCannotBeRestoredIsLeftAsItWasAndTheMessageNamesIt) {
  const std::vector<std::string> all = {"Encrypt.TPS", "Standrd.TPS", "Var.TPS", "VeryLong.TPS"};
  struct Case {
    const char* what;
    std::vector<std::string> orig;  // the files Orig holds; empty: no Orig at all
    bool data;                      // a Data sub-directory exists
    std::vector<std::string> lines; // what the message says after its heading
  } cases[] = {
      {"Orig lacks Standrd.TPS", {"Encrypt.TPS", "Var.TPS", "VeryLong.TPS"}, true,
       {"Standrd.TPS and Data/Standrd.TPS: Orig/Standrd.TPS is missing"}},
      {"no Orig",
       {},
       true,
       {"Encrypt.TPS and Data/Encrypt.TPS: Orig/Encrypt.TPS is missing",
        "Standrd.TPS and Data/Standrd.TPS: Orig/Standrd.TPS is missing",
        "Var.TPS and Data/Var.TPS: Orig/Var.TPS is missing",
        "VeryLong.TPS and Data/VeryLong.TPS: Orig/VeryLong.TPS is missing"}},
      {"no Data",
       all,
       false,
       {"Data/Encrypt.TPS: Path Not Found (3)", "Data/Standrd.TPS: Path Not Found (3)",
        "Data/Var.TPS: Path Not Found (3)", "Data/VeryLong.TPS: Path Not Found (3)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto frame = FrameRun::Start();
    ASSERT_TRUE(frame);
    const std::string start = frame->directory();
    if (!c.orig.empty()) {
      WriteOrig(start, SampleCustomers());
      for (const DemonstrationFile& f : kDemonstrationFiles) {
        if (std::find(c.orig.begin(), c.orig.end(), f.name) == c.orig.end()) {
          std::filesystem::remove(start + "/Orig/" + f.name);
        }
      }
    }
    if (c.data) std::filesystem::create_directory(start + "/Data");
    for (const DemonstrationFile& f : kDemonstrationFiles) {
      WriteStale(start + "/" + f.name);
      if (c.data) WriteStale(start + "/Data/" + f.name);
    }

    const json box = PressReset(*frame);
    ASSERT_TRUE(box.is_object()) << frame->run().Stderr();
    std::string text = kFailedHeading;
    for (const std::string& line : c.lines) text += "\n" + line;
    EXPECT_EQ(box["text"], text);
    EXPECT_EQ(box["caption"], "Reset Old Data Files");
    EXPECT_EQ(box["buttons"], json::array({"OK"}));
    EXPECT_EQ(box["icon"], json({{"system", 32515}}));
    ExpectCopiesOf(start + "/Orig", start);
    if (c.data) ExpectCopiesOf(start + "/Orig", start + "/Data");
    EXPECT_EQ(std::filesystem::exists(start + "/Data"), c.data) << "no directory is made";
    ASSERT_TRUE(Answer(*frame, box));
    ASSERT_TRUE(Ok(frame->Press("FrameCloseButton")));
    EXPECT_EQ(frame->run().WaitForExit(), 0);
  }
}

TEST(Reset, ABrowseHoldingAFileOpenDoesNotKeepItFromBeingReplaced) {
  ProgramRun::Options options;
  options.files = {CurrentFile(Standrd, SampleCustomers())};  // "STANDRD.TPS"
  auto frame = FrameRun::Start(options);
  ASSERT_TRUE(frame);
  const std::string start = frame->directory();
  WriteOrig(start, SampleCustomers());
  std::filesystem::create_directory(start + "/Data");
  ASSERT_TRUE(frame->OpenBrowse(kBrowseItems[0]).is_object()) << frame->run().Stderr();

  const json box = PressReset(*frame);
  ASSERT_TRUE(box.is_object()) << frame->run().Stderr();
  EXPECT_EQ(box["text"], kResetText);
  // The frame did not wait for the browse: it holds the file while the box is open, and
  // only then takes the close request.
  ASSERT_TRUE(frame->UntilChildren([](const std::vector<json>& c) { return c.empty(); }));
  for (const std::string& dir : {start, start + "/Data"}) {
    ExpectCopiesOf(start + "/Orig", dir);
  }
  EXPECT_EQ(LowerNames(start + "/Data"), std::vector<std::string>({"encrypt.tps", "standrd.tps", "var.tps",
                                                                   "verylong.tps"}));
  EXPECT_EQ(LowerNames(start), std::vector<std::string>({"data", "encrypt.tps", "orig", "standrd.tps", "var.tps",
                                                         "verylong.tps"}))
      << "the browse's closing leaves the new copy as it is";
  ASSERT_TRUE(Answer(*frame, box));
  ASSERT_TRUE(Ok(frame->Press("FrameCloseButton")));
  EXPECT_EQ(frame->run().WaitForExit(), 0);
}

TEST(Reset, RestoresTheStartDirectoryWhereverTheWorkingDirectoryPoints) {
  auto frame = FrameRun::Start();
  ASSERT_TRUE(frame);
  const std::string start = frame->directory();
  WriteOrig(start, SampleCustomers());
  std::filesystem::create_directory(start + "/Data");
  // Were the reset to work in the working directory, it would take these.
  WriteOrig(start + "/Data", {SampleCustomers().front()});
  std::filesystem::create_directory(start + "/Data/Data");
  ASSERT_TRUE(Ok(frame->Press("SetDataPathButton")));
  ASSERT_TRUE(frame->UntilToolbar(start + "/Data"));

  const json box = PressReset(*frame);
  ASSERT_TRUE(box.is_object()) << frame->run().Stderr();
  EXPECT_EQ(box["text"], kResetText);
  ExpectCopiesOf(start + "/Orig", start);
  ExpectCopiesOf(start + "/Orig", start + "/Data");
  EXPECT_TRUE(Names(start + "/Data/Data").empty());
  ASSERT_TRUE(Answer(*frame, box));
  EXPECT_EQ(frame->Toolbar(), start + "/Data") << "the working directory stays";
}

// A directory whose full path is longer than the 255 characters the frame's toolbar
// shows, made so that those first 255 characters are the path of its parent followed by
// "/": cut there, the path names the parent.
struct LongDirectory {
  LongDirectory() {
    const std::string root = std::filesystem::canonical(base.path()).string() + "/";
    parent = root + std::string(254 - root.size(), 'x');
    full = parent + "/" + std::string(60, 'y');
    std::filesystem::create_directories(full);
  }
  TempDir base;
  std::string full, parent;
};

TEST(Reset, AStartDirectoryLongerThanTheToolbarShowsIsRestoredInFull) {
  LongDirectory dir;
  auto frame = FrameRun::StartIn(dir.full);
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->Toolbar(), dir.parent + "/") << "the toolbar shows 255 characters";
  WriteOrig(dir.full, SampleCustomers());
  std::filesystem::create_directory(dir.full + "/Data");
  for (const DemonstrationFile& f : kDemonstrationFiles) WriteStale(dir.parent + "/" + f.name);

  const json box = PressReset(*frame);
  ASSERT_TRUE(box.is_object()) << frame->run().Stderr();
  EXPECT_EQ(box["text"], kResetText);
  ExpectCopiesOf(dir.full + "/Orig", dir.full);
  ExpectCopiesOf(dir.full + "/Orig", dir.full + "/Data");
  for (const DemonstrationFile& f : kDemonstrationFiles) {
    EXPECT_EQ(FileBytes(dir.parent + "/" + f.name), "stale " + dir.parent + "/" + f.name) << "the parent's files untouched";
  }
}

}  // namespace
}  // namespace qx::testing
