// INI files: reading with defaults, writing that keeps the rest of the file, where a name
// without a directory lands, and writers that take turns.
#include "runtime/sys/profile.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <thread>

#include "runtime/sys/error_state.h"
#include "tests/sys/sys_fixture.h"

namespace qx {
namespace {

using testing::AsUnprivileged;
using testing::SysTest;
namespace fs = std::filesystem;

const char kIni[] = "qxshift.INI";

class ProfileTest : public SysTest {
 protected:
  void SetUp() override {
    SysTest::SetUp();
    oldXdg_ = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    hadXdg_ = std::getenv("XDG_CONFIG_HOME") != nullptr;
    oldHome_ = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("XDG_CONFIG_HOME", At("config").c_str(), 1);
    fs::current_path(At(""));
  }
  void TearDown() override {
    if (hadXdg_) ::setenv("XDG_CONFIG_HOME", oldXdg_.c_str(), 1); else ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", oldHome_.c_str(), 1);
    SysTest::TearDown();
  }
  std::string oldXdg_, oldHome_;
  bool hadXdg_ = false;
};

TEST_F(ProfileTest, ReadFindsSectionsAndKeysWithoutRegardToCase) {
  Write("config/qxshift.INI",
        "; written by hand\n"
        "[__Dont_Touch_Me__]\n"
        "Sectors=2\n"
        "  sectors_1 = fam,item,type  \n"
        "Sectors_2=\"quoted, kept \"\n"
        "Empty=\n"
        "no equals sign here\n"
        "\n"
        "[ Other ]\r\n"
        "Sectors=99\r\n"
        "[__dont_touch_me__]\n"
        "Late=not seen, the first section of a name counts\n");
  struct Case {
    std::string section, key, defaultValue, value;
  };
  const Case cases[] = {
      {"__Dont_Touch_Me__", "Sectors", "---Unknown---", "2"},
      {"__DONT_TOUCH_ME__", "SECTORS_1", "", "fam,item,type"},
      {" __Dont_Touch_Me__ ", "sectors_2 ", "", "quoted, kept "},
      {"__Dont_Touch_Me__", "Empty", "x", ""},
      {"__Dont_Touch_Me__", "Missing", "---Unknown---", "---Unknown---"},
      {"__Dont_Touch_Me__", "Missing", "trailing blanks   ", "trailing blanks"},
      {"__Dont_Touch_Me__", "no equals sign here", "d", "d"},
      {"__Dont_Touch_Me__", "Late", "d", "d"},
      {"other", "sectors", "", "99"},
      {"Missing", "Sectors", "d", "d"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetPrivateProfileString(c.section, c.key, c.defaultValue, kIni), c.value)
        << c.section << "/" << c.key;
  }
  EXPECT_EQ(GetPrivateProfileString("__Dont_Touch_Me__", "Sectors", "---Unknown---", "missing.ini"),
            "---Unknown---");
}

TEST_F(ProfileTest, AWriteCreatesTheDirectoryAndTheFile) {
  ASSERT_FALSE(Exists("config"));
  RtSetError(kRecordNotAvailable);
  EXPECT_TRUE(WritePrivateProfileString("__Dont_Touch_Me__", "Sectors", "0", kIni));
  EXPECT_EQ(Read("config/qxshift.INI"), "[__Dont_Touch_Me__]\nSectors=0\n");
  EXPECT_EQ(GetPrivateProfileString("__dont_touch_me__", "sectors", "---Unknown---", "QXSHIFT.ini"), "0");
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable);  // INI functions leave the error state alone
}

TEST_F(ProfileTest, AWriteChangesOneLineAndKeepsTheRest) {
  const std::string original =
      "; comment stays\n"
      "[__Dont_Touch_Me__]\n"
      "Sectors = 2\n"
      "Sectors_1=a,b,c\n"
      "\n"
      "; about the next section\n"
      "[Other]\n"
      "Key=v";  // no line end at the end of the file
  struct Case {
    std::string section, key, value, file;
  };
  const Case cases[] = {
      {"__dont_touch_me__", "SECTORS", "3",
       "; comment stays\n[__Dont_Touch_Me__]\nSectors = 3\nSectors_1=a,b,c\n\n; about the next section\n[Other]\nKey=v"},
      {"__Dont_Touch_Me__", "Sectors_2", "d,e,f",
       "; comment stays\n[__Dont_Touch_Me__]\nSectors = 2\nSectors_1=a,b,c\nSectors_2=d,e,f\n\n; about the next section\n[Other]\nKey=v"},
      {"Other", "New", "1",
       "; comment stays\n[__Dont_Touch_Me__]\nSectors = 2\nSectors_1=a,b,c\n\n; about the next section\n[Other]\nKey=v\nNew=1\n"},
      {"Third", "K", "",
       "; comment stays\n[__Dont_Touch_Me__]\nSectors = 2\nSectors_1=a,b,c\n\n; about the next section\n[Other]\nKey=v\n[Third]\nK=\n"},
  };
  for (const auto& c : cases) {
    Write("config/qxshift.INI", original);
    EXPECT_TRUE(WritePrivateProfileString(c.section, c.key, c.value, kIni)) << c.key;
    EXPECT_EQ(Read("config/qxshift.INI"), c.file) << c.key;
    EXPECT_EQ(GetPrivateProfileString(c.section, c.key, "d", kIni), c.value) << c.key;
  }
}

TEST_F(ProfileTest, AWriteKeepsTheFilesLineEndsAndPermissions) {
  Write("config/qxshift.INI", "[A]\r\nx=1\r\n");
  ::chmod(At("config/qxshift.INI").c_str(), 0600);
  EXPECT_TRUE(WritePrivateProfileString("A", "y", "2", kIni));
  EXPECT_TRUE(WritePrivateProfileString("B", "z", "3", kIni));
  EXPECT_EQ(Read("config/qxshift.INI"), "[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n");
  EXPECT_EQ(fs::status(At("config/qxshift.INI")).permissions() & fs::perms::mask,
            fs::perms::owner_read | fs::perms::owner_write);
  // Written beside and renamed: no temporary file stays behind.
  EXPECT_EQ(Listing("config"), std::vector<std::string>{"qxshift.INI"});
}

TEST_F(ProfileTest, AWriteThatWouldBreakTheFileIsRefused) {
  Write("config/qxshift.INI", "[A]\nx=1\n");
  struct Case {
    std::string section, key, value;
  };
  const Case cases[] = {
      {"", "x", "1"},        {"   ", "x", "1"},     {"A", "", "1"},
      {"A", "x=y", "1"},     {"A", "[x", "1"},      {"A", ";x", "1"},
      {"A]", "x", "1"},      {"A", "x", "1\n[B]"},  {"A\n", "x", "1"},
      {"A", "x\r", "1"},     {"A", "x", std::string("1\0", 2)},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(WritePrivateProfileString(c.section, c.key, c.value, kIni)) << c.section << "/" << c.key;
  }
  EXPECT_FALSE(WritePrivateProfileString("A", "x", "2", ""));
  EXPECT_EQ(Read("config/qxshift.INI"), "[A]\nx=1\n");
}

TEST_F(ProfileTest, AWriteInAReadOnlyDirectoryFailsAndChangesNothing) {
  Write("config/qxshift.INI", "[A]\nx=1\n");
  ::chmod(At("config/qxshift.INI").c_str(), 0666);
  fs::permissions(At("config"), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  EXPECT_EQ(AsUnprivileged([] { return WritePrivateProfileString("A", "x", "2", kIni) ? 1 : 0; }), 0);
  EXPECT_EQ(Read("config/qxshift.INI"), "[A]\nx=1\n");
  EXPECT_EQ(Listing("config"), std::vector<std::string>{"qxshift.INI"});
}

TEST_F(ProfileTest, WhereAFileNameLands) {
  Write("config/qxshift.INI", "");
  Write("home/.config/.keep", "");
  Write("sub/Local.ini", "");
  ::setenv("HOME", At("home").c_str(), 1);
  struct Case {
    const char* xdg;  // nullptr: unset
    std::string name, path;
  };
  const Case cases[] = {
      {"config", "QXSHIFT.ini", At("config/qxshift.INI")},
      {"config", "new.ini   ", At("config/new.ini")},
      {"relative/ignored", "qxshift.INI", At("home/.config/qxshift.INI")},
      {nullptr, "qxshift.INI", At("home/.config/qxshift.INI")},
      {"config", "SUB\\local.INI", "sub/Local.ini"},  // with a directory: as written
      {"config", "", ""},
  };
  for (const auto& c : cases) {
    if (!c.xdg) ::unsetenv("XDG_CONFIG_HOME");
    else if (c.xdg[0] == 'c') ::setenv("XDG_CONFIG_HOME", At(c.xdg).c_str(), 1);
    else ::setenv("XDG_CONFIG_HOME", c.xdg, 1);
    EXPECT_EQ(RtProfilePath(c.name), c.path) << c.name;
  }
}

TEST_F(ProfileTest, WritersTakeTurnsAndLoseNothing) {
  const int kPerWriter = 40;
  auto writer = [&](const std::string& prefix) {
    for (int i = 0; i < kPerWriter; ++i) {
      WritePrivateProfileString("__Dont_Touch_Me__", prefix + std::to_string(i), "v", kIni);
    }
  };
  // A writer in another process too (forked before the threads start, so it inherits
  // no lock of theirs): the turns hold across processes.
  const pid_t child = ::fork();
  if (child == 0) {
    writer("c");
    ::_exit(0);
  }
  std::thread a(writer, "a"), b(writer, "b");
  a.join();
  b.join();
  int status = -1;
  ::waitpid(child, &status, 0);
  ASSERT_EQ(status, 0);
  for (const char* prefix : {"a", "b", "c"}) {
    for (int i = 0; i < kPerWriter; ++i) {
      EXPECT_EQ(GetPrivateProfileString("__Dont_Touch_Me__", prefix + std::to_string(i), "lost", kIni), "v")
          << prefix << i;
    }
  }
}

}  // namespace
}  // namespace qx
