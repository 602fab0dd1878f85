// The convert action: the converter started as "qxshift.exe", a blank and the working
// directory, written as one word (in double quotes when it holds a blank or a comma, its
// own double quotes doubled), without waiting for it. With a stand-in that notes how it
// was started: the command line, its words and directory, and the frame going on
// meanwhile; a converter that cannot be found. With the real qxshift: it converts the
// working directory and ends by itself, also one whose name holds a blank.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/demo_files/converted_files.h"
#include "tests/e2e_actions/frame_run.h"

namespace qx::testing {
namespace {

// Notes its command line (as the parent wrote it), its arguments and its directory in
// $QX_TEST_RECORD, then waits until $QX_TEST_RELEASE exists (30 s at most).
const char kRecordingConverter[] =
    "#!/bin/sh\n"
    "{\n"
    "  printf '%s\\n' \"$QX_COMMAND_LINE\"\n"
    "  printf '%s\\n' \"$#\"\n"
    "  for a in \"$@\"; do printf '%s\\n' \"$a\"; done\n"
    "  pwd -P\n"
    "} > \"$QX_TEST_RECORD.part\" && mv \"$QX_TEST_RECORD.part\" \"$QX_TEST_RECORD\"\n"
    "i=0\n"
    "while [ ! -e \"$QX_TEST_RELEASE\" ] && [ $i -lt 600 ]; do sleep 0.05; i=$((i+1)); done\n";

// A copy of qxmora in a directory of its own, where the program search looks first for
// "qxshift.exe": beside it the recording stand-in, or nothing.
class QxmoraCopy {
 public:
  explicit QxmoraCopy(bool withConverter) {
    std::filesystem::copy_file(QXMORA_PATH, program());
    ::chmod(program().c_str(), 0755);
    if (withConverter) {
      WriteBytes(bin_ / "qxshift.exe", kRecordingConverter);
      ::chmod((bin_ / "qxshift.exe").c_str(), 0755);
    }
  }
  std::string program() const { return bin_ / "qxmora"; }
  std::string record() const { return notes_ / "record"; }
  std::string release() const { return notes_ / "release"; }
  // The stand-in's notes, one entry a line; empty until it has written them (10 s).
  std::vector<std::string> Record() const {
    for (int i = 0; i < 500 && !std::filesystem::exists(record()); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::vector<std::string> lines;
    std::ifstream in(record());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

 private:
  TempDir bin_, notes_;
};

// Makes `start`/Data lead to the directory `name` below the start: the directory itself
// when `name` is "Data", else a symbolic link to it, so that the working directory after
// the change is start/name as the system reads it.
void MakeData(const std::string& start, const std::string& name) {
  std::filesystem::create_directory(start + "/" + name);
  if (name != "Data") std::filesystem::create_directory_symlink(name, start + "/Data");
}

// A directory name that makes a path of the working directory longer than the 255
// characters the toolbar shows.
const std::string kLongName(250, 'x');

// Moves the working directory to Data and waits until the toolbar shows `expected`, as
// far as it shows it.
void ChangeToData(FrameRun& frame, const std::string& expected) {
  ASSERT_TRUE(Ok(frame.Press("SetDataPathButton")));
  ASSERT_TRUE(frame.UntilToolbar(expected.substr(0, 255))) << frame.Toolbar();
}

TEST(Convert, StartsTheConverterOnTheWorkingDirectoryAsOneWordAndGoesOnAtOnce) {
  struct Case {
    const char* what;
    std::string data;     // what Data leads to
    bool enclosed;        // the directory stands in double quotes on the command line
    std::string written;  // how its last component is written there
  } cases[] = {
      {"a plain directory", "Data", false, "Data"},
      {"a directory holding a blank", "with blank", true, "with blank"},
      {"a directory holding a comma", "with,comma", true, "with,comma"},
      {"a directory holding a tab", "with\ttab", true, "with\ttab"},
      {"a directory holding double quotes", "say\"so\"", false, "say\"\"so\"\""},
      {"a directory holding a blank and double quotes", "say \"so\"", true, "say \"\"so\"\""},
      {"a directory longer than the toolbar shows", kLongName, false, kLongName},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QxmoraCopy copy(true);
    ProgramRun::Options options;
    options.env = {{"QX_TEST_RECORD", copy.record()}, {"QX_TEST_RELEASE", copy.release()}};
    auto frame = FrameRun::Start(options, copy.program());
    ASSERT_TRUE(frame);
    const std::string start = frame->directory();
    const std::string working = start + "/" + c.data;
    MakeData(start, c.data);
    ChangeToData(*frame, working);

    ASSERT_TRUE(Ok(frame->Press("ConvertButton")));
    const std::vector<std::string> record = copy.Record();
    ASSERT_FALSE(record.empty()) << "the converter was not started: " << frame->run().Stderr();
    const std::string quote = c.enclosed ? "\"" : "";
    EXPECT_EQ(record[0], "qxshift.exe " + quote + start + "/" + c.written + quote)
        << "one blank, no trailing blanks, in full";
    ASSERT_EQ(record.size(), 4u) << "one argument";
    EXPECT_EQ(record[1], "1");
    EXPECT_EQ(record[2], working) << "the working directory itself";
    EXPECT_EQ(record.back(), working) << "it runs in the working directory";

    // The converter still runs, and the frame goes on: a browse opens meanwhile.
    EXPECT_EQ(frame->Children().size(), 1u);
    EXPECT_TRUE(frame->OpenBrowse(kBrowseItems[0]).is_object());
    EXPECT_EQ(frame->Toolbar(), working.substr(0, 255));
    WriteBytes(copy.release(), "");
    EXPECT_TRUE(frame->UntilNoChildren()) << "the converter ended and was reaped";
    ASSERT_TRUE(Ok(frame->Press("FrameCloseButton")));
    EXPECT_EQ(frame->run().WaitForExit(20000), 0);
  }
}

TEST(Convert, AConverterThatCannotBeFoundPassesSilently) {
  QxmoraCopy copy(false);
  ProgramRun::Options options;
  options.env = {{"PATH", "/usr/bin:/bin"}};
  auto frame = FrameRun::Start(options, copy.program());
  ASSERT_TRUE(frame);
  ASSERT_TRUE(Ok(frame->Press("ConvertButton")));
  EXPECT_TRUE(frame->run().WaitFor({{"message", true}}, 500).is_null()) << "nothing is reported";
  EXPECT_TRUE(frame->Children().empty());
  EXPECT_TRUE(frame->OpenBrowse(kBrowseItems[0]).is_object()) << "the frame goes on";
  EXPECT_EQ(frame->Toolbar(), frame->directory());
}

TEST(Convert, TheConverterConvertsTheWorkingDirectoryAndEndsByItself) {
  auto frame = FrameRun::Start();
  ASSERT_TRUE(frame);
  const std::string data = frame->directory() + "/Data";
  MakeData(frame->directory(), "Data");
  WriteOldFiles(data, SampleCustomers());
  ChangeToData(*frame, data);

  ASSERT_TRUE(Ok(frame->Press("ConvertButton")));
  ASSERT_TRUE(frame->UntilConverterEnded()) << frame->run().Stderr();
  for (const DataFile& f : kDataFiles) ExpectConverted(data, *f.decl, SampleCustomers());
  EXPECT_EQ(Names(data), std::vector<std::string>({"Encrypt.TPS", "Standrd.TPS", "VeryLong.TPS", "variable.tps"}))
      << "no work file left";

  // A browse opened afterwards reads the converted file.
  const json browse = frame->OpenBrowse(kBrowseItems[0]);
  ASSERT_TRUE(browse.is_object());
  EXPECT_TRUE(frame->UntilChildren([](const std::vector<json>& c) {
    return !c.empty() && !Control(c[0], "BrowseList")["list"]["rows"].empty();
  }));
  EXPECT_TRUE(frame->run().WaitFor({{"message", true}}, 200).is_null()) << "no Invalid File";
}

TEST(Convert, AWorkingDirectoryHoldingABlankIsTheOneConverted) {
  auto frame = FrameRun::Start();
  ASSERT_TRUE(frame);
  const std::string start = frame->directory();
  MakeData(start, "with blank");
  // The directory its name would be cut to, were it handed over unquoted.
  std::filesystem::create_directory(start + "/with");
  WriteOldFiles(start + "/with blank", SampleCustomers());
  WriteOldFiles(start + "/with", SampleCustomers());
  ChangeToData(*frame, start + "/with blank");

  ASSERT_TRUE(Ok(frame->Press("ConvertButton")));
  ASSERT_TRUE(frame->UntilConverterEnded()) << frame->run().Stderr();
  for (const DataFile& f : kDataFiles) {
    ExpectConverted(start + "/with blank", *f.decl, SampleCustomers());
    EXPECT_EQ(OpenCode(start + "/with", *f.decl), kInvalidRecordDeclaration) << f.decl->label() << " untouched";
  }
}

}  // namespace
}  // namespace qx::testing
