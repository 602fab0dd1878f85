// The INI manager: the list in "__Dont_Touch_Me__" read at Init and written at Shutdown,
// through the private-profile functions, in a configuration directory of the test's own.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "classlib/ini_manager.h"
#include "runtime/sys/profile.h"
#include "tests/support/files.h"

namespace qx {
namespace {

class IniManagerTest : public ::testing::Test {
 protected:
  IniManagerTest() { ::setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1); }
  ~IniManagerTest() override { ::unsetenv("XDG_CONFIG_HOME"); }

  std::string Path() const { return config_ / "qxshift.INI"; }
  void WriteIni(const std::string& content) const { testing::WriteBytes(Path(), content); }
  std::string ReadIni() const { return testing::FileBytes(Path()); }
  std::string Value(const std::string& key) const {
    return GetPrivateProfileString("__Dont_Touch_Me__", key, "<missing>", "qxshift.INI");
  }

  testing::TempDir config_;
};

struct Texts {
  std::string family, item, type;
  bool operator==(const Texts&) const = default;
};

std::vector<Texts> ListOf(const IniManager& ini) {
  std::vector<Texts> out;
  for (const IniSector& s : *ini.SECTORS) out.push_back({s.FAMILY.str(), s.ITEM.str(), s.TYPE.str()});
  return out;
}

TEST_F(IniManagerTest, AMissingFileReadsAsNoEntriesAndIsWrittenWithSectorsZero) {
  IniManager ini;
  ini.Init("qxshift.INI");
  EXPECT_EQ(ini.FILENAME.str(), "qxshift.INI");
  ASSERT_TRUE(ini.SECTORS);
  EXPECT_TRUE(ini.SECTORS->empty());
  EXPECT_FALSE(std::filesystem::exists(Path())) << "reading makes no file";
  ini.Shutdown();
  EXPECT_FALSE(ini.SECTORS);
  EXPECT_EQ(ReadIni(), "[__Dont_Touch_Me__]\nSectors=0\n");
}

TEST_F(IniManagerTest, EntriesAreReadIntoTheirThreeTextsAndWrittenBackTheSame) {
  WriteIni(
      "; kept\r\n"
      "[Other]\r\n"
      "Sectors=7\r\n"
      "[__Dont_Touch_Me__]\r\n"
      "Sectors=6\r\n"
      "Sectors_1=Browse,List,Window\r\n"
      "Sectors_2=OnlyFamily\r\n"
      "Sectors_3=a,b,c,d\r\n"
      "Sectors_4=,,\r\n"
      "Sectors_6=x, y ,z\r\n"
      "Unrelated=stays\r\n");
  const std::vector<Texts> expected = {{"Browse", "List", "Window"}, {"OnlyFamily", "", ""}, {"a", "b", "c,d"},
                                       {"", "", ""},                 {"", "", ""},           {"x", " y ", "z"}};
  IniManager ini;
  ini.Init("qxshift.INI");
  EXPECT_EQ(ListOf(ini), expected);
  ini.Shutdown();

  IniManager again;
  again.Init("qxshift.INI");
  EXPECT_EQ(ListOf(again), expected) << "the same entries come back";
  EXPECT_EQ(Value("Sectors"), "6");
  EXPECT_EQ(Value("Sectors_3"), "a,b,c,d");
  EXPECT_EQ(Value("Sectors_5"), ",,") << "a missing entry is written as three empty texts";
  EXPECT_EQ(Value("Unrelated"), "stays");
  EXPECT_EQ(GetPrivateProfileString("Other", "Sectors", "", "qxshift.INI"), "7");
  EXPECT_EQ(ReadIni().rfind("; kept\r\n[Other]\r\n", 0), 0u) << "other lines and the line ends stay";
  again.SECTORS.reset();  // no second write
}

TEST_F(IniManagerTest, ACountThatIsNoWholeNumberReadsAsZero) {
  for (const char* count : {"---Unknown---", "", "abc", "-3", "2x", "+2", "1.5", "0"}) {
    SCOPED_TRACE(std::string("Sectors=") + count);
    WriteIni(std::string("[__Dont_Touch_Me__]\nSectors=") + count + "\nSectors_1=a,b,c\n");
    IniManager ini;
    ini.Init("qxshift.INI");
    EXPECT_TRUE(ini.SECTORS->empty());
    ini.Shutdown();
    EXPECT_EQ(Value("Sectors"), "0");
  }
}

TEST_F(IniManagerTest, ACountAboveTheLimitReadsAtMostTheLimit) {
  for (const char* count : {"99999999999999999999999", "4294967297", "1025"}) {
    SCOPED_TRACE(count);
    WriteIni(std::string("[__Dont_Touch_Me__]\nSectors=") + count + "\nSectors_1=a,b,c\nSectors_1024=p,q,r\n");
    IniManager ini;
    ini.Init("qxshift.INI");
    ASSERT_EQ(ini.SECTORS->size(), static_cast<size_t>(IniManager::kMaxSectors));
    EXPECT_EQ(ListOf(ini).front(), (Texts{"a", "b", "c"}));
    EXPECT_EQ(ListOf(ini).back(), (Texts{"p", "q", "r"}));
    ini.SECTORS.reset();  // no write
  }
}

TEST_F(IniManagerTest, ACountAboveTheLimitIsWrittenBackAsItWasRead) {
  WriteIni("[__Dont_Touch_Me__]\nSectors= 004294967297 \nSectors_1=a,b,c\nSectors_1024=p,q,r\nSectors_1025=x,y,z\n");
  IniManager ini;
  ini.Init("qxshift.INI");
  ini.Shutdown();
  EXPECT_EQ(Value("Sectors"), "4294967297") << "the count is not lost";
  EXPECT_EQ(Value("Sectors_1"), "a,b,c");
  EXPECT_EQ(Value("Sectors_2"), ",,");
  EXPECT_EQ(Value("Sectors_1024"), "p,q,r");
  EXPECT_EQ(Value("Sectors_1025"), "x,y,z") << "past the list: left as it was";

  // A list the program changed is written with its own count.
  IniManager cleared;
  cleared.Init("qxshift.INI");
  cleared.SECTORS->clear();
  cleared.Shutdown();
  EXPECT_EQ(Value("Sectors"), "0");
}

TEST_F(IniManagerTest, InitCallsItsHookBeforeReadingAndShutdownWithoutInitWritesNothing) {
  struct Hooked : IniManager {
    bool sectorsMadeBeforeHook = false;
    size_t entriesAtHook = 99;
    void InitHook() override {
      IniManager::InitHook();
      sectorsMadeBeforeHook = SECTORS != nullptr;
      entriesAtHook = SECTORS ? SECTORS->size() : 99;
    }
  };
  WriteIni("[__Dont_Touch_Me__]\nSectors=1\nSectors_1=a,b,c\n");
  Hooked ini;
  ini.Shutdown();  // never initialised
  EXPECT_EQ(Value("Sectors"), "1");
  ini.Init("qxshift.INI");
  EXPECT_TRUE(ini.sectorsMadeBeforeHook);
  EXPECT_EQ(ini.entriesAtHook, 0u);
  EXPECT_EQ(ini.SECTORS->size(), 1u);
  ini.SECTORS->clear();
  ini.Shutdown();
  EXPECT_EQ(Value("Sectors"), "0");
  WriteIni("[__Dont_Touch_Me__]\nSectors=1\nSectors_1=a,b,c\n");
  ini.Shutdown();  // shut down already
  EXPECT_EQ(Value("Sectors"), "1");
}

}  // namespace
}  // namespace qx
