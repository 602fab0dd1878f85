// qxshift started on a directory (batch mode): the pass converts the old-layout files
// there with the real RECFIX and the program ends by itself; "qxshift.INI" read at the
// start and written at the end; a runtime of an older release ends the program before any
// of it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/sys/profile.h"
#include "tests/e2e_qxshift/qxshift_run.h"

namespace qx::testing {
namespace {

const std::vector<std::string> kDemoNames = {"Encrypt.TPS", "Standrd.TPS", "VeryLong.TPS", "variable.tps"};

TEST(Batch, FourOldFilesAreConvertedInPlaceAndTheProgramEndsByItself) {
  TempDir dir;
  WriteOldFiles(dir.path(), SampleCustomers());
  DirectoryWatch watch(dir.path());
  ProgramRun::Options options;
  options.args = {dir.path()};
  options.automation = false;  // nobody there to close anything
  auto q = StartQxshift(options);
  ASSERT_TRUE(q);
  EXPECT_FALSE(std::filesystem::exists(q->Ini())) << "absent before the run";
  ASSERT_EQ(q->run->WaitForExit(30000), 0) << q->run->Stderr();

  for (const DataFile& f : kDataFiles) ExpectConverted(dir.path(), *f.decl, SampleCustomers());
  EXPECT_EQ(Names(dir.path()), kDemoNames) << "no VHtemp, example or work file left";
  const std::vector<std::string> events = watch.Events();
  EXPECT_EQ(Occurrences(events, "+VHtemp"), 1);
  EXPECT_EQ(Occurrences(events, "-VHtemp"), 1);
  for (const char* example : {"+STANDRD.tpe", "+ENCRYPT.tpe", "+VERYLONG.tpe", "+variable.tpe"}) {
    EXPECT_EQ(Occurrences(events, example), 1) << example;
  }
  EXPECT_TRUE(Names(q->run->directory()).empty()) << "the start directory is not touched";
  EXPECT_EQ(FileBytes(q->Ini()), "[__Dont_Touch_Me__]\nSectors=0\n");
}

TEST(Batch, TheIniFilesEntriesAreWrittenBackTheSame) {
  const std::string before =
      "[Settings]\n"
      "Sectors=9\n"
      "[__Dont_Touch_Me__]\n"
      "Sectors=3\n"
      "Sectors_1=Browse,List,Window\n"
      "Sectors_2=Form,,Update\n"
      "Sectors_3=a,b,c,d\n";
  TempDir dir;
  ProgramRun::Options options;
  options.args = {dir.path()};
  options.automation = false;
  auto q = StartQxshift(options, [&](const std::string& config) { WriteBytes(config + "/qxshift.INI", before); });
  ASSERT_TRUE(q);
  ASSERT_EQ(q->run->WaitForExit(30000), 0) << q->run->Stderr();
  EXPECT_EQ(FileBytes(q->Ini()), before) << "the same count and entries, each with its three texts";
}

TEST(Batch, AnOlderRuntimeEndsTheProgramBeforeAnyOfIt) {
  TempDir dir;
  ASSERT_EQ(WriteOldFile(OldFile::kStandrd, dir / "Standrd.TPS", SampleCustomers()), 0);
  ProgramRun::Options options;
  options.args = {dir.path()};
  options.env = {{"QXRT_RUNTIME_RELEASE", "104h,2,0"}};
  auto q = StartQxshift(options);
  ASSERT_TRUE(q);
  const nlohmann::json box = q->run->WaitFor({{"message", {{"caption", "Runtime Library"}}}});
  ASSERT_TRUE(box.is_object()) << q->run->Stderr();
  EXPECT_TRUE(q->run->Window("$ZELTWELCOME").is_null()) << "no window of the program";
  ASSERT_TRUE(q->run->Request({{"op", "answer"}}).value("ok", false));
  EXPECT_EQ(q->run->WaitForExit(), 0);
  EXPECT_FALSE(std::filesystem::exists(q->Ini())) << "the INI file is not touched";
  EXPECT_EQ(OpenCode(dir.path(), Standrd), kInvalidRecordDeclaration) << "nothing converted";
}

}  // namespace
}  // namespace qx::testing
