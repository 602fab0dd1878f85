// Case-insensitive path matching and separators.
#include "runtime/sys/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/support/locales.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/qx_paths_XXXXXX";
    root_ = ::mkdtemp(tmpl);
    fs::create_directories(root_ / "Data" / "Sub");
    std::ofstream(root_ / "Data" / "Standrd.TPS") << "x";
    std::ofstream(root_ / "Data" / "Sub" / "a.txt") << "x";
  }
  void TearDown() override { fs::remove_all(root_); }
  fs::path root_;
};

TEST_F(PathsTest, MatchesEachComponentWithoutRegardToCase) {
  const std::string r = root_.string();
  struct Case { std::string in; std::string out; };
  const Case cases[] = {
      {r + "/data/STANDRD.tps", r + "/Data/Standrd.TPS"},
      {r + "\\DATA\\standrd.TPS", r + "/Data/Standrd.TPS"},
      {r + "/Data/Standrd.TPS", r + "/Data/Standrd.TPS"},
      {r + "/DATA/sub/A.TXT", r + "/Data/Sub/a.txt"},
      {r + "/data/NEW.TPS", r + "/Data/NEW.TPS"},            // missing tail kept as written
      {r + "/nothere/STANDRD.tps", r + "/nothere/STANDRD.tps"},
      {r + "/data/", r + "/Data/"},
  };
  for (const auto& c : cases) EXPECT_EQ(RtResolvePath(c.in), c.out) << c.in;
}

TEST_F(PathsTest, ExactSpellingWinsOverAnotherCase) {
  std::ofstream(root_ / "Data" / "STANDRD.TPS") << "y";
  EXPECT_EQ(RtResolvePath((root_ / "Data" / "STANDRD.TPS").string()), (root_ / "Data" / "STANDRD.TPS").string());
  EXPECT_EQ(RtResolvePath((root_ / "Data" / "Standrd.TPS").string()), (root_ / "Data" / "Standrd.TPS").string());
  // Neither spelling exact: the first in byte order.
  EXPECT_EQ(RtResolvePath((root_ / "Data" / "standrd.tps").string()), (root_ / "Data" / "STANDRD.TPS").string());
}

// Names match by the letters A to Z whatever the locale: under a Turkish one the C library
// pairs "I" with a dotless i, so a locale-aware comparison would miss "variable.tps".
TEST_F(PathsTest, MatchingIgnoresTheLocalesCaseRules) {
  if (!testing::LocaleAvailable(testing::kTurkishLocale)) GTEST_SKIP() << testing::LocaleMissing(testing::kTurkishLocale);
  std::ofstream(root_ / "Data" / "variable.tps") << "x";
  std::ofstream(root_ / "Data" / "INDEX.TPS") << "x";
  const std::string r = root_.string();
  testing::ThreadLocale turkish(testing::kTurkishLocale, LC_ALL_MASK);
  ASSERT_TRUE(turkish.ok());
  struct Case { std::string in; std::string out; };
  const Case cases[] = {
      {r + "/DATA/VARIABLE.TPS", r + "/Data/variable.tps"},
      {r + "/data/index.tps", r + "/Data/INDEX.TPS"},
      {r + "/DATA/Sub/A.TXT", r + "/Data/Sub/a.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(RtResolvePath(c.in), c.out) << c.in;
}

TEST_F(PathsTest, RelativeNamesResolveAgainstTheCurrentDirectory) {
  const fs::path old = fs::current_path();
  fs::current_path(root_);
  EXPECT_EQ(RtResolvePath("data\\standrd.tps"), "Data/Standrd.TPS");
  EXPECT_EQ(RtResolvePath("missing.tps"), "missing.tps");
  fs::current_path(old);
}

TEST(Paths, NativeTurnsBackslashesOnly) {
  EXPECT_EQ(RtNativePath("a\\b/c\\"), "a/b/c/");
  EXPECT_EQ(RtNativePath(""), "");
}

}  // namespace
}  // namespace qx
