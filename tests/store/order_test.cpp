// Reading in record order and key order: optional, duplicate and case-insensitive keys,
// the places SET, SETkeykey and RESET leave, positions, REGET, views and read-ahead.
#include <gtest/gtest.h>

#include "tests/store/test_files.h"

namespace qx::testing {
namespace {

class OrderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f_ = MakeStandrd(dir_ / "STANDRD");
    CREATE(*f_);
    OPEN(*f_, 0x42);
    ASSERT_EQ(RtErrorCode(), 0);
    // Record order 1..6; by name: Adams(4) jones(2) Jones(5) SMITH(3) Smith(6); record 1
    // has a blank name and is in no name order; record 4 has CUSID 0 and is in no id order.
    AddStandrd(*f_, 30, "");
    AddStandrd(*f_, 20, "jones");
    AddStandrd(*f_, 10, "SMITH");
    AddStandrd(*f_, 0, "Adams");
    AddStandrd(*f_, 20, "Jones");
    AddStandrd(*f_, 10, "Smith");
  }
  void TearDown() override { CLOSE(*f_); }
  std::vector<LONG> Forward(std::function<void()> set) {
    set();
    return ReadAll(*f_, [&] { NEXT(*f_); });
  }
  std::vector<LONG> Backward(std::function<void()> set) {
    set();
    return ReadAll(*f_, [&] { PREVIOUS(*f_); });
  }
  Key& byName() { return f_->key(0); }
  Key& byId() { return f_->key(1); }
  StandrdRecord& rec() { return f_->Record<StandrdRecord>(); }

  TempDir dir_;
  std::unique_ptr<FileDecl> f_;
};

using Ids = std::vector<LONG>;

TEST_F(OrderTest, OrdersFromEitherEnd) {
  EXPECT_EQ(Forward([&] { SETfile(*f_); }), (Ids{30, 20, 10, 0, 20, 10}));
  EXPECT_EQ(Backward([&] { SETfile(*f_); }), (Ids{10, 20, 0, 10, 20, 30}));
  // Blank name left out; jones/Jones and SMITH/Smith are equal values, ties in record order.
  EXPECT_EQ(Forward([&] { SETkey(byName()); }), (Ids{0, 20, 20, 10, 10}));
  EXPECT_EQ(Backward([&] { SETkey(byName()); }), (Ids{10, 10, 20, 20, 0}));
  // CUSID 0 left out; duplicates kept.
  EXPECT_EQ(Forward([&] { SETkey(byId()); }), (Ids{10, 10, 20, 20, 30}));
}

TEST_F(OrderTest, PastEitherEndIs33AndTurnsBack) {
  SETkey(byId());
  for (int i = 0; i < 5; ++i) NEXT(*f_);
  NEXT(*f_);
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable);
  NEXT(*f_);
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable);
  PREVIOUS(*f_);
  EXPECT_EQ(RtErrorCode(), 0);
  EXPECT_EQ(rec().CUSID, 30) << "after the end PREVIOUS reads the last";
  SETfile(*f_);
  PREVIOUS(*f_);
  PREVIOUS(*f_);
  EXPECT_EQ(rec().CUSID, 20);
}

TEST_F(OrderTest, SetKeyKeyStartsAtTheBufferValueWithoutRegardToCase) {
  struct Case {
    const char* name;
    Ids forward;
    Ids backward;
  };
  const Case cases[] = {
      {"JONES", {20, 20, 10, 10}, {20, 20, 0}},
      {"smith", {10, 10}, {10, 10, 20, 20, 0}},
      {"K", {10, 10}, {20, 20, 0}},
      {"Zed", {}, {10, 10, 20, 20, 0}},
      {"", {0, 20, 20, 10, 10}, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Forward([&] { rec().NAME = c.name; SETkeykey(byName(), byName()); }), c.forward) << c.name;
    EXPECT_EQ(Backward([&] { rec().NAME = c.name; SETkeykey(byName(), byName()); }), c.backward) << c.name;
  }
  SETkeykey(byName(), byId());
  EXPECT_EQ(RtErrorCode(), kUnsupportedDriverFunction);
}

TEST_F(OrderTest, ResetReadsThePositionFirstInBothDirections) {
  SETkey(byName());
  NEXT(*f_);
  NEXT(*f_);  // jones (record 2)
  const std::string keyPos = POSITIONkey(byName());
  const std::string filePos = POSITIONfile(*f_);
  EXPECT_LE(keyPos.size(), 512u);

  RESETkey(byName(), keyPos);
  EXPECT_EQ(RtErrorCode(), 0);
  NEXT(*f_);
  EXPECT_EQ(rec().NAME.clipped(), "jones");
  NEXT(*f_);
  EXPECT_EQ(rec().NAME.clipped(), "Jones") << "key order kept after RESETkey";
  RESETkey(byName(), keyPos);
  PREVIOUS(*f_);
  EXPECT_EQ(rec().NAME.clipped(), "jones");
  PREVIOUS(*f_);
  EXPECT_EQ(rec().NAME.clipped(), "Adams");

  RESETfile(*f_, filePos);
  NEXT(*f_);
  NEXT(*f_);
  EXPECT_EQ(rec().NAME.clipped(), "SMITH") << "record order after RESETfile";
  RESETfile(*f_, keyPos);
  EXPECT_EQ(RtErrorCode(), kRecordNotFound) << "a file takes record positions only";
  RESETkey(byId(), keyPos);
  EXPECT_EQ(RtErrorCode(), kRecordNotFound) << "a position of another key";
}

TEST_F(OrderTest, ResetToADeletedRecordGoesOnFromItsPlace) {
  SETkey(byName());
  NEXT(*f_);
  NEXT(*f_);  // jones, record 2
  const std::string pos = POSITIONkey(byName());
  DELETE(*f_);
  RESETkey(byName(), pos);
  NEXT(*f_);
  EXPECT_EQ(rec().NAME.clipped(), "Jones");
  RESETkey(byName(), pos);
  PREVIOUS(*f_);
  EXPECT_EQ(rec().NAME.clipped(), "Adams");
  REGETkey(byName(), pos);
  EXPECT_EQ(RtErrorCode(), kRecordNotFound);
  PUT(*f_);
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable) << "a failed REGET leaves no current record";
}

TEST_F(OrderTest, RegetReadsWithoutMovingTheOrder) {
  SETfile(*f_);
  NEXT(*f_);
  const std::string first = POSITIONfile(*f_);
  NEXT(*f_);
  REGETfile(*f_, first);
  EXPECT_EQ(rec().CUSID, 30);
  NEXT(*f_);
  EXPECT_EQ(rec().CUSID, 10) << "NEXT goes on after the second record";
  SETkey(byName());
  NEXT(*f_);
  const std::string keyPos = POSITIONkey(byName());
  REGETfile(*f_, keyPos);
  EXPECT_EQ(RtErrorCode(), 0) << "REGETfile takes a key position of the file";
  REGETkey(byName(), first);
  EXPECT_EQ(RtErrorCode(), kRecordNotFound) << "REGETkey takes positions of its key only";
}

TEST_F(OrderTest, PositionKeyAfterAddNamesTheAddedRecord) {
  AddStandrd(*f_, 15, "Brown");
  const std::string pos = POSITIONkey(byName());
  RESETkey(byName(), pos);
  NEXT(*f_);
  EXPECT_EQ(rec().NAME.clipped(), "Brown");
  NEXT(*f_);
  EXPECT_EQ(rec().NAME.clipped(), "jones");
  GETfileptr(*f_, 0);
  EXPECT_EQ(POSITIONfile(*f_), "");
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable);
}

TEST_F(OrderTest, QuickScanReadsTheSameRecordsAndSeesOwnWrites) {
  for (int i = 0; i < 100; ++i) AddStandrd(*f_, 100 + i, "N" + std::to_string(1000 + i));
  SETkey(byName());
  const Ids plain = ReadAll(*f_, [&] { NEXT(*f_); });
  SEND(*f_, "QUICKSCAN=on");
  SETkey(byName());
  EXPECT_EQ(ReadAll(*f_, [&] { NEXT(*f_); }), plain);
  SETkey(byName());
  NEXT(*f_);
  NEXT(*f_);
  PREVIOUS(*f_);
  EXPECT_EQ(rec().NAME.clipped(), "Adams") << "a change of direction is not served from the read-ahead";
  NEXT(*f_);  // jones, record 2
  rec().NAME = "Aaron";
  PUT(*f_);
  NEXT(*f_);
  EXPECT_EQ(rec().NAME.clipped(), "Jones") << "goes on after the old place";
  SETkey(byName());
  NEXT(*f_);
  EXPECT_EQ(rec().NAME.clipped(), "Aaron") << "the read-ahead does not hide the write";
  SEND(*f_, "QUICKSCAN=off");
}

TEST_F(OrderTest, ViewReadsFromTheFilesOrderAndPlace) {
  RecordView view(*f_);
  NEXT(view);
  EXPECT_EQ(RtErrorCode(), kFileNotOpen);
  rec().NAME = "JONES";
  SETkeykey(byName(), byName());
  OPEN(view, 0x22);
  ASSERT_EQ(RtErrorCode(), 0);
  OPEN(view, 0x22);
  EXPECT_EQ(RtErrorCode(), kFileAlreadyOpen);
  NEXT(view);
  NEXT(view);  // Jones, record 5
  EXPECT_EQ(rec().CUSID, 20);
  const std::string viewPos = POSITIONfile(view);
  EXPECT_EQ(viewPos[0], 'K') << "a view in key order gives key positions";
  NEXT(view);
  CLOSE(view);

  SETfile(*f_);
  OPEN(view, 0x22);
  RESETfile(view, viewPos);
  EXPECT_EQ(RtErrorCode(), 0);
  NEXT(view);
  EXPECT_EQ(rec().NAME.clipped(), "Jones");
  NEXT(view);
  EXPECT_EQ(rec().NAME.clipped(), "SMITH") << "the view's position restores its key order";
  EXPECT_EQ(POSITIONfile(*f_), "R3") << "the file's position is the record order one";
  WATCH(view);
  REGETfile(view, viewPos);
  rec().SUBURB = "Kew";
  PUT(*f_);
  EXPECT_EQ(RtErrorCode(), 0);
  CLOSE(view);
  CLOSE(view);
  EXPECT_EQ(RtErrorCode(), kFileNotOpen);
}

TEST(VarnameOrderTest, CompositeOptionalKeyNeedsEveryComponentEmpty) {
  TempDir dir;
  FileDecl varname("Varname", FileName(dir / "variable.tps"), "VAR", "", CreateThread(), StandrdLayout("VAR"),
                   VarnameKeys());
  CREATE(varname);
  OPEN(varname, 0x42);
  ASSERT_EQ(RtErrorCode(), 0);
  AddStandrd(varname, 0, "", "Richmond");  // only the suburb set
  AddStandrd(varname, 0, "", "");          // nothing set
  AddStandrd(varname, 3, "Lee", "");
  Key& all = *varname.FindKey("var:bycusidnamesuburb");
  SETkey(all);
  const Ids ids = ReadAll(varname, [&] { NEXT(varname); });
  EXPECT_EQ(ids, (Ids{0, 3}));
  SETkey(*varname.FindKey("VAR:BYCUSIDNAME"));
  EXPECT_EQ(ReadAll(varname, [&] { NEXT(varname); }), (Ids{3}));
  SETfile(varname);
  EXPECT_EQ(ReadAll(varname, [&] { NEXT(varname); }).size(), 3u);
  CLOSE(varname);
}

TEST(KeyImageOrderTest, NumbersSortByValue) {
  TempDir dir;
  auto f = MakeStandrd(dir / "NUMS");
  CREATE(*f);
  OPEN(*f, 0x42);
  const LONG values[] = {5, -1, 2147483647, -2147483647 - 1, 256, -256, 1};
  for (LONG v : values) AddStandrd(*f, v, "x");
  SETkey(f->key(1));
  EXPECT_EQ(ReadAll(*f, [&] { NEXT(*f); }), (Ids{-2147483647 - 1, -256, -1, 1, 5, 256, 2147483647}));
  CLOSE(*f);
}

}  // namespace
}  // namespace qx::testing
