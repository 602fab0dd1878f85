// Files the store cannot use: each OPEN reports a clear code, nothing crashes, and the
// file is left byte for byte as it was, with nothing beside it.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "tests/store/test_files.h"

namespace qx::testing {
namespace {

std::string RandomBytes(size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(gen());
  return s;
}

// A data file of ours with some records, as bytes.
std::string GoodFileBytes(const TempDir& dir, const std::string& owner) {
  FileAttributes attrs = CreateThread();
  attrs.encrypt = !owner.empty();
  auto f = MakeStandrd(dir / "GOOD", StandrdKeys(), owner, attrs);
  CREATE(*f);
  OPEN(*f, 0x42);
  for (int i = 1; i <= 300; ++i) AddStandrd(*f, i, "Name" + std::to_string(i), "Suburb");
  CLOSE(*f);
  return FileBytes(dir / "GOOD.TPS");
}

// `bytes`, a plain data file, with the first byte of the root page of `table` (its b-tree
// page type) overwritten: whatever reads that table finds it malformed.
std::string DamagedTable(const TempDir& dir, const std::string& bytes, const char* table) {
  const std::string path = dir / "damaged.db";
  WriteBytes(path, bytes);
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  auto number = [&](const std::string& sql) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr);
    const long n = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int(s, 0) : 0;
    sqlite3_finalize(s);
    return n;
  };
  const long pageSize = number("PRAGMA page_size");
  const long root = number("SELECT rootpage FROM sqlite_master WHERE name = '" + std::string(table) + "'");
  sqlite3_close(db);
  std::filesystem::remove(path);
  EXPECT_GT(root, 1) << table;
  std::string damaged = bytes;
  damaged.at(static_cast<size_t>((root - 1) * pageSize)) = '\x55';
  return damaged;
}

std::string ForeignDatabase(const TempDir& dir) {
  const std::string path = dir / "foreign.db";
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_exec(db, "CREATE TABLE customers(id INTEGER PRIMARY KEY, name TEXT); INSERT INTO customers VALUES(1, 'x');",
               nullptr, nullptr, nullptr);
  sqlite3_close(db);
  std::string bytes = FileBytes(path);
  std::filesystem::remove(path);
  return bytes;
}

TEST(BadFilesTest, ClearCodesAndTheFileUnchanged) {
  TempDir dir;
  const std::string good = GoodFileBytes(dir, "");
  const std::string goodEncrypted = GoodFileBytes(dir, "xk");
  std::filesystem::remove(dir / "GOOD.TPS");
  struct Case {
    const char* what;
    std::string bytes;
    std::string owner;
    std::vector<LONG> codes;  // acceptable outcomes of OPEN, or of the first read when it opens
  };
  const Case cases[] = {
      {"empty", "", "", {kInvalidDataFile}},
      {"random bytes", RandomBytes(5000, 1), "", {kInvalidDataFile}},
      {"random whole pages", RandomBytes(8192, 2), "", {kInvalidDataFile}},
      {"truncated", good.substr(0, good.size() / 2), "", {kFileSystemError}},
      {"truncated mid-page", good.substr(0, 5000), "", {kFileSystemError}},
      {"header only", good.substr(0, 60), "", {kFileSystemError}},
      {"foreign SQLite database", ForeignDatabase(dir), "", {kInvalidDataFile}},
      {"wrong owner password", goodEncrypted, "xy", {kAccessDenied}},
      {"encrypted, opened without password", goodEncrypted, "", {kInvalidDataFile}},
      {"plain, declared encrypted", good, "xk", {kInvalidRecordDeclaration}},
      {"random bytes, declared encrypted", RandomBytes(5000, 3), "xk", {kInvalidDataFile}},
      {"encrypted, truncated mid-page", goodEncrypted.substr(0, 3000), "xk", {kFileSystemError}},
      {"damaged layout table", DamagedTable(dir, good, "qx_field"), "", {kFileSystemError}},
      {"damaged record table", DamagedTable(dir, good, "qx_record"), "", {kFileSystemError}},
  };
  for (const auto& c : cases) {
    const std::string path = dir / "BAD.TPS";
    WriteBytes(path, c.bytes);
    FileAttributes attrs = CreateThread();
    attrs.encrypt = !c.owner.empty();
    auto f = MakeStandrd(dir / "BAD", StandrdKeys(), c.owner, attrs);
    OPEN(*f, 0x42);
    LONG code = RtErrorCode();
    if (code == 0) {
      SETkey(f->key(0));
      for (int i = 0; i < 400 && RtErrorCode() == 0; ++i) NEXT(*f);
      code = RtErrorCode() == kRecordNotAvailable ? 0 : RtErrorCode();
      CLOSE(*f);
    }
    EXPECT_NE(std::find(c.codes.begin(), c.codes.end(), code), c.codes.end())
        << c.what << ": " << code << " " << RtPushFileErrorText();
    EXPECT_TRUE(FileBytes(path) == c.bytes) << c.what << ": the file changed";
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"BAD.TPS"}) << c.what;
  }
}

TEST(BadFilesTest, EncryptedFileHoldsNothingReadableAndOpensWithItsPassword) {
  TempDir dir;
  FileAttributes attrs = CreateThread();
  attrs.encrypt = true;
  auto f = MakeStandrd(dir / "ENCRYPT", StandrdKeys(), "xk", attrs);
  CREATE(*f);
  OPEN(*f, 0x42);
  AddStandrd(*f, 1, "Zanzibar", "Quokkaville");
  CLOSE(*f);
  const std::string bytes = FileBytes(dir / "ENCRYPT.TPS");
  EXPECT_EQ(bytes.find("Zanzibar"), std::string::npos);
  EXPECT_EQ(bytes.find("Quokkaville"), std::string::npos);
  EXPECT_EQ(bytes.find("SQLite format"), std::string::npos);
  EXPECT_EQ(bytes.find("STD:NAME"), std::string::npos) << "the layout is enciphered too";
  OPEN(*f, 0x42);
  ASSERT_EQ(RtErrorCode(), 0);
  SETfile(*f);
  NEXT(*f);
  EXPECT_EQ(f->Record<StandrdRecord>().NAME.clipped(), "Zanzibar");
  CLOSE(*f);

  StoredLayout stored;
  EXPECT_EQ(ReadStoredLayout(dir / "encrypt", "no", &stored), kAccessDenied);
  EXPECT_EQ(ReadStoredLayout(dir / "encrypt", "xk", &stored), 0);
  EXPECT_TRUE(stored.encrypted);
}

TEST(BadFilesTest, MissingIndexIs46UntilBuildfile) {
  TempDir dir;
  auto f = MakeStandrd(dir / "STANDRD");
  CREATE(*f);
  OPEN(*f, 0x42);
  AddStandrd(*f, 2, "B");
  AddStandrd(*f, 1, "A");
  CLOSE(*f);
  sqlite3* db = nullptr;
  sqlite3_open((dir / "STANDRD.TPS").c_str(), &db);
  ASSERT_EQ(sqlite3_exec(db, "DROP INDEX qx_key2", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  OPEN(*f, 0x42);
  EXPECT_EQ(RtErrorCode(), kKeyFileMustBeRebuilt);
  BUILDfile(*f);
  EXPECT_EQ(RtErrorCode(), 0);
  OPEN(*f, 0x42);
  EXPECT_EQ(RtErrorCode(), 0);
  SETkey(f->key(1));
  EXPECT_EQ(ReadAll(*f, [&] { NEXT(*f); }), (std::vector<LONG>{1, 2}));
  CLOSE(*f);
}

// The engine does not encipher its temporary files. An index build sorts the key images
// in clear and spills the sort to a temporary file once it outgrows the page cache: for
// an enciphered file nothing may be spilled. A plain file's build spills (memory stays
// bounded), which shows the watch sees such files.
TEST(BadFilesTest, BuildingTheKeysOfAnEncipheredFileSpillsNothingToTemporaryFiles) {
  TempDir dir;
  TempDir temp;
  char* const previous = sqlite3_temp_directory;
  sqlite3_temp_directory = sqlite3_mprintf("%s", temp.path().c_str());
  constexpr size_t kWidth = 1000;  // wide keys: past the 8 MiB cache in a few thousand records
  RecordLayout layout;
  layout.AddField("W:ID", FieldType::kLong);
  layout.AddField("W:TEXT", FieldType::kString, kWidth);
  for (const bool encrypted : {false, true}) {
    SCOPED_TRACE(encrypted ? "enciphered" : "plain");
    FileAttributes attrs = CreateThread();
    attrs.encrypt = encrypted;
    FileDecl f("Wide", FileName(dir / (encrypted ? "WIDEX" : "WIDE")), "W", encrypted ? "xk" : "", attrs, layout,
               {DupOptNocase("W:BYTEXT", {"W:TEXT"})});
    CREATE(f);
    OPEN(f, 0x12);
    LOGOUT(10, f);
    unsigned char* rec = f.RecordBuffer();
    for (LONG i = 0; i < 12000; ++i) {
      const std::string text = "secret " + std::to_string((i * 7919) % 12000);
      std::memcpy(rec, &i, 4);
      std::memset(rec + 4, ' ', kWidth);
      std::memcpy(rec + 4, text.data(), text.size());
      APPEND(f);
      ASSERT_EQ(RtErrorCode(), 0);
    }
    COMMIT();
    DirectoryWatch watch(temp.path());
    BUILDfile(f);
    EXPECT_EQ(RtErrorCode(), 0) << RtPushFileErrorText();
    CLOSE(f);
    EXPECT_EQ(watch.Events().empty(), encrypted);
  }
  sqlite3_free(sqlite3_temp_directory);
  sqlite3_temp_directory = previous;
}

}  // namespace
}  // namespace qx::testing
