// Outcomes and error codes of the record operations on one instance: opening, creating,
// adding, changing and removing records, properties and driver options.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <barrier>
#include <filesystem>
#include <functional>
#include <thread>

#include "tests/store/test_files.h"
#include "tests/support/processes.h"

namespace qx::testing {
namespace {

class OperationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = MakeStandrd(dir_ / "STANDRD");
    CREATE(*file_);
    ASSERT_EQ(RtErrorCode(), 0) << RtPushFileErrorText();
  }
  void TearDown() override {
    if (file_) CLOSE(*file_);
  }
  // Leaves the file readable only (its directory reachable by all) and runs `check` in a
  // child process as an unprivileged user, since root may write anything; gives what it
  // returned (254: the child could not become that user, 255: it did not end normally).
  int OnReadOnlyFileAsUnprivileged(const std::function<int()>& check) {
    ::chmod(dir_.path().c_str(), 0755);
    ::chmod((dir_ / "STANDRD.TPS").c_str(), 0444);
    return AsUnprivileged(check);
  }
  TempDir dir_;
  std::unique_ptr<FileDecl> file_;
};

TEST_F(OperationsTest, CreateInEmptyDirectoryLeavesOneFileThatOpens) {
  EXPECT_EQ(dir_.Names(), std::vector<std::string>{"STANDRD.TPS"});
  OPEN(*file_, 0x22);
  EXPECT_EQ(RtErrorCode(), 0);
  SETfile(*file_);
  NEXT(*file_);
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable);  // no records
  CLOSE(*file_);
  EXPECT_EQ(dir_.Names(), std::vector<std::string>{"STANDRD.TPS"});
}

TEST_F(OperationsTest, OpenOutcomes) {
  // The file on disk was created from Standrd's declaration; each case opens it (or a
  // missing name) under another declaration.
  auto moreKeys = StandrdKeys();
  moreKeys.push_back(DupOptNocase("STD:BySuburb", {"STD:SUBURB"}));
  auto otherAttr = StandrdKeys();
  otherAttr[0].nocase = false;
  auto otherComponent = StandrdKeys();
  otherComponent[1].components = {"STD:SUBURB"};
  auto renamedKey = StandrdKeys();
  renamedKey[0].name = "STD:BYNAMES";
  RecordLayout wider = StandrdLayout();
  wider.AddField("STD:PHONE", FieldType::kString, 20);
  struct Case {
    const char* what;
    std::unique_ptr<FileDecl> decl;
    LONG mode;
    LONG code;
  };
  Case cases[] = {
      {"same declaration, other case of the name", MakeStandrd(dir_ / "standrd.tps"), 0x22, 0},
      {"missing file", MakeStandrd(dir_ / "NOSUCH"), 0x22, kFileNotFound},
      {"missing directory", MakeStandrd(dir_ / "nodir/STANDRD"), 0x22, kPathNotFound},
      {"more keys than stored", MakeStandrd(dir_ / "STANDRD", moreKeys), 0x22, kInvalidRecordDeclaration},
      {"fewer keys than stored", MakeStandrd(dir_ / "STANDRD", {StandrdKeys()[0]}), 0x22, kInvalidRecordDeclaration},
      {"key attribute differs", MakeStandrd(dir_ / "STANDRD", otherAttr), 0x22, kInvalidRecordDeclaration},
      {"key component differs", MakeStandrd(dir_ / "STANDRD", otherComponent), 0x22, kInvalidRecordDeclaration},
      {"key name differs", MakeStandrd(dir_ / "STANDRD", renamedKey), 0x22, kInvalidRecordDeclaration},
      {"one more field",
       std::make_unique<FileDecl>("S", FileName(dir_ / "STANDRD"), "STD", "", CreateThread(), wider, StandrdKeys()),
       0x22, kInvalidRecordDeclaration},
      {"mode outside the nibbles", MakeStandrd(dir_ / "STANDRD"), 0x52, kUnsupportedDriverFunction},
  };
  for (auto& c : cases) {
    OPEN(*c.decl, c.mode);
    EXPECT_EQ(RtErrorCode(), c.code) << c.what << ": " << RtPushFileErrorText();
    if (RtErrorCode() == 0) CLOSE(*c.decl);
  }
}

TEST_F(OperationsTest, OpenTwiceIs52AndCloseOfClosedIs37) {
  OPEN(*file_, 0x42);
  ASSERT_EQ(RtErrorCode(), 0);
  OPEN(*file_, 0x42);
  EXPECT_EQ(RtErrorCode(), kFileAlreadyOpen);
  CLOSE(*file_);
  EXPECT_EQ(RtErrorCode(), 0);
  CLOSE(*file_);
  EXPECT_EQ(RtErrorCode(), kFileNotOpen);
}

TEST_F(OperationsTest, OperationsOnAClosedInstanceReport37) {
  const std::pair<const char*, std::function<void()>> ops[] = {
      {"ADD", [&] { ADD(*file_); }},           {"PUT", [&] { PUT(*file_); }},
      {"DELETE", [&] { DELETE(*file_); }},     {"NEXT", [&] { NEXT(*file_); }},
      {"PREVIOUS", [&] { PREVIOUS(*file_); }}, {"SETfile", [&] { SETfile(*file_); }},
      {"SETkey", [&] { SETkey(file_->key(0)); }}, {"POSITIONfile", [&] { POSITIONfile(*file_); }},
      {"RESETfile", [&] { RESETfile(*file_, "R1"); }}, {"REGETfile", [&] { REGETfile(*file_, "R1"); }},
      {"WATCH", [&] { WATCH(*file_); }},       {"GETfileptr", [&] { GETfileptr(*file_, 1); }},
      {"LOCK", [&] { LOCK(*file_); }},
  };
  for (const auto& [name, op] : ops) {
    op();
    EXPECT_EQ(RtErrorCode(), kFileNotOpen) << name;
  }
}

TEST_F(OperationsTest, CreateNeedsTheAttributeAndAClosedInstance) {
  FileAttributes noCreate;
  auto plain = MakeStandrd(dir_ / "OTHER", StandrdKeys(), "", noCreate);
  CREATE(*plain);
  EXPECT_EQ(RtErrorCode(), kNoCreateAttribute);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "OTHER.TPS"));

  OPEN(*file_, 0x42);
  CREATE(*file_);
  EXPECT_EQ(RtErrorCode(), kFileAlreadyOpen);
}

TEST_F(OperationsTest, CreateReplacesAnExistingFile) {
  OPEN(*file_, 0x42);
  AddStandrd(*file_, 1, "Smith");
  CLOSE(*file_);
  CREATE(*file_);
  ASSERT_EQ(RtErrorCode(), 0);
  OPEN(*file_, 0x42);
  SETfile(*file_);
  NEXT(*file_);
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable);
}

TEST_F(OperationsTest, AddPutDeleteAndTheCurrentRecord) {
  OPEN(*file_, 0x42);
  PUT(*file_);
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable) << "PUT without a current record";
  DELETE(*file_);
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable) << "DELETE without a current record";

  ASSERT_EQ(AddStandrd(*file_, 7, "Smith", "Carlton"), 0);
  ASSERT_EQ(AddStandrd(*file_, 7, "Smith", "Carlton"), 0) << "a duplicate in DUP keys is stored";
  auto& r = file_->Record<StandrdRecord>();
  r.SUBURB = "Fitzroy";
  PUT(*file_);  // the record just added is current
  EXPECT_EQ(RtErrorCode(), 0);

  SETfile(*file_);
  NEXT(*file_);
  EXPECT_EQ(r.SUBURB.clipped(), "Carlton");
  NEXT(*file_);
  EXPECT_EQ(r.SUBURB.clipped(), "Fitzroy");
  DELETE(*file_);
  EXPECT_EQ(RtErrorCode(), 0);
  PUT(*file_);
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable) << "the deleted record is no longer current";
  EXPECT_EQ(RecordOrderIds(*file_).size(), 1u);
}

TEST_F(OperationsTest, ReadOnlyAccessRefusesWrites) {
  OPEN(*file_, 0x40);
  ASSERT_EQ(RtErrorCode(), 0);
  AddStandrd(*file_, 1, "A");
  EXPECT_EQ(RtErrorCode(), kAccessDenied);
  LOGOUT(1, *file_);
  EXPECT_EQ(RtErrorCode(), kUnableToLogTransaction);
}

TEST_F(OperationsTest, GetFilePointer) {
  OPEN(*file_, 0x42);
  AddStandrd(*file_, 5, "Jones");
  const std::string pos = POSITIONfile(*file_);
  GETfileptr(*file_, 0);
  EXPECT_EQ(RtErrorCode(), kRecordNotFound);
  PUT(*file_);
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable) << "pointer 0 leaves no current record";
  file_->Record<StandrdRecord>().CUSID = 0;
  GETfileptr(*file_, 1);
  EXPECT_EQ(RtErrorCode(), 0);
  EXPECT_EQ(file_->Record<StandrdRecord>().CUSID, 5);
  EXPECT_EQ(POSITIONfile(*file_), pos);
}

TEST_F(OperationsTest, UniqueKeyRefusesADuplicate) {
  auto keys = StandrdKeys();
  keys[1].dup = false;
  auto unique = MakeStandrd(dir_ / "UNIQUE", keys);
  CREATE(*unique);
  OPEN(*unique, 0x42);
  EXPECT_EQ(AddStandrd(*unique, 1, "A"), 0);
  EXPECT_EQ(AddStandrd(*unique, 1, "B"), kCreatesDuplicateKey);
  EXPECT_EQ(RecordOrderIds(*unique).size(), 1u) << "nothing half-added";
  CLOSE(*unique);
}

TEST(PropertiesTest, OwnerAndDeclaredNameWhetherOpenOrNot) {
  STRING<256> varName("variable.tps");
  FileDecl varname("Varname", FileName(&varName), "VAR", "", CreateThread(), StandrdLayout("VAR"), VarnameKeys());
  auto encrypt = MakeStandrd("ENCRYPT", StandrdKeys(), "xk");
  auto standrd = MakeStandrd("STANDRD");
  EXPECT_EQ(GET_PROPERTY(*standrd, kPropOwner), "");
  EXPECT_EQ(GET_PROPERTY(*encrypt, kPropOwner), "xk");
  EXPECT_EQ(GET_PROPERTY(*standrd, kPropFileName), "STANDRD");
  EXPECT_EQ(GET_PROPERTY(varname, kPropFileName), "variable.tps");
  EXPECT_EQ(RtErrorCode(), 0);
  EXPECT_EQ(GET_PROPERTY(varname, 0x7317), "");
  EXPECT_EQ(RtErrorCode(), kUnsupportedDriverFunction);
  EXPECT_EQ(NAME(*standrd), "STANDRD.TPS");
  EXPECT_EQ(NAME(varname), "variable.tps");
  EXPECT_EQ(RtErrorCode(), kUnsupportedDriverFunction) << "NAME leaves the error state alone";
}

TEST(SendTest, OptionsAndReplies) {
  auto f = MakeStandrd("/nonexistent/STANDRD");
  struct Case {
    const char* option;
    const char* reply;
  };
  const Case cases[] = {
      {"QUICKSCAN=on", "on"}, {"QUICKSCAN", "on"},     {"quickscan=OFF", "off"}, {"QUICKSCAN", "off"},
      {"QUICKSCAN=maybe", ""}, {"Recover=10", "10"},   {"RECOVER=x", ""},        {"Recover=", ""},
      {"FULLBUILD=on", ""},    {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SEND(*f, c.option), c.reply) << c.option;
    EXPECT_EQ(RtErrorCode(), 0) << c.option;
  }
}

}  // namespace
}  // namespace qx::testing

namespace qx::testing {
namespace {

// A file its opener may only read cannot be held: LOCK is refused with 5, not reported as
// held by somebody else (32). Runs as an unprivileged user, since root may write anything.
TEST_F(OperationsTest, HoldingAFileOpenedWithoutWritePermissionIsRefused) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to switch to an unprivileged user";
  const int code = OnReadOnlyFileAsUnprivileged([&] {
    OPEN(*file_, 0x40);
    if (RtErrorCode() != 0) return 101;
    LOCK(*file_);
    return static_cast<int>(RtErrorCode());
  });
  EXPECT_EQ(code, kAccessDenied);
}

// Two openers that may only read the file (no write permission), one denying others
// reading, race each other: never are both admitted. Runs as an unprivileged user.
TEST_F(OperationsTest, ReadOnlyOpenersWithConflictingModesAreNeverBothAdmitted) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to switch to an unprivileged user";
  const int code = OnReadOnlyFileAsUnprivileged([&] {
    auto other = MakeStandrd(dir_ / "STANDRD");
    std::atomic<int> bothAdmitted{0}, admitted{0};
    std::barrier sync(2);
    auto race = [&](FileDecl& f, LONG mode) {
      for (int i = 0; i < 500; ++i) {
        sync.arrive_and_wait();
        OPEN(f, mode);
        const bool in = RtErrorCode() == 0;
        if (in) ++admitted;
        sync.arrive_and_wait();
        if (admitted == 2) ++bothAdmitted;
        sync.arrive_and_wait();
        if (in) CLOSE(f);
        admitted = 0;
      }
    };
    std::thread denier([&] { race(*file_, 0x10); });
    race(*other, 0x40);
    denier.join();
    return bothAdmitted == 0 ? 0 : 1;
  });
  EXPECT_EQ(code, 0);
}

// The number of descriptors the process has open.
size_t OpenDescriptors() {
  size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

// While one instance keeps the file open, another opens and closes it again and again:
// the process does not collect a descriptor per cycle.
TEST_F(OperationsTest, OpenCloseCyclesKeepTheDescriptorsBounded) {
  OPEN(*file_, 0x42);
  ASSERT_EQ(RtErrorCode(), 0);
  auto other = MakeStandrd(dir_ / "STANDRD");
  OPEN(*other, 0x42);
  CLOSE(*other);
  const size_t before = OpenDescriptors();
  for (int i = 0; i < 2000; ++i) {
    OPEN(*other, i % 2 ? 0x42 : 0x40);
    ASSERT_EQ(RtErrorCode(), 0) << "cycle " << i << ": " << RtPushFileErrorText();
    CLOSE(*other);
  }
  EXPECT_LE(OpenDescriptors(), before + 2);
}

// A file written before record pointers were kept from reuse (format "qxstore 1": the
// same tables, the record table without AUTOINCREMENT) is read as it is, and the first
// opener that may write brings it up to date without losing a record or a position.
TEST_F(OperationsTest, AFileWhosePointersCouldBeReusedIsUpgradedByItsFirstWriter) {
  OPEN(*file_, 0x42);
  for (LONG i = 1; i <= 3; ++i) AddStandrd(*file_, i, "N" + std::to_string(i));
  const std::string third = POSITIONfile(*file_);
  SETfile(*file_);
  NEXT(*file_);
  NEXT(*file_);
  const std::string second = POSITIONfile(*file_);
  CLOSE(*file_);
  const std::string path = dir_ / "STANDRD.TPS";
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  ASSERT_EQ(sqlite3_exec(db,
                         "ALTER TABLE qx_record RENAME TO r;"
                         "CREATE TABLE qx_record(id INTEGER PRIMARY KEY, ver INTEGER NOT NULL, data BLOB NOT NULL,"
                         " k1 BLOB, k2 BLOB);"
                         "INSERT INTO qx_record SELECT * FROM r; DROP TABLE r; DELETE FROM sqlite_sequence;"
                         "CREATE INDEX qx_key1 ON qx_record(k1) WHERE k1 IS NOT NULL;"
                         "CREATE INDEX qx_key2 ON qx_record(k2) WHERE k2 IS NOT NULL;"
                         "UPDATE qx_file SET value = 'qxstore 1' WHERE item = 'format'",
                         nullptr, nullptr, nullptr),
            SQLITE_OK)
      << sqlite3_errmsg(db);
  sqlite3_close(db);
  const std::string old = FileBytes(path);

  OPEN(*file_, 0x40);
  ASSERT_EQ(RtErrorCode(), 0) << RtPushFileErrorText();
  EXPECT_EQ(RecordOrderIds(*file_), (std::vector<LONG>{1, 2, 3}));
  CLOSE(*file_);
  EXPECT_TRUE(FileBytes(path) == old) << "a reader leaves the file as it is";

  OPEN(*file_, 0x42);
  ASSERT_EQ(RtErrorCode(), 0) << RtPushFileErrorText();
  REGETfile(*file_, second);
  EXPECT_EQ(file_->Record<StandrdRecord>().CUSID, 2) << "positions name the same records";
  SETkey(file_->key(1));
  EXPECT_EQ(ReadAll(*file_, [&] { PREVIOUS(*file_); }), (std::vector<LONG>{3, 2, 1})) << "and the keys are whole";
  REGETfile(*file_, third);
  DELETE(*file_);
  AddStandrd(*file_, 4, "N4");
  EXPECT_NE(POSITIONfile(*file_), third) << "the deleted highest pointer is not given again";
  REGETfile(*file_, third);
  EXPECT_EQ(RtErrorCode(), kRecordNotFound);
  EXPECT_EQ(RecordOrderIds(*file_), (std::vector<LONG>{1, 2, 4}));
}

}  // namespace
}  // namespace qx::testing
