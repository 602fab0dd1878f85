// Record layouts built from typed structs and at run time, RtClearGroup, and the stored
// layout a program reads back from a file.
#include <gtest/gtest.h>

#include "tests/store/test_files.h"

namespace qx::testing {
namespace {

TEST(LayoutTest, TypedStructGivesPackedOffsets) {
  const auto standrd = LayoutOf<StandrdRecord>()
                           .Field("std:cusid", &StandrdRecord::CUSID)
                           .Field("STD:NAME", &StandrdRecord::NAME)
                           .Field("STD:SUBURB", &StandrdRecord::SUBURB);
  ASSERT_TRUE(standrd.ok());
  const RecordLayout& l = standrd.layout();
  EXPECT_EQ(l.length(), 44u);
  EXPECT_EQ(l.fields()[0].name, "STD:CUSID");
  EXPECT_EQ(l.fields()[2].offset, 24u);
  EXPECT_EQ(l.FindField("std:suburb"), 2);

  struct Gappy {
    BYTE b;
    LONG l;  // padded to offset 4
  };
  EXPECT_FALSE(LayoutOf<Gappy>().Field("G:B", &Gappy::b).Field("G:L", &Gappy::l).ok());
  EXPECT_FALSE(LayoutOf<StandrdRecord>().Field("S:CUSID", &StandrdRecord::CUSID).ok()) << "fields missing";
  FileDecl bad("Gappy", FileName("GAPPY"), "G", "", CreateThread(),
               LayoutOf<Gappy>().Field("G:B", &Gappy::b).Field("G:L", &Gappy::l), {});
  EXPECT_FALSE(bad.valid()) << "a declaration on a struct with gaps is refused";
}

TEST(LayoutTest, RunTimeFieldsAndTheirChecks) {
  RecordLayout l;
  EXPECT_TRUE(l.AddField("A", FieldType::kLong));
  EXPECT_FALSE(l.AddField("a", FieldType::kByte)) << "a name twice";
  EXPECT_FALSE(l.AddField("B", FieldType::kString, 0)) << "text needs a width";
  EXPECT_FALSE(l.AddField("C", FieldType::kCString, 1));
  EXPECT_FALSE(l.AddField("D", FieldType::kLong, 8)) << "a number's width is its type's";
  EXPECT_TRUE(l.AddField("E", FieldType::kReal));
  EXPECT_TRUE(l.AddField("F", FieldType::kCString, 10));
  EXPECT_EQ(l.length(), 22u);
}

TEST(LayoutTest, ClearGroupSetsZerosAndBlanksByType) {
  RecordLayout l;
  l.AddField("N", FieldType::kLong);
  l.AddField("S", FieldType::kString, 3);
  l.AddField("C", FieldType::kCString, 3);
  l.AddField("R", FieldType::kReal);
  unsigned char rec[18];
  std::memset(rec, 'x', sizeof rec);
  RtClearGroup(rec, l, 0);
  const unsigned char want[18] = {0, 0, 0, 0, ' ', ' ', ' ', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(rec, want, sizeof rec), 0);
}

TEST(LayoutTest, DeclarationFromTheStoredLayoutOpensTheFile) {
  TempDir dir;
  auto keys = VarnameKeys();
  keys[2].dup = false;
  keys[3].primary = true;
  keys[4].autoNumber = true;
  FileDecl varname("Varname", FileName(dir / "variable.tps"), "VAR", "", CreateThread(), StandrdLayout("VAR"), keys);
  CREATE(varname);
  StoredLayout stored;
  ASSERT_EQ(ReadStoredLayout(dir / "VARIABLE.TPS", "", &stored), 0);
  EXPECT_FALSE(stored.encrypted);
  ASSERT_EQ(stored.layout.fields().size(), 3u);
  EXPECT_EQ(stored.layout.fields()[1].name, "VAR:NAME");
  EXPECT_EQ(stored.layout.fields()[1].width, 20u);
  ASSERT_EQ(stored.keys.size(), 6u);
  EXPECT_EQ(stored.keys[5].name, "VAR:BYCUSIDNAMESUBURB");
  EXPECT_EQ(stored.keys[5].components, (std::vector<std::string>{"VAR:CUSID", "VAR:NAME", "VAR:SUBURB"}));
  EXPECT_FALSE(stored.keys[2].dup);
  EXPECT_TRUE(stored.keys[3].primary);
  EXPECT_TRUE(stored.keys[4].autoNumber);
  EXPECT_TRUE(stored.keys[0].opt && stored.keys[0].nocase);

  FileDecl rebuilt("Copy", FileName(dir / "variable.tps"), "VAR", "", CreateThread(), stored.layout, stored.keys);
  OPEN(rebuilt, 0x42);
  EXPECT_EQ(RtErrorCode(), 0);
  CLOSE(rebuilt);
  EXPECT_EQ(ReadStoredLayout(dir / "missing", "", &stored), kFileNotFound);
}

TEST(LayoutTest, InvalidDeclarationIs47) {
  TempDir dir;
  auto keys = StandrdKeys();
  keys[0].components = {"STD:NOSUCH"};
  auto f = MakeStandrd(dir / "STANDRD", keys);
  EXPECT_FALSE(f->valid());
  CREATE(*f);
  EXPECT_EQ(RtErrorCode(), kInvalidRecordDeclaration);
}

}  // namespace
}  // namespace qx::testing
