// Full and short forms of paths, and the host names the file operations act on.
#include "runtime/sys/paths.h"

#include <gtest/gtest.h>

#include "tests/sys/sys_fixture.h"

namespace qx {
namespace {

using testing::SysTest;

class FullPathTest : public SysTest {
 protected:
  void SetUp() override {
    SysTest::SetUp();
    Write("Demo/Data/Standrd.TPS", "x");
    Write("Demo/Orig/Var.TPS", "x");
    std::filesystem::current_path(At("Demo"));
  }
};

TEST_F(FullPathTest, NamesBecomeAbsoluteAndSpelledAsStored) {
  const std::string demo = At("Demo");
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"", demo},
      {"     ", demo},
      {".", demo},
      {"data", demo + "/Data"},
      {"DATA\\standrd.tps", demo + "/Data/Standrd.TPS"},
      {"data/standrd.tps   ", demo + "/Data/Standrd.TPS"},
      {"Data/../orig/VAR.tps", demo + "/Orig/Var.TPS"},
      {".\\Data\\.\\", demo + "/Data"},
      {"data//standrd.tps", demo + "/Data/Standrd.TPS"},
      {"data/NEW.TPS", demo + "/Data/NEW.TPS"},  // a file about to be made keeps its name
      {demo + "/DATA", demo + "/Data"},
      {"/", "/"},
      {"/..", "/"},
  };
  for (const auto& c : cases) EXPECT_EQ(RtFullPath(c.in), c.out) << "'" << c.in << "'";
}

TEST_F(FullPathTest, ShortFormIsThePathItself) {
  EXPECT_EQ(RtShortPath(""), At("Demo"));
  EXPECT_EQ(RtShortPath("Data\\Standrd.TPS  "), "Data\\Standrd.TPS");
  // What the programs do to read the current directory in its long form.
  EXPECT_EQ(RtFullPath(RtShortPath("")), At("Demo"));
}

TEST_F(FullPathTest, CurrentDirectoryThatWasRemovedGivesNothing) {
  Write("Gone/x", "");
  std::filesystem::current_path(At("Gone"));
  std::filesystem::remove_all(At("Gone"));
  EXPECT_EQ(RtFullPath(""), "");
  EXPECT_EQ(RtFullPath("Data"), "");
}

TEST_F(FullPathTest, HostPathIgnoresTrailingBlanksAndMatchesCase) {
  EXPECT_EQ(RtHostPath("data\\STANDRD.tps      "), "Data/Standrd.TPS");
  EXPECT_EQ(RtHostPath("orig/var.tps"), "Orig/Var.TPS");
  EXPECT_EQ(RtHostPath("   "), "");
}

}  // namespace
}  // namespace qx
