// The demonstration directory as scripts/setup-demo-dir leaves it, and the data maker's
// description of a file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "runtime/store/store.h"
#include "tests/recfix/recfix_runner.h"
#include "tools/demodata/customers.h"
#include "tools/demodata/old_layouts.h"

namespace qx::recfix_test {
namespace {

using demodata::OldFile;

std::vector<std::string> NamesIn(const std::filesystem::path& dir) {
  std::vector<std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(dir)) out.push_back(e.path().filename());
  std::sort(out.begin(), out.end());
  return out;
}

int SetUpDemoDir(const std::string& start) {
  const std::string command = std::string("QX_DEMODATA='") + DEMODATA_PATH + "' bash '" + SETUP_SCRIPT + "' '" +
                              start + "' >/dev/null";
  return std::system(command.c_str());
}

uint64_t CountRecords(OldFile kind, const std::string& path) {
  auto decl = demodata::MakeOldDecl(kind, path);
  OPEN(*decl, 0x40);
  EXPECT_EQ(RtErrorCode(), 0) << path << ": " << RtPushFileErrorText();
  uint64_t n = 0;
  SETfile(*decl);
  for (NEXT(*decl); RtErrorCode() == 0; NEXT(*decl)) ++n;
  CLOSE(*decl);
  return n;
}

TEST(DemoDirectory, HoldsTheOldFilesWhereTheResetAndTheProgramLookForThem) {
  TempDir dir;
  const std::string start = dir / "demo";
  // A file left by an earlier run under another letter case must not stay beside the new one.
  std::filesystem::create_directories(start + "/Data");
  std::ofstream(start + "/Data/STANDRD.TPS") << "stale";
  ASSERT_EQ(SetUpDemoDir(start), 0);
  ASSERT_EQ(SetUpDemoDir(start), 0) << "a second set-up over the first fails";

  const std::vector<std::string> four = {"Encrypt.TPS", "Standrd.TPS", "Var.TPS", "VeryLong.TPS"};
  EXPECT_EQ(NamesIn(start + "/Orig"), four);
  std::vector<std::string> withVariable = four;
  withVariable.push_back("variable.tps");
  EXPECT_EQ(NamesIn(start + "/Data"), withVariable);
  std::vector<std::string> top = {"Data", "Orig"};
  top.insert(top.end(), withVariable.begin(), withVariable.end());
  std::sort(top.begin(), top.end());
  EXPECT_EQ(NamesIn(start), top);

  const uint64_t customers = demodata::DemoCustomers().size();
  for (OldFile kind : {OldFile::kEncrypt, OldFile::kStandrd, OldFile::kVar, OldFile::kVeryLong}) {
    const std::string name(demodata::DemoFileName(kind));
    SCOPED_TRACE(name);
    const std::string orig = FileBytes(start + "/Orig/" + name);
    EXPECT_TRUE(FileBytes(start + "/" + name) == orig);
    EXPECT_TRUE(FileBytes(start + "/Data/" + name) == orig);
    EXPECT_EQ(CountRecords(kind, start + "/Orig/" + name), customers);
  }
  EXPECT_EQ(CountRecords(OldFile::kVar, start + "/variable.tps"), customers);
  EXPECT_EQ(CountRecords(OldFile::kVar, start + "/Data/variable.tps"), customers);

  StoredLayout stored;
  EXPECT_NE(ReadStoredLayout(start + "/Orig/Encrypt.TPS", "", &stored), 0) << "Encrypt readable without its password";
  ASSERT_EQ(ReadStoredLayout(start + "/Orig/Encrypt.TPS", "xk", &stored), 0);
  EXPECT_TRUE(stored.encrypted);
}

TEST(DemoData, ShowDescribesLayoutAndRecordCount) {
  TempDir dir;
  ASSERT_EQ(std::system((std::string("'") + DEMODATA_PATH + "' file verylong '" + (dir / "VL.TPS") + "' 1234").c_str()),
            0);
  FILE* out = ::popen((std::string("'") + DEMODATA_PATH + "' show '" + (dir / "vl.tps") + "'").c_str(), "r");
  ASSERT_NE(out, nullptr);
  std::string text;
  char buf[512];
  while (std::fgets(buf, sizeof buf, out)) text += buf;
  EXPECT_EQ(::pclose(out), 0);
  for (const char* line : {"encrypted: no", "record length: 88", "VLN:NEWFIELD", "STRING(20)",
                           "VLN:BYCOMPLKEY       (VLN:SUBURB, VLN:NAME, VLN:CUSID) DUP OPT NOCASE", "records: 1234"})
    EXPECT_NE(text.find(line), std::string::npos) << "missing \"" << line << "\" in:\n" << text;
}

}  // namespace
}  // namespace qx::recfix_test
