// qxshift's own code run in-process under a view that records every window as it opens
// and closes, with a stand-in for RECFIX: the welcome window is up before the INI file is
// read and the file set is built, it goes before the frame opens and so before the check
// begins, the key window comes once per conversion, and what the run leaves behind.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "classlib/file_manager.h"
#include "converter/file_set.h"
#include "converter/program_main.h"
#include "converter/program_module.h"
#include "demo/data_files.h"
#include "runtime/sys/command_line.h"
#include "tests/demo_files/fake_recfix.h"
#include "tests/demo_files/fixtures.h"
#include "tests/support/program_thread.h"

namespace qx {
namespace {

using testing::OldFile;
using testing::TempDir;

class ProgramRunTest : public testing::ProgramThreadTest {};

TEST_F(ProgramRunTest, WelcomeFirstThenTheIniAndFileSetThenTheFrameAndThePass) {
  TempDir data, notes, config;
  ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  ASSERT_EQ(testing::WriteOldFile(OldFile::kStandrd, data / "STANDRD.TPS", testing::SampleCustomers()), 0);
  ASSERT_EQ(testing::WriteOldFile(OldFile::kVarname, data / "variable.tps", testing::SampleCustomers()), 0);
  testing::FakeRecfix recfix(data.path(), notes.path());
  // What had happened when each window first showed.
  std::vector<std::string> states;
  view_.OnOpen([&](const std::string& label) {
    std::string s = label + ":";
    if (ProgramIni.SECTORS) s += " ini-read";
    if (!FileManagers().empty()) s += " file-set";
    if (!ProgramErrors.CurrentProcedureName().empty()) s += " procedure=" + ProgramErrors.CurrentProcedureName();
    if (std::filesystem::exists(data / "VHtemp")) s += " VHtemp";
    states.push_back(s);
  });
  const char* argv[] = {"qxshift", data.path().c_str()};
  RtInitCommandLine(2, argv);
  const std::string start = std::filesystem::current_path().string();

  ProgramModuleInit(0);
  CurrentResponse = 7;
  ProgramMain();  // batch mode: returns once the frame has closed itself
  EXPECT_EQ(CurrentResponse, 2);
  EXPECT_EQ(WelcomeShown, 1);
  EXPECT_FALSE(ProgramErrors.ERRORS) << "shut down";
  EXPECT_TRUE(FileManagers().empty());
  EnsureWelcomeShown();  // shown once per run at most
  ProgramModuleInit(1);
  std::filesystem::current_path(start);
  ::unsetenv("XDG_CONFIG_HOME");

  EXPECT_EQ(view_.TakeEvents(), (std::vector<std::string>{
                                    "open $ZELTWELCOME",
                                    "close $ZELTWELCOME",
                                    "open P1$APPFRAME",
                                    "open $ZELTKEYWIN",
                                    "close $ZELTKEYWIN",
                                    "open $ZELTKEYWIN",
                                    "close $ZELTKEYWIN",
                                    "close P1$APPFRAME",
                                }));
  EXPECT_EQ(states, (std::vector<std::string>{
                        "$ZELTWELCOME:",
                        "P1$APPFRAME: ini-read file-set procedure=Main",
                        "$ZELTKEYWIN: ini-read file-set procedure=Main VHtemp",
                        "$ZELTKEYWIN: ini-read file-set procedure=Main VHtemp",
                    }));
  EXPECT_TRUE(view_.TakeBoxes().empty()) << "the converter shows no message of its own";
  EXPECT_EQ(recfix.Commands(), (std::vector<std::string>{"RECFIX STANDRD.tps? /K /E:STANDRD.tpe? /A",
                                                         "RECFIX variable.tps? /K /E:variable.tpe? /A"}));
  EXPECT_EQ(testing::Names(data.path()), (std::vector<std::string>{"RECFIX", "STANDRD.TPS", "variable.tps"}));
  EXPECT_EQ(testing::FileBytes(config / "qxshift.INI"), "[__Dont_Touch_Me__]\nSectors=0\n");
}

}  // namespace
}  // namespace qx
