// Copying, renaming and removing files, with their error codes.
#include "runtime/sys/files.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <gtest/gtest.h>

#include "runtime/sys/error_state.h"
#include "tests/sys/sys_fixture.h"

namespace qx {
namespace {

using testing::AsUnprivileged;
using testing::InChildProcess;
using testing::SysTest;
namespace fs = std::filesystem;

using Names = std::vector<std::string>;

class FilesTest : public SysTest {
 protected:
  void SetUp() override {
    SysTest::SetUp();
    Write("Orig/Standrd.TPS", "old layout, four records");
    Write("Data/Standrd.TPS", "converted");
    Write("Data/file.txt", "x");
    fs::create_directory(At("Data/Sub"));
    fs::current_path(At(""));
  }
};

TEST_F(FilesTest, RemoveFile) {
  struct Case {
    std::string name;
    LONG code;
  };
  const Case cases[] = {
      {"data\\STANDRD.tps", 0},
      {"Data/Standrd.TPS", kFileNotFound},  // gone after the first
      {"Data/Missing.TPS", kFileNotFound},
      {"Nowhere/Standrd.TPS", kPathNotFound},
      {"Data/file.txt/x", kPathNotFound},
      {"Data/Sub", kAccessDenied},  // a directory in place of a file
  };
  for (const auto& c : cases) {
    RtSetError(kRecordNotAvailable);
    RtRemoveFile(c.name);
    EXPECT_EQ(RtErrorCode(), c.code) << c.name;
  }
  EXPECT_EQ(Listing("Data"), (Names{"Sub", "file.txt"}));
}

TEST_F(FilesTest, RemoveFileFromAReadOnlyDirectoryIsAccessDenied) {
  fs::permissions(At("Data"), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  EXPECT_EQ(AsUnprivileged([&] {
              RtRemoveFile(At("Data/Standrd.TPS"));
              return static_cast<int>(RtErrorCode());
            }),
            kAccessDenied);
  EXPECT_TRUE(Exists("Data/Standrd.TPS"));
}

TEST_F(FilesTest, CopyMakesOrReplacesTheTarget) {
  ::chmod(At("Orig/Standrd.TPS").c_str(), 0640);
  const auto mtime = fs::file_time_type::clock::now() - std::chrono::hours(48);
  fs::last_write_time(At("Orig/Standrd.TPS"), mtime);

  RtSetError(kRecordNotAvailable);
  RtCopyFile("orig\\standrd.tps", "Standrd.TPS");  // new target
  EXPECT_EQ(RtErrorCode(), 0);
  EXPECT_EQ(Read("Standrd.TPS"), "old layout, four records");
  EXPECT_EQ(fs::status(At("Standrd.TPS")).permissions() & fs::perms::mask,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(fs::last_write_time(At("Standrd.TPS")), mtime);

  // An existing longer target is replaced, not overwritten in place: nothing of it stays.
  Write("Data/Standrd.TPS", std::string(100, 'z'));
  RtCopyFile("Orig/Standrd.TPS", "DATA/STANDRD.TPS");  // matches the existing spelling
  EXPECT_EQ(RtErrorCode(), 0);
  EXPECT_EQ(Read("Data/Standrd.TPS"), "old layout, four records");
  EXPECT_EQ(Listing("Data"), (Names{"Standrd.TPS", "Sub", "file.txt"}));
}

TEST_F(FilesTest, CopyErrorsLeaveTheTargetAsItWas) {
  struct Case {
    std::string source, target;
    LONG code;
  };
  const Case cases[] = {
      {"Orig/Missing.TPS", "Data/Standrd.TPS", kFileNotFound},
      {"Nowhere/Standrd.TPS", "Data/Standrd.TPS", kPathNotFound},
      {"Orig/Standrd.TPS", "Nowhere/Standrd.TPS", kPathNotFound},
      {"Data/Sub", "Data/Standrd.TPS", kAccessDenied},  // a directory as the source
      {"Orig/Standrd.TPS", "Data/Sub", kAccessDenied},  // a directory as the target
  };
  for (const auto& c : cases) {
    RtCopyFile(c.source, c.target);
    EXPECT_EQ(RtErrorCode(), c.code) << c.source << " -> " << c.target;
    EXPECT_EQ(Read("Data/Standrd.TPS"), "converted");
    EXPECT_EQ(Listing("Data"), (Names{"Standrd.TPS", "Sub", "file.txt"}));
    EXPECT_TRUE(Listing("Data/Sub").empty());
  }
  EXPECT_FALSE(Exists("Nowhere"));
}

TEST_F(FilesTest, CopyIntoAReadOnlyDirectoryIsAccessDenied) {
  fs::permissions(At("Data"), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  EXPECT_EQ(AsUnprivileged([&] {
              RtCopyFile(At("Orig/Standrd.TPS"), At("Data/Standrd.TPS"));
              return static_cast<int>(RtErrorCode());
            }),
            kAccessDenied);
  EXPECT_EQ(Read("Data/Standrd.TPS"), "converted");
}

TEST_F(FilesTest, ACopyThatFailsHalfwayKeepsTheOldTarget) {
  // A file-size limit makes the writing fail after the first kilobyte.
  Write("Orig/Big.TPS", std::string(64 * 1024, 'n'));
  const int code = InChildProcess([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const struct rlimit limit = {1024, 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    RtCopyFile(At("Orig/Big.TPS"), At("Data/Standrd.TPS"));
    return static_cast<int>(RtErrorCode());
  });
  EXPECT_EQ(code, kAccessDenied);
  EXPECT_EQ(Read("Data/Standrd.TPS"), "converted");
  EXPECT_EQ(Listing("Data"), (Names{"Standrd.TPS", "Sub", "file.txt"}));
}

TEST_F(FilesTest, RenameMovesAFileToANameThatIsFree) {
  RtSetError(kRecordNotAvailable);
  RtRenameFile("data\\standrd.tps", "Data/STANDRD.tpe");
  EXPECT_EQ(RtErrorCode(), 0);
  RtRenameFile("Data/Standrd.tpe", "Orig/Moved.tpe");  // into another directory
  EXPECT_EQ(RtErrorCode(), 0);
  EXPECT_EQ(Read("Orig/Moved.tpe"), "converted");
  EXPECT_EQ(Listing("Data"), (Names{"Sub", "file.txt"}));
}

TEST_F(FilesTest, RenameFailsChangingNothing) {
  Write("Data/Standrd.tpe", "example");
  struct Case {
    std::string from, to;
    LONG code;
  };
  const Case cases[] = {
      {"Data/Standrd.TPS", "Data/Standrd.tpe", kAccessDenied},  // the new name exists
      {"Data/Standrd.TPS", "data/STANDRD.TPE", kAccessDenied},  // ... in another case
      {"Data/Standrd.TPS", "Data/Sub", kAccessDenied},          // ... as a directory
      {"Data/Missing.TPS", "Data/New.tpe", kFileNotFound},
      {"Nowhere/Standrd.TPS", "Data/New.tpe", kPathNotFound},
      {"Data/Standrd.TPS", "Nowhere/New.tpe", kPathNotFound},
  };
  for (const auto& c : cases) {
    RtRenameFile(c.from, c.to);
    EXPECT_EQ(RtErrorCode(), c.code) << c.from << " -> " << c.to;
    EXPECT_EQ(Listing("Data"), (Names{"Standrd.TPS", "Standrd.tpe", "Sub", "file.txt"}));
    EXPECT_EQ(Read("Data/Standrd.TPS"), "converted");
    EXPECT_EQ(Read("Data/Standrd.tpe"), "example");
  }
}

TEST_F(FilesTest, RenameToAnotherCaseOfItsOwnNameChangesTheSpelling) {
  RtRenameFile("Data/Standrd.TPS", "Data/STANDRD.tps");
  EXPECT_EQ(RtErrorCode(), 0);
  RtRenameFile("Data/STANDRD.tps", "Data/STANDRD.tps");  // the same name: nothing to do
  EXPECT_EQ(RtErrorCode(), 0);
  EXPECT_EQ(Listing("Data"), (Names{"STANDRD.tps", "Sub", "file.txt"}));
  EXPECT_EQ(Read("Data/STANDRD.tps"), "converted");
}

TEST_F(FilesTest, RenameInAReadOnlyDirectoryIsAccessDenied) {
  fs::permissions(At("Data"), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  EXPECT_EQ(AsUnprivileged([&] {
              RtRenameFile(At("Data/Standrd.TPS"), At("Data/Standrd.tpe"));
              return static_cast<int>(RtErrorCode());
            }),
            kAccessDenied);
  EXPECT_TRUE(Exists("Data/Standrd.TPS"));
}

}  // namespace
}  // namespace qx
