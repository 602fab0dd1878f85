// Each demonstration file converts to today's declaration with the caller's own command
// line: every record and value kept in record order, dropped fields gone, new fields zero
// or blank, the file opens under today's declaration and reads in every key's order;
// Encrypt stays enciphered. Also: record order with gaps, when and under which owner
// password the new file is enciphered, names as typed, symbolic links, owner and group.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "runtime/store/stored_layout.h"
#include "runtime/sys/paths.h"
#include "tests/recfix/old_files.h"
#include "tests/recfix/recfix_runner.h"
#include "tests/recfix/today_files.h"
#include "tools/demodata/customers.h"
#include "tools/demodata/data_writer.h"
#include "tools/demodata/old_layouts.h"

namespace qx::recfix_test {
namespace {

using demodata::Customer;
using demodata::DemoCustomers;
using demodata::OldFile;

// Every record of the file in the order `read` steps through, as raw bytes.
template <class Read>
std::vector<std::string> ReadRecords(FileDecl& f, Read read) {
  std::vector<std::string> out;
  const auto* buf = reinterpret_cast<const char*>(f.RecordBuffer());
  for (read(); RtErrorCode() == 0; read()) out.emplace_back(buf, f.layout().length());
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable);
  return out;
}

std::string Expected(const RecordLayout& layout, const Customer& c) {
  std::string r(layout.length(), '\0');
  demodata::FillRecord(layout, c, reinterpret_cast<unsigned char*>(r.data()));
  return r;
}

// The fields that differ between two records, for a readable failure.
std::string Differences(const RecordLayout& layout, const std::string& got, const std::string& want) {
  std::string out;
  for (const FieldDef& f : layout.fields()) {
    if (got.compare(f.offset, f.width, want, f.offset, f.width) != 0)
      out += f.name + " [" + got.substr(f.offset, f.width) + "] instead of [" + want.substr(f.offset, f.width) + "] ";
  }
  return out;
}

// A key's value of a record as the key orders it: one image per component (text
// upper-cased, LONG big-endian with the sign bit flipped, so images compare as values do);
// `empty` when every component is blank or zero.
struct KeyValue {
  std::vector<std::string> order;
  bool empty = true;
};

KeyValue ValueOf(const FileDecl& f, const KeyDef& key, const std::string& record) {
  KeyValue v;
  for (const std::string& c : key.components) {
    const FieldDef& fd = f.layout().fields()[static_cast<size_t>(f.layout().FindField(c))];
    std::string image;
    if (fd.type == FieldType::kLong) {
      LONG n;
      std::memcpy(&n, record.data() + fd.offset, sizeof n);
      if (n != 0) v.empty = false;
      const uint32_t biased = static_cast<uint32_t>(n) ^ 0x80000000u;
      for (int s = 24; s >= 0; s -= 8) image.push_back(static_cast<char>((biased >> s) & 0xFF));
    } else {
      image = record.substr(fd.offset, fd.width);
      for (char& ch : image) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      if (image.find_first_not_of(' ') != std::string::npos) v.empty = false;
    }
    v.order.push_back(image);
  }
  return v;
}

struct DemoCase {
  const char* label;
  OldFile old;
  Today today;
  const char* onDisk;        // the name the demonstration copy has
  const char* declaredName;  // the name today's declaration gives
  const char* dataWord;      // the caller's first word
  const char* example;
  const char* owner;
};

class DemoFileTest : public ::testing::TestWithParam<DemoCase> {};

TEST_P(DemoFileTest, ConvertsToTodaysDeclarationKeepingEveryRecord) {
  const DemoCase& c = GetParam();
  TempDir dir;
  const auto& customers = DemoCustomers();
  {
    auto old = demodata::MakeOldDecl(c.old, dir / c.onDisk);
    ASSERT_EQ(demodata::WriteDataFile(*old, customers.size(), [&](uint64_t i) { return customers[i]; }), 0);
  }
  {
    auto example = MakeTodayDecl(c.today, dir / c.example);
    CREATE(*example);
    ASSERT_EQ(RtErrorCode(), 0);
  }

  const RunResult run = RunRecfix(dir.path(), {c.dataWord, "/K", std::string("/E:") + c.example + "?" + c.owner, "/A"});
  ASSERT_EQ(run.exitCode, 0) << run.stderrText;
  EXPECT_EQ(run.stderrText, "");
  // The data file keeps its spelling; nothing but it and the example is left.
  std::vector<std::string> names = {c.onDisk, c.example};
  std::sort(names.begin(), names.end());
  EXPECT_EQ(dir.Names(), names);

  auto today = MakeTodayDecl(c.today, dir / c.declaredName);
  OPEN(*today, 0x22);
  ASSERT_EQ(RtErrorCode(), 0) << RtPushFileErrorText();
  SEND(*today, "QUICKSCAN=on");
  SETfile(*today);
  const std::vector<std::string> records = ReadRecords(*today, [&] { NEXT(*today); });
  ASSERT_EQ(records.size(), customers.size());
  for (size_t i = 0; i < records.size(); ++i) {
    const std::string want = Expected(today->layout(), customers[i]);
    EXPECT_EQ(records[i], want) << "record " << i + 1 << ": " << Differences(today->layout(), records[i], want);
  }

  for (size_t k = 0; k < today->keyCount(); ++k) {
    const KeyDef& key = today->keyDefs()[k];
    SETkey(today->key(k));
    const std::vector<std::string> inKey = ReadRecords(*today, [&] { NEXT(*today); });
    std::vector<std::string> members;
    for (const std::string& r : records) {
      if (!ValueOf(*today, key, r).empty) members.push_back(r);
    }
    std::vector<std::string> got = inKey;
    std::sort(got.begin(), got.end());
    std::sort(members.begin(), members.end());
    EXPECT_EQ(got, members) << key.name << ": the key must hold exactly the records with a value in it";
    for (size_t i = 1; i < inKey.size(); ++i) {
      EXPECT_FALSE(ValueOf(*today, key, inKey[i]).order < ValueOf(*today, key, inKey[i - 1]).order)
          << key.name << ": out of order at " << i;
    }
  }
  CLOSE(*today);

  // It really is a new file: the old declaration no longer fits.
  auto old = demodata::MakeOldDecl(c.old, dir / c.onDisk);
  OPEN(*old, 0x22);
  EXPECT_EQ(RtErrorCode(), kInvalidRecordDeclaration);
}

INSTANTIATE_TEST_SUITE_P(
    DemoFiles, DemoFileTest,
    ::testing::Values(
        DemoCase{"Standrd", OldFile::kStandrd, Today::kStandrd, "Standrd.TPS", "STANDRD", "STANDRD.tps?", "STANDRD.tpe", ""},
        DemoCase{"Encrypt", OldFile::kEncrypt, Today::kEncrypt, "Encrypt.TPS", "ENCRYPT", "ENCRYPT.tps?xk", "ENCRYPT.tpe",
                 "xk"},
        DemoCase{"VeryLong", OldFile::kVeryLong, Today::kVeryLongName, "VeryLong.TPS", "VERYLONG", "VERYLONG.tps?",
                 "VERYLONG.tpe", ""},
        DemoCase{"Varname", OldFile::kVar, Today::kVarname, "variable.tps", "variable.tps", "variable.tps?",
                 "variable.tpe", ""}),
    [](const ::testing::TestParamInfo<DemoCase>& i) { return std::string(i.param.label); });

TEST(EncryptConversion, StaysEncipheredUnderItsOwnerPassword) {
  TempDir dir;
  const auto& customers = DemoCustomers();
  auto old = demodata::MakeOldDecl(OldFile::kEncrypt, dir / "Encrypt.TPS");
  ASSERT_EQ(demodata::WriteDataFile(*old, customers.size(), [&](uint64_t i) { return customers[i]; }), 0);
  auto example = MakeTodayDecl(Today::kEncrypt, dir / "ENCRYPT.tpe");
  CREATE(*example);
  ASSERT_EQ(RtErrorCode(), 0);
  const RunResult run = RunRecfix(dir.path(), {"ENCRYPT.tps?xk", "/K", "/E:ENCRYPT.tpe?xk", "/A"});
  ASSERT_EQ(run.exitCode, 0) << run.stderrText;

  StoredLayout stored;
  EXPECT_NE(ReadStoredLayout(dir / "ENCRYPT.TPS", "", &stored), 0) << "readable without the password";
  ASSERT_EQ(ReadStoredLayout(dir / "ENCRYPT.TPS", "xk", &stored), 0);
  EXPECT_TRUE(stored.encrypted);
  EXPECT_EQ(FileBytes(dir / "Encrypt.TPS").find("Smith"), std::string::npos) << "a name stands in clear text";

  FileAttributes a = example->attributes();
  FileDecl wrongOwner("Encrypt", FileName(dir / "ENCRYPT"), "ENC", "xx", a, example->layout(), example->keyDefs());
  OPEN(wrongOwner, 0x22);
  EXPECT_EQ(RtErrorCode(), kAccessDenied);

  // The SysID field is new: zero in every record, left for the caller to number.
  auto today = MakeTodayDecl(Today::kEncrypt, dir / "ENCRYPT");
  OPEN(*today, 0x22);
  ASSERT_EQ(RtErrorCode(), 0);
  SETfile(*today);
  size_t n = 0;
  for (NEXT(*today); RtErrorCode() == 0; NEXT(*today), ++n) EXPECT_EQ(today->Record<EncryptRecord>().SYSID, 0);
  EXPECT_EQ(n, customers.size());
}

// The new file is enciphered exactly when the example file is, under the owner password
// after the example file, whatever the data file had: so it opens under the declaration
// the example was made from. A declaration with an owner password but no encryption makes
// a plain example (the store leaves such a file plain); the password the caller gives
// after it is then not used, and RECFIX says so.
TEST(EncryptConversion, NewFileIsEncipheredExactlyWhenTheExampleIs) {
  struct Case {
    const char* label;
    bool oldEnciphered;
    const char* dataOwner;
    bool exampleEnciphered;
    const char* exampleOwner;
    const char* note;  // expected on standard error; "" for none at all
  };
  const Case cases[] = {
      {"re-keyed", true, "ab", true, "xk", ""},
      {"plain to enciphered", false, "", true, "xk", ""},
      {"enciphered to plain", true, "ab", false, "", ""},
      {"plain example with an owner after it", false, "xk", false, "xk",
       "the example file is not enciphered, so neither is the new file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TempDir dir;
    auto shape = demodata::MakeOldDecl(OldFile::kEncrypt, dir / "ENCRYPT");
    FileAttributes a = shape->attributes();
    a.encrypt = c.oldEnciphered;
    FileDecl old("Encrypt", FileName(dir / "ENCRYPT"), "ENC", c.dataOwner, a, shape->layout(), shape->keyDefs());
    const auto& customers = DemoCustomers();
    ASSERT_EQ(demodata::WriteDataFile(old, customers.size(), [&](uint64_t i) { return customers[i]; }), 0);
    auto today = MakeTodayDecl(Today::kEncrypt, dir / "ENCRYPT");
    FileAttributes e = today->attributes();
    e.encrypt = c.exampleEnciphered;
    FileDecl example("Encrypt", FileName(dir / "ENCRYPT.tpe"), "ENC", c.exampleOwner, e, today->layout(),
                     today->keyDefs());
    CREATE(example);
    ASSERT_EQ(RtErrorCode(), 0);

    const RunResult run = RunRecfix(
        dir.path(), {std::string("ENCRYPT.tps?") + c.dataOwner, "/K", std::string("/E:ENCRYPT.tpe?") + c.exampleOwner, "/A"});
    ASSERT_EQ(run.exitCode, 0) << run.stderrText;
    if (*c.note) EXPECT_NE(run.stderrText.find(c.note), std::string::npos) << run.stderrText;
    else EXPECT_EQ(run.stderrText, "");
    StoredLayout stored;
    ASSERT_EQ(ReadStoredLayout(dir / "ENCRYPT", c.exampleOwner, &stored), 0);
    EXPECT_EQ(stored.encrypted, c.exampleEnciphered);

    FileDecl asExample("Encrypt", FileName(dir / "ENCRYPT"), "ENC", c.exampleOwner, e, today->layout(),
                       today->keyDefs());
    OPEN(asExample, 0x22);
    ASSERT_EQ(RtErrorCode(), 0) << RtPushFileErrorText();
    SETfile(asExample);
    size_t n = 0;
    for (NEXT(asExample); RtErrorCode() == 0; NEXT(asExample)) ++n;
    EXPECT_EQ(n, customers.size());
    CLOSE(asExample);
  }
}

// Record order is the order the file holds its records, gaps left by deletions included,
// not the order of any key.
TEST(RecordOrder, IsKeptAcrossGapsAndLateAdditions) {
  TempDir dir;
  const auto& customers = DemoCustomers();
  auto old = demodata::MakeOldDecl(OldFile::kStandrd, dir / "STANDRD");
  ASSERT_EQ(demodata::WriteDataFile(*old, customers.size(), [&](uint64_t i) { return customers[i]; }), 0);
  std::vector<std::string> expected;  // names in record order after the changes
  OPEN(*old, 0x22);
  ASSERT_EQ(RtErrorCode(), 0);
  SETfile(*old);
  size_t i = 0;
  for (NEXT(*old); RtErrorCode() == 0; NEXT(*old), ++i) {
    if (i % 3 == 1) {
      DELETE(*old);
      ASSERT_EQ(RtErrorCode(), 0);
    } else {
      expected.push_back(customers[i].name);
    }
  }
  demodata::Customer late = customers[0];
  late.name = "Aaron Added Last";
  demodata::FillRecord(old->layout(), late, old->RecordBuffer());
  ADD(*old);
  ASSERT_EQ(RtErrorCode(), 0);
  expected.push_back(late.name);
  CLOSE(*old);
  auto example = MakeTodayDecl(Today::kStandrd, dir / "STANDRD.tpe");
  CREATE(*example);

  const RunResult run = RunRecfix(dir.path(), {"STANDRD.tps?", "/K", "/E:STANDRD.tpe?", "/A"});
  ASSERT_EQ(run.exitCode, 0) << run.stderrText;
  auto today = MakeTodayDecl(Today::kStandrd, dir / "STANDRD");
  OPEN(*today, 0x22);
  ASSERT_EQ(RtErrorCode(), 0);
  std::vector<std::string> got;
  SETfile(*today);
  for (NEXT(*today); RtErrorCode() == 0; NEXT(*today))
    got.emplace_back(today->Record<StandrdRecord>().NAME.clipped());
  EXPECT_EQ(got, expected);
}

// Names as a person types them: any letter case, "\" between components, the data file
// in another directory than the current one; its permissions carry over.
TEST(Names, MatchWithoutRegardToCaseAndTakeEitherSeparator) {
  TempDir dir;
  std::filesystem::create_directory(dir / "Data");
  const auto& customers = DemoCustomers();
  auto old = demodata::MakeOldDecl(OldFile::kStandrd, dir / "Data/Standrd.TPS");
  ASSERT_EQ(demodata::WriteDataFile(*old, customers.size(), [&](uint64_t i) { return customers[i]; }), 0);
  std::filesystem::permissions(dir / "Data/Standrd.TPS", std::filesystem::perms(0640));
  auto example = MakeTodayDecl(Today::kStandrd, dir / "Data/STANDRD.tpe");
  CREATE(*example);
  ASSERT_EQ(RtErrorCode(), 0);

  const RunResult run = RunRecfix(dir.path(), {"data\\standrd.tps?", "/k", "/e:DATA\\standrd.TPE?", "/a"});
  ASSERT_EQ(run.exitCode, 0) << run.stderrText;
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir / "Data")) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"STANDRD.tpe", "Standrd.TPS"}));
  EXPECT_EQ(std::filesystem::status(dir / "Data/Standrd.TPS").permissions(), std::filesystem::perms(0640));
  auto today = MakeTodayDecl(Today::kStandrd, dir / "Data/STANDRD");
  OPEN(*today, 0x22);
  EXPECT_EQ(RtErrorCode(), 0);
}

// A data file that is a symbolic link: the file it leads to is converted in place and the
// link stays, beside the data file or in another directory; no work file is left in
// either directory.
TEST(Names, ALinkStaysAndTheFileItLeadsToIsConverted) {
  for (const char* target : {"standrd-1999.tps", "Orig/standrd-1999.tps"}) {
    SCOPED_TRACE(target);
    TempDir dir;
    std::filesystem::create_directory(dir / "Orig");
    const auto& customers = DemoCustomers();
    auto old = demodata::MakeOldDecl(OldFile::kStandrd, dir / target);
    ASSERT_EQ(demodata::WriteDataFile(*old, customers.size(), [&](uint64_t i) { return customers[i]; }), 0);
    std::filesystem::create_symlink(target, dir / "Standrd.TPS");
    auto example = MakeTodayDecl(Today::kStandrd, dir / "STANDRD.tpe");
    CREATE(*example);
    ASSERT_EQ(RtErrorCode(), 0);

    const RunResult run = RunRecfix(dir.path(), {"STANDRD.tps?", "/K", "/E:STANDRD.tpe?", "/A"});
    ASSERT_EQ(run.exitCode, 0) << run.stderrText;
    ASSERT_TRUE(std::filesystem::is_symlink(dir / "Standrd.TPS"));
    EXPECT_EQ(std::filesystem::read_symlink(dir / "Standrd.TPS"), target);
    for (const std::string& name : {std::string("STANDRD"), std::string(target)}) {
      auto today = MakeTodayDecl(Today::kStandrd, dir / name);
      OPEN(*today, 0x22);
      ASSERT_EQ(RtErrorCode(), 0) << name;
      SETfile(*today);
      size_t n = 0;
      for (NEXT(*today); RtErrorCode() == 0; NEXT(*today)) ++n;
      EXPECT_EQ(n, customers.size());
      CLOSE(*today);
    }
    std::vector<std::string> names = {"Orig", "STANDRD.tpe", "Standrd.TPS"};
    if (std::string(target).find('/') == std::string::npos) names.push_back(target);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(dir.Names(), names);
    EXPECT_EQ(std::filesystem::is_empty(dir / "Orig"), std::string(target).find('/') == std::string::npos);
  }
}

// The new file takes the old one's owner and group (only a privileged process can give
// a file to another user).
TEST(Names, TheNewFileKeepsTheOldOwnerAndGroup) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a file to another user";
  TempDir dir;
  const auto& customers = DemoCustomers();
  auto old = demodata::MakeOldDecl(OldFile::kStandrd, dir / "Standrd.TPS");
  ASSERT_EQ(demodata::WriteDataFile(*old, customers.size(), [&](uint64_t i) { return customers[i]; }), 0);
  ASSERT_EQ(::chown((dir / "Standrd.TPS").c_str(), 4321, 5432), 0);
  ASSERT_EQ(::chmod((dir / "Standrd.TPS").c_str(), 0604), 0);
  auto example = MakeTodayDecl(Today::kStandrd, dir / "STANDRD.tpe");
  CREATE(*example);
  const RunResult run = RunRecfix(dir.path(), {"STANDRD.tps?", "/K", "/E:STANDRD.tpe?", "/A"});
  ASSERT_EQ(run.exitCode, 0) << run.stderrText;
  struct stat st;
  ASSERT_EQ(::stat((dir / "Standrd.TPS").c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 4321u);
  EXPECT_EQ(st.st_gid, 5432u);
  EXPECT_EQ(st.st_mode & 07777, 0604u);
}

// A data file whose bulk fill ended before its keys were built (OPEN reports 46): its
// records are whole, so it converts like any other.
TEST(SuspendedKeys, DataFileLeftByABulkFillConverts) {
  TempDir dir;
  const auto& customers = DemoCustomers();
  auto old = demodata::MakeOldDecl(OldFile::kStandrd, dir / "STANDRD");
  ASSERT_NO_FATAL_FAILURE(WriteWithKeysUnbuilt(*old));
  auto example = MakeTodayDecl(Today::kStandrd, dir / "STANDRD.tpe");
  CREATE(*example);

  const RunResult run = RunRecfix(dir.path(), {"STANDRD.tps?", "/K", "/E:STANDRD.tpe?", "/A"});
  ASSERT_EQ(run.exitCode, 0) << run.stderrText;
  auto today = MakeTodayDecl(Today::kStandrd, dir / "STANDRD");
  OPEN(*today, 0x22);
  ASSERT_EQ(RtErrorCode(), 0);
  SETkey(today->key(1));
  size_t n = 0;
  for (NEXT(*today); RtErrorCode() == 0; NEXT(*today)) ++n;
  EXPECT_EQ(n, customers.size() - 2) << "all but the two records with CUSID 0 are in STD:ByID";
}

TEST(EmptyDataFile, ConvertsToAnEmptyFileOfTheNewLayout) {
  TempDir dir;
  auto old = demodata::MakeOldDecl(OldFile::kVeryLong, dir / "VERYLONG");
  ASSERT_EQ(demodata::WriteDataFile(*old, 0, demodata::GeneratedCustomer), 0);
  auto example = MakeTodayDecl(Today::kVeryLongName, dir / "VERYLONG.tpe");
  CREATE(*example);
  const RunResult run = RunRecfix(dir.path(), {"VERYLONG.tps?", "/K", "/E:VERYLONG.tpe?", "/A"});
  ASSERT_EQ(run.exitCode, 0) << run.stderrText;
  auto today = MakeTodayDecl(Today::kVeryLongName, dir / "VERYLONG");
  OPEN(*today, 0x22);
  ASSERT_EQ(RtErrorCode(), 0);
  SETfile(*today);
  NEXT(*today);
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable);
}

}  // namespace
}  // namespace qx::recfix_test
