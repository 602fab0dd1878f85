// Child programs: a real helper program (qx_sys_child, built beside this test) run with
// and without waiting, the program search, and programs that cannot be started.
#include "runtime/sys/run.h"

#include <dirent.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <thread>

#include "runtime/sys/command_line.h"
#include "runtime/sys/directories.h"
#include "runtime/sys/error_state.h"
#include "runtime/sys/runtime_lock.h"
#include "tests/sys/sys_fixture.h"

namespace qx {
namespace {

using testing::SysTest;
namespace fs = std::filesystem;
using Report = std::map<std::string, std::string>;

// Waits, at most 30 s, until `done` holds; false when it never did.
template <typename Pred>
bool Eventually(Pred done) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// The processes whose parent is this one, zombies included.
int ChildProcesses() {
  int count = 0;
  DIR* proc = ::opendir("/proc");
  while (const dirent* e = ::readdir(proc)) {
    if (e->d_name[0] < '0' || e->d_name[0] > '9') continue;
    std::ifstream in(std::string("/proc/") + e->d_name + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t paren = stat.rfind(')');
    if (paren == std::string::npos) continue;
    char state = 0;
    int ppid = 0;
    if (std::sscanf(stat.c_str() + paren + 1, " %c %d", &state, &ppid) == 2 && ppid == ::getpid()) ++count;
  }
  ::closedir(proc);
  return count;
}

class RunTest : public SysTest {
 protected:
  void SetUp() override {
    SysTest::SetUp();
    fs::create_directories(At("work"));
    fs::create_directories(At("bin"));
    ::setenv("QX_TEST_REPORT", At("report").c_str(), 1);
    ::unsetenv("QX_TEST_EXIT");
    ::unsetenv("QX_TEST_WAIT_FOR");
    oldPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    fs::current_path(At("work"));
  }
  void TearDown() override {
    ::setenv("PATH", oldPath_.c_str(), 1);
    ::unsetenv("QX_TEST_REPORT");
    ::unsetenv("QX_TEST_EXIT");
    ::unsetenv("QX_TEST_WAIT_FOR");
    SysTest::TearDown();
  }

  // A copy of the helper program under another name.
  void CopyChild(const std::string& rel) {
    fs::copy_file(QX_SYS_CHILD, At(rel), fs::copy_options::overwrite_existing);
    fs::permissions(At(rel), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add);
  }
  void Script(const std::string& rel, const std::string& body, fs::perms perms = fs::perms::owner_all) {
    Write(rel, "#!/bin/sh\n" + body + "\n");
    fs::permissions(At(rel), perms);
  }

  Report TakeReport() {
    Report report;
    const std::string all = Read("report");
    size_t pos = 0;
    while (pos < all.size()) {
      const size_t k = all.find('\0', pos);
      const size_t v = all.find('\0', k + 1);
      report[all.substr(pos, k - pos)] = all.substr(k + 1, v - k - 1);
      pos = v + 1;
    }
    fs::remove(At("report"));
    return report;
  }

  std::string oldPath_;
};

TEST_F(RunTest, WaitingKeepsTheExitCodeAndTheChildInheritsTheDirectory) {
  Write("work/Data/.keep", "");
  RtSetPath("DATA");
  ASSERT_EQ(RtErrorCode(), 0);
  for (const char* code : {"7", "0", "255"}) {
    ::setenv("QX_TEST_EXIT", code, 1);
    RtSetError(kRecordNotAvailable);
    RtRun("qx_sys_child", true);
    EXPECT_EQ(RtErrorCode(), 0);
    EXPECT_EQ(RtRunExitCode(), std::atoi(code));
    // The child has ended when RtRun returns: its report is there.
    ASSERT_TRUE(Exists("report")) << code;
    EXPECT_EQ(TakeReport()["cwd"], At("work/Data"));
  }
  Script("work/Data/killed", "kill -TERM $$");
  RtRun("killed", true);
  EXPECT_EQ(RtErrorCode(), 0);
  EXPECT_EQ(RtRunExitCode(), 128 + 15);
}

TEST_F(RunTest, TheChildSeesTheWordsAsWritten) {
  struct Case {
    std::string line;
    std::vector<std::string> argv;  // after the program name
    std::string word1, word2;
  };
  const Case cases[] = {
      // What qxmora hands qxshift: the directory unquoted, cut at a blank or a comma.
      {"qx_sys_child /home/ann/my dir", {"/home/ann/my", "dir"}, "/home/ann/my", "dir"},
      {"qx_sys_child /home/ann/my,dir", {"/home/ann/my", "dir"}, "/home/ann/my", "dir"},
      {"qx_sys_child \"/home/ann/my dir\"", {"/home/ann/my dir"}, "/home/ann/my dir", ""},
      // The RECFIX command line: "/" begins no switch, "?" is no pattern.
      {"qx_sys_child STANDRD.tps? /K /E:STANDRD.tpe? /A", {"STANDRD.tps?", "/K", "/E:STANDRD.tpe?", "/A"},
       "STANDRD.tps?", "/K"},
      {"qx_sys_child a,,b", {"a", "", "b"}, "a", ""},
      // No shell: nothing is expanded.
      {"qx_sys_child $HOME * ~", {"$HOME", "*", "~"}, "$HOME", "*"},
      {"qx_sys_child", {}, "", ""},
  };
  for (const auto& c : cases) {
    RtRun(c.line, true);
    ASSERT_EQ(RtErrorCode(), 0) << c.line;
    Report r = TakeReport();
    EXPECT_EQ(r["argc"], std::to_string(c.argv.size() + 1)) << c.line;
    EXPECT_EQ(r["argv0"], "qx_sys_child") << c.line;
    for (size_t i = 0; i < c.argv.size(); ++i) EXPECT_EQ(r["argv" + std::to_string(i + 1)], c.argv[i]) << c.line;
    EXPECT_EQ(r["line"], c.line);
    EXPECT_EQ(r["word1"], c.word1) << c.line;
    EXPECT_EQ(r["word2"], c.word2) << c.line;
    // The child took the line out of its environment: its own children won't see it.
    EXPECT_EQ(r["inherited"], "(none)") << c.line;
  }
}

TEST_F(RunTest, ProgramSearchOwnDirectoryThenCurrentThenPath) {
  CopyChild("work/CwdHelper.exe");
  CopyChild("bin/PathHelper");
  Script("work/qx_sys_child", "exit 42");  // hidden by the program's own directory
  Script("bin/cwdhelper", "exit 42");      // hidden by the current directory
  ::setenv("PATH", (At("bin") + ":" + oldPath_).c_str(), 1);

  struct Case {
    std::string line;
    std::string found;  // what RtFindProgram gives for the program name
  };
  const std::string own = fs::path(QX_SYS_CHILD).parent_path().string();
  const Case cases[] = {
      {"qx_sys_child", QX_SYS_CHILD},
      {"QX_SYS_CHILD.EXE", QX_SYS_CHILD},
      {"cwdhelper", "CwdHelper.exe"},
      {"CWDHELPER.exe", "CwdHelper.exe"},
      {"pathhelper.exe", At("bin/PathHelper")},
      {"PATHHELPER", At("bin/PathHelper")},
      {At("work") + "/cwdhelper", At("work/CwdHelper.exe")},  // with a directory: no search
      {"..\\WORK\\cwdHelper.EXE", "../work/CwdHelper.exe"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RtFindProgram(c.line), c.found) << c.line;
    RtRun(c.line + " x", true);
    EXPECT_EQ(RtErrorCode(), 0) << c.line;
    EXPECT_EQ(RtRunExitCode(), 0) << c.line;
    ASSERT_TRUE(Exists("report")) << c.line;
    EXPECT_EQ(TakeReport()["word1"], "x") << c.line;
  }
}

TEST_F(RunTest, AProgramThatCannotBeStartedOnlySetsTheErrorCode) {
  Write("work/NotExec.exe", "#!/bin/sh\nexit 0\n");                     // no execute permission
  Script("work/Garbage", "", fs::perms::owner_all);
  Write("work/Garbage", "not a program at all");                        // executable, no program
  fs::create_directory(At("work/SomeDir"));
  ::setenv("QX_TEST_EXIT", "7", 1);
  RtRun("qx_sys_child", true);
  ASSERT_EQ(RtRunExitCode(), 7);
  TakeReport();
  struct Case {
    std::string line;
    LONG code;
  };
  const Case cases[] = {
      {"NoSuchProgram x", kFileNotFound},
      {"", kFileNotFound},
      {"     ", kFileNotFound},
      {"SomeDir", kFileNotFound},  // a directory is no program
      {"nowhere/qx_sys_child", kPathNotFound},
      {"notexec x", kAccessDenied},
      {"garbage", kAccessDenied},
  };
  for (const auto& c : cases) {
    for (bool wait : {true, false}) {
      RtRun(c.line, wait);
      EXPECT_EQ(RtErrorCode(), c.code) << "'" << c.line << "' wait " << wait;
      EXPECT_EQ(RtRunExitCode(), 7) << c.line;
    }
  }
  EXPECT_FALSE(Exists("report"));
  EXPECT_EQ(ChildProcesses(), 0);
}

TEST_F(RunTest, WithoutWaitingReturnsAtOnceAndLeavesNoZombie) {
  ::setenv("QX_TEST_WAIT_FOR", At("go").c_str(), 1);
  ::setenv("QX_TEST_EXIT", "3", 1);
  const LONG exitCodeBefore = RtRunExitCode();
  RtRun("qx_sys_child later", false);
  EXPECT_EQ(RtErrorCode(), 0);
  // The child is still waiting for "go": RtRun did not wait for it.
  EXPECT_FALSE(Exists("report"));
  EXPECT_EQ(RtRunExitCode(), exitCodeBefore);
  Write("go", "");
  ASSERT_TRUE(Eventually([&] { return Exists("report"); }));
  Report r = TakeReport();
  EXPECT_EQ(r["cwd"], At("work"));
  EXPECT_EQ(r["word1"], "later");
  // Once it has ended, the child is reaped: no zombie stays behind.
  EXPECT_TRUE(Eventually([] { return ChildProcesses() == 0; }));
}

TEST_F(RunTest, WaitingGivesTheRuntimeLockToOtherProgramThreads) {
  // The child ends only once another program thread has run, which it can only do while
  // this thread waits outside the runtime.
  ::setenv("QX_TEST_WAIT_FOR", At("go").c_str(), 1);
  RtRuntimeLockAcquire();
  std::thread other([&] {
    RtRuntimeLockAcquire();
    Write("go", "");
    RtRuntimeLockRelease();
  });
  RtRun("qx_sys_child", true);
  EXPECT_TRUE(RtRuntimeLockHeld());
  RtRuntimeLockRelease();
  other.join();
  EXPECT_EQ(RtErrorCode(), 0);
  EXPECT_EQ(RtRunExitCode(), 0);  // 99 would mean the child gave up waiting
}

}  // namespace
}  // namespace qx
