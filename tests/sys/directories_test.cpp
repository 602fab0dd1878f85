// The current directory and directory creation and removal.
#include "runtime/sys/directories.h"

#include <gtest/gtest.h>

#include "runtime/sys/error_state.h"
#include "tests/sys/sys_fixture.h"

namespace qx {
namespace {

using testing::AsUnprivileged;
using testing::SysTest;
namespace fs = std::filesystem;

class DirectoriesTest : public SysTest {
 protected:
  void SetUp() override {
    SysTest::SetUp();
    Write("Demo/Data/Standrd.TPS", "x");
    Write("Demo/file.txt", "x");
    fs::current_path(At(""));
  }
};

TEST_F(DirectoriesTest, SetPathEntersTheDirectoryOrReportsPathNotFound) {
  struct Case {
    std::string name;
    LONG code;
    std::string cwdAfter;  // relative to the test's directory
  };
  const Case cases[] = {
      {"Demo/Data", 0, "Demo/Data"},
      {"demo\\DATA", 0, "Demo/Data"},
      {"Demo/Data      ", 0, "Demo/Data"},
      {"DEMO/data/", 0, "Demo/Data"},
      {"Demo/Nothing", kPathNotFound, ""},
      {"Demo/file.txt", kPathNotFound, ""},
      {"Demo/file.txt/x", kPathNotFound, ""},
      {"", kPathNotFound, ""},
      {"     ", kPathNotFound, ""},
  };
  for (const auto& c : cases) {
    fs::current_path(At(""));
    RtSetError(kRecordNotAvailable);
    RtSetPath(c.name);
    EXPECT_EQ(RtErrorCode(), c.code) << "'" << c.name << "'";
    EXPECT_EQ(fs::current_path(), fs::path(At(c.cwdAfter))) << "'" << c.name << "'";
  }
}

TEST_F(DirectoriesTest, SetPathUsesTheWholeOfALongName) {
  // Exactly 260 characters name an existing directory; a longer name that begins with
  // them names another, missing one and must not land in the first.
  const std::string base = At("");
  const std::string exact = base + "/" + std::string(260 - base.size() - 1, 'd');
  ASSERT_EQ(exact.size(), 260u);
  fs::create_directory(exact);
  RtSetPath(exact + "/missing");
  EXPECT_EQ(RtErrorCode(), kPathNotFound);
  EXPECT_EQ(fs::current_path(), fs::path(base));
  // A directory deeper than 260 characters can be entered.
  const std::string deep = exact + "/" + std::string(100, 'e');
  fs::create_directory(deep);
  RtSetPath(deep);
  EXPECT_EQ(RtErrorCode(), 0);
  EXPECT_EQ(fs::current_path(), fs::path(deep));
}

TEST_F(DirectoriesTest, SetPathWithoutPermissionIsPathNotFound) {
  fs::permissions(At("Demo/Data"), fs::perms::owner_all);  // others may not enter
  const int code = AsUnprivileged([&] {
    RtSetPath(At("Demo/Data"));
    return static_cast<int>(RtErrorCode());
  });
  EXPECT_EQ(code, kPathNotFound);
}

TEST_F(DirectoriesTest, CreateDirectory) {
  RtSetError(kRecordNotAvailable);
  EXPECT_EQ(RtCreateDirectory("demo\\VHtemp"), 0);
  EXPECT_TRUE(fs::is_directory(At("Demo/VHtemp")));
  EXPECT_EQ(RtCreateDirectory("Demo/VHtemp"), -1);   // exists already
  EXPECT_EQ(RtCreateDirectory("Demo/file.txt"), -1);  // a file of that name
  EXPECT_EQ(RtCreateDirectory("Demo/No/VHtemp"), -1); // the parent is missing
  EXPECT_EQ(RtCreateDirectory(""), -1);
  EXPECT_FALSE(Exists("Demo/No"));
  // Directory creation answers with its result, not through the error state.
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable);
}

TEST_F(DirectoriesTest, CreateDirectoryInAReadOnlyDirectoryFails) {
  fs::permissions(At("Demo"), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  EXPECT_EQ(AsUnprivileged([&] { return RtCreateDirectory(At("Demo/VHtemp")) == -1 ? 1 : 0; }), 1);
  EXPECT_FALSE(Exists("Demo/VHtemp"));
}

TEST_F(DirectoriesTest, RemoveDirectory) {
  fs::create_directory(At("Demo/VHtemp"));
  RtSetError(kRecordNotAvailable);
  EXPECT_EQ(RtRemoveDirectory("Demo/Data"), -1);      // not empty
  EXPECT_EQ(RtRemoveDirectory("Demo/file.txt"), -1);  // not a directory
  EXPECT_EQ(RtRemoveDirectory("Demo/Missing"), -1);
  EXPECT_EQ(RtRemoveDirectory("DEMO\\vhtemp  "), 0);
  EXPECT_FALSE(Exists("Demo/VHtemp"));
  EXPECT_TRUE(Exists("Demo/Data/Standrd.TPS"));
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable);
}

}  // namespace
}  // namespace qx
