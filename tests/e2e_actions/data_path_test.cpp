// Changing the working directory to Data: the current directory's Data sub-directory
// becomes the working directory, which the toolbar shows in its long form, unless the
// current directory is itself named "Data"; a Data that cannot be entered changes
// nothing, and nothing is reported.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e_actions/frame_run.h"

namespace qx::testing {
namespace {

// Presses the button with a browse open and returns once the browse has closed: the
// action posts the close request first, and the browse takes it only once the frame
// waits again, so the action has run to its end by then.
void PressSetDataPath(FrameRun& frame) {
  ASSERT_TRUE(frame.OpenBrowse(kBrowseItems[3]).is_object()) << frame.run().Stderr();
  ASSERT_TRUE(Ok(frame.Press("SetDataPathButton")));
  ASSERT_TRUE(frame.UntilChildren([](const std::vector<json>& c) { return c.empty(); }));
  ASSERT_FALSE(frame.run().WaitFor({{"takes_input", kFrame}}).is_null());
  EXPECT_TRUE(frame.run().WaitFor({{"message", true}}, 200).is_null()) << "nothing is reported";
}

TEST(SetDataPath, MovesIntoTheDataSubDirectoryWhenThereIsOne) {
  struct Case {
    const char* what;
    void (*prepare)(const std::string& start);
    const char* expected;  // the working directory afterwards, relative to the start
  } cases[] = {
      {"a Data sub-directory", [](const std::string& s) { std::filesystem::create_directory(s + "/Data"); }, "/Data"},
      {"one spelt DATA: shown as stored", [](const std::string& s) { std::filesystem::create_directory(s + "/DATA"); },
       "/DATA"},
      {"none", [](const std::string&) {}, ""},
      {"a file named Data", [](const std::string& s) { WriteBytes(s + "/Data", "not a directory"); }, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto frame = FrameRun::Start();
    ASSERT_TRUE(frame);
    const std::string start = frame->directory();
    ASSERT_EQ(frame->Toolbar(), start);
    c.prepare(start);
    PressSetDataPath(*frame);
    EXPECT_EQ(frame->Toolbar(), start + c.expected);
    EXPECT_EQ(frame->CurrentDirectory(), start + c.expected);
  }
}

TEST(SetDataPath, ASecondPressStaysOnlyInADirectoryNamedExactlyData) {
  struct Case {
    const char* what;
    const char* make;    // directories below the start
    const char* first;   // the working directory after the first press
    const char* second;  // and after the second
  } cases[] = {
      {"Data holding a Data of its own: named Data, so it stays", "Data/Data", "/Data", "/Data"},
      {"DATA holding a Data: not named exactly Data, so it moves on", "DATA/Data", "/DATA", "/DATA/Data"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto frame = FrameRun::Start();
    ASSERT_TRUE(frame);
    const std::string start = frame->directory();
    std::filesystem::create_directories(start + "/" + c.make);
    PressSetDataPath(*frame);
    EXPECT_EQ(frame->Toolbar(), start + c.first);
    PressSetDataPath(*frame);
    EXPECT_EQ(frame->Toolbar(), start + c.second);
    EXPECT_EQ(frame->CurrentDirectory(), start + c.second);
  }
}

TEST(SetDataPath, DataElsewhereInThePathDoesNotKeepTheFirstPressFromMoving) {
  struct Case {
    const char* what;
    const char* below;     // the start directory, below a fresh directory
    const char* expected;  // the working directory after the press, below the same
  } cases[] = {
      {"a path holding /Database/", "Database/demo", "Database/demo/Data"},
      {"a start named Database", "Database", "Database/Data"},
      {"a path holding /Data/ further up", "Data/demo", "Data/demo/Data"},
      {"a start named Data itself", "demo/Data", "demo/Data"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir base;
    const std::string root = std::filesystem::canonical(base.path()).string() + "/";
    std::filesystem::create_directories(root + c.below + "/Data");
    auto frame = FrameRun::StartIn(root + c.below);
    ASSERT_TRUE(frame);
    ASSERT_EQ(frame->Toolbar(), root + c.below);
    PressSetDataPath(*frame);
    EXPECT_EQ(frame->Toolbar(), root + c.expected);
    EXPECT_EQ(frame->CurrentDirectory(), root + c.expected);
  }
}

}  // namespace
}  // namespace qx::testing
