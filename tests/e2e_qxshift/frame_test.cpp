// qxshift's frame, end to end: without a directory it can enter it converts the directory
// it was started in and stays until closed, showing its one text; how the first argument
// is cut (blanks, commas, quotes); the pass runs once per run; the welcome window is up
// before "qxshift.INI" is read, and the file is written once the pass is over.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e_qxshift/qxshift_run.h"

namespace qx::testing {
namespace {

using nlohmann::json;

// Waits until the frame shows its text: the pass has run, and the frame stays.
void ExpectFrameStays(ProgramRun& run) {
  ASSERT_FALSE(
      run.WaitFor({{"text", {{"window", "P1$APPFRAME"}, {"control", "ResultText"}, {"equals", kResultText}}}}).is_null())
      << run.Stderr();
  EXPECT_TRUE(run.Window("$ZELTWELCOME").is_null()) << "the welcome window went before the frame opened";
  EXPECT_EQ(run.WaitForExit(500), -1) << "the frame stays open";
}

TEST(Frame, WithoutADirectoryItCanEnterItConvertsTheStartDirectoryAndStaysUntilClosed) {
  const std::string standrd = OldStandrdBytes();
  struct Case {
    const char* what;
    std::vector<std::string> args;
  } cases[] = {
      {"no argument", {}},
      {"an empty argument", {""}},
      {"a blank argument (quoted in the command line)", {"   "}},
      {"a directory that does not exist", {"/nonexistent/qxshift/dir"}},
      {"a file, not a directory", {"Standrd.TPS"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramRun::Options options;
    options.args = c.args;
    options.files = {{"Standrd.TPS", standrd}};
    auto q = StartQxshift(options);
    ASSERT_TRUE(q);
    ExpectFrameStays(*q->run);
    ASSERT_TRUE(Ok(q->run->Request({{"op", "close"}, {"window", "P1$APPFRAME"}})));
    ASSERT_EQ(q->run->WaitForExit(30000), 0);
    ExpectConverted(q->run->directory(), Standrd, SampleCustomers());
    EXPECT_EQ(Names(q->run->directory()), std::vector<std::string>{"Standrd.TPS"});
    EXPECT_EQ(FileBytes(q->Ini()), "[__Dont_Touch_Me__]\nSectors=0\n");
  }
}

TEST(Frame, LooksAsDescribed) {
  auto q = StartQxshift(std::vector<std::string>{});
  ASSERT_TRUE(q);
  ASSERT_FALSE(q->run->WaitFor({{"takes_input", "P1$APPFRAME"}}).is_null()) << q->run->Stderr();
  const json w = q->run->Window("P1$APPFRAME");
  EXPECT_EQ(w["title"], "Quorvane Converter");
  EXPECT_EQ(w["kind"], "application");
  EXPECT_EQ(w["module"], "qxshift$qxc001");
  EXPECT_EQ(w["thread"], 1);
  EXPECT_EQ(w["width"], 99);
  EXPECT_EQ(w["height"], 27);
  EXPECT_TRUE(w["centred"]);
  EXPECT_EQ(w["icon"]["resource"], "JUMPPG.ICO");
  EXPECT_NE(w["frame"]["border"], "resizable");
  EXPECT_EQ(w["frame"]["maximize_box"], false);
  EXPECT_EQ(w["frame"]["minimize_box"], true);
  EXPECT_EQ(w["frame"]["system_menu"], true);
  ASSERT_EQ(w["controls"].size(), 1u) << w.dump();
  const json text = Control(w, "ResultText");
  EXPECT_EQ(text["field"], -1);
  EXPECT_EQ(text["area"], "toolbar");
  EXPECT_EQ(text["text"], kResultText);
  ASSERT_TRUE(Ok(q->run->Request({{"op", "close"}, {"window", "P1$APPFRAME"}})));
  EXPECT_EQ(q->run->WaitForExit(), 0);
}

TEST(Frame, ThePassRunsOnlyWhenTheFrameOpens) {
  auto q = StartQxshift(std::vector<std::string>{});
  ASSERT_TRUE(q);
  ExpectFrameStays(*q->run);
  // An old file that arrives after the pass is not converted by the frame's later events.
  ASSERT_EQ(WriteOldFile(OldFile::kVeryLong, q->run->directory() + "/VeryLong.TPS", SampleCustomers()), 0);
  ASSERT_TRUE(Ok(q->run->Request({{"op", "move"}, {"window", "P1$APPFRAME"}, {"x", 5}, {"y", 5}})));
  ASSERT_TRUE(Ok(q->run->Request({{"op", "activate"}, {"window", "P1$APPFRAME"}})));
  ASSERT_TRUE(Ok(q->run->Request({{"op", "close"}, {"window", "P1$APPFRAME"}})));
  ASSERT_EQ(q->run->WaitForExit(30000), 0);
  EXPECT_EQ(OpenCode(q->run->directory(), VeryLongName), kInvalidRecordDeclaration);
}

TEST(Frame, TheFirstArgumentIsCutAtBlanksAndCommasOutsideQuotes) {
  struct Case {
    const char* what;
    std::vector<std::string> args;  // "@" stands for the base directory
    const char* commandLine;        // as a parent wrote it (nullptr: from the arguments)
    const char* converted;          // the directory the pass worked in; nullptr: the start directory
    bool closesItself;
  } cases[] = {
      {"quoted, with blanks", {"@/D with blanks"}, nullptr, "D with blanks", true},
      {"unquoted, with blanks", {"@/D", "with", "blanks"}, nullptr, "D", true},
      {"unquoted, the part before the blank names nothing", {"@/X", "Y"}, nullptr, nullptr, false},
      {"unquoted, with a comma", {"@/D", "E"}, "qxshift.exe @/D,E", "D", true},
      {"quoted, with a comma", {"@/D,E"}, nullptr, "D,E", true},
      {"quoted blanks only", {"   "}, "qxshift.exe \"   \"", nullptr, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir base;
    for (const char* sub : {"D with blanks", "D", "D,E", "X Y"}) {
      std::filesystem::create_directory(base / sub);
      ASSERT_EQ(WriteOldFile(OldFile::kStandrd, base / sub + "/Standrd.TPS", SampleCustomers()), 0);
    }
    auto expand = [&](std::string s) {
      for (size_t at; (at = s.find('@')) != std::string::npos;) s.replace(at, 1, base.path());
      return s;
    };
    ProgramRun::Options options;
    for (const std::string& a : c.args) options.args.push_back(expand(a));
    if (c.commandLine) options.env = {{"QX_COMMAND_LINE", expand(c.commandLine)}};
    options.files = {{"Standrd.TPS", OldStandrdBytes()}};
    auto q = StartQxshift(options);
    ASSERT_TRUE(q);
    if (c.closesItself) {
      ASSERT_EQ(q->run->WaitForExit(30000), 0) << "the directory was entered: the frame closes itself";
    } else {
      ExpectFrameStays(*q->run);
      ASSERT_TRUE(Ok(q->run->Request({{"op", "close"}, {"window", "P1$APPFRAME"}})));
      ASSERT_EQ(q->run->WaitForExit(30000), 0);
    }
    const std::string converted = c.converted ? base / c.converted : q->run->directory();
    ExpectConverted(converted, Standrd, SampleCustomers());
    for (const std::string& dir : {base / "D with blanks", base / "D", base / "D,E", base / "X Y", q->run->directory()}) {
      if (dir != converted) {
        EXPECT_EQ(OpenCode(dir, Standrd), kInvalidRecordDeclaration) << dir << " untouched";
      }
    }
  }
}

// Opens the FIFO `path` for writing once a reader has it open (within 20 s): the
// descriptor, or -1.
int OpenFifoForWriting(const std::string& path) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  for (;;) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0 || errno != ENXIO || std::chrono::steady_clock::now() > end) return fd;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

// Writes `content` to the FIFO and closes it, which ends the reader's file.
bool Feed(int fd, const std::string& content) {
  const bool written = ::write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
  ::close(fd);
  return written;
}

TEST(Frame, TheWelcomeWindowIsUpBeforeTheIniFileIsReadWhichIsWrittenAfterThePass) {
  TempDir dir;
  ASSERT_EQ(WriteOldFile(OldFile::kStandrd, dir / "Standrd.TPS", SampleCustomers()), 0);
  const std::string oldBytes = FileBytes(dir / "Standrd.TPS");
  // "qxshift.INI" is a FIFO: every opening of it for reading waits until the test feeds it.
  auto q = StartQxshift(ProgramRun::Options{.args = {dir.path()}}, [](const std::string& config) {
    ASSERT_EQ(::mkfifo((config + "/qxshift.INI").c_str(), 0600), 0);
  });
  ASSERT_TRUE(q);
  ProgramRun& run = *q->run;

  // The program waits in its reading of the INI file.
  const int reading = OpenFifoForWriting(q->Ini());
  ASSERT_GE(reading, 0) << "the program reads the INI file; " << run.Stderr();
  EXPECT_TRUE(run.Window("$ZELTWELCOME").is_object()) << "the welcome window is up";
  EXPECT_TRUE(run.Window("P1$APPFRAME").is_null());
  EXPECT_EQ(FileBytes(dir / "Standrd.TPS"), oldBytes) << "the check has not begun";
  EXPECT_FALSE(std::filesystem::exists(dir / "VHtemp"));
  ASSERT_TRUE(Feed(reading, "[__Dont_Touch_Me__]\nSectors=0\n"));
  // The reading is over once the frame's initialisation has closed the welcome window.
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (run.Window("$ZELTWELCOME").is_object() && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_TRUE(run.Window("$ZELTWELCOME").is_null());

  // The pass runs, the frame closes itself, and the INI file is written, its old content
  // read first: the program waits there now.
  const int writing = OpenFifoForWriting(q->Ini());
  ASSERT_GE(writing, 0) << "the program writes the INI file; " << run.Stderr();
  EXPECT_TRUE(run.Window("P1$APPFRAME").is_null()) << "the frame has closed";
  EXPECT_TRUE(run.Window("$ZELTWELCOME").is_null()) << "not shown a second time";
  ExpectConverted(dir.path(), Standrd, SampleCustomers());
  ASSERT_TRUE(Feed(writing, ""));
  ASSERT_EQ(run.WaitForExit(30000), 0) << run.Stderr();
  EXPECT_EQ(FileBytes(q->Ini()), "[__Dont_Touch_Me__]\nSectors=0\n");
}

}  // namespace
}  // namespace qx::testing
