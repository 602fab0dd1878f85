// Transactions, WATCH and 89, bulk filling with APPEND and BUILDfile, and holding a file
// with LOCK, between instances of one process (another thread is another opener).
#include <gtest/gtest.h>

#include <thread>

#include "tests/store/test_files.h"

namespace qx::testing {
namespace {

// Runs `body` on a thread of its own (its own instances) and waits for it.
void OnOtherThread(const std::function<void()>& body) { std::thread(body).join(); }

class TransactionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f_ = MakeStandrd(dir_ / "STANDRD");
    CREATE(*f_);
    OPEN(*f_, 0x42);
    ASSERT_EQ(RtErrorCode(), 0);
    AddStandrd(*f_, 1, "Smith", "Carlton");
  }
  void TearDown() override {
    ROLLBACK();
    CLOSE(*f_);
  }
  size_t Count() { return RecordOrderIds(*f_).size(); }
  std::vector<LONG> AllIds() { return RecordOrderIds(*f_); }
  StandrdRecord& rec() { return f_->Record<StandrdRecord>(); }

  TempDir dir_;
  std::unique_ptr<FileDecl> f_;
};

TEST_F(TransactionTest, CommitKeepsRollbackUndoes) {
  LOGOUT(2, *f_);
  ASSERT_EQ(RtErrorCode(), 0);
  AddStandrd(*f_, 2, "Jones");
  COMMIT();
  EXPECT_EQ(RtErrorCode(), 0);
  EXPECT_EQ(AllIds(), (std::vector<LONG>{1, 2}));

  LOGOUT(2, *f_);
  AddStandrd(*f_, 3, "Brown");
  SETfile(*f_);
  NEXT(*f_);
  DELETE(*f_);
  ROLLBACK();
  EXPECT_EQ(RtErrorCode(), 0);
  EXPECT_EQ(AllIds(), (std::vector<LONG>{1, 2}));
}

TEST_F(TransactionTest, LogoutCommitRollbackCodes) {
  COMMIT();
  EXPECT_EQ(RtErrorCode(), kLogoutNotActive);
  ROLLBACK();
  EXPECT_EQ(RtErrorCode(), kLogoutNotActive);
  auto closed = MakeStandrd(dir_ / "STANDRD");
  LOGOUT(2, *closed);
  EXPECT_EQ(RtErrorCode(), kUnableToLogTransaction) << "a file not open cannot take part";
  LOGOUT(2, *f_);
  ASSERT_EQ(RtErrorCode(), 0);
  LOGOUT(2, *f_);
  EXPECT_EQ(RtErrorCode(), kLogoutAlreadyActive);
  COMMIT();
  EXPECT_EQ(RtErrorCode(), 0);
}

TEST_F(TransactionTest, LogoutWaitsForAnotherOpenersTransactionThen48) {
  LOGOUT(2, *f_);
  ASSERT_EQ(RtErrorCode(), 0);
  LONG code = -1;
  std::string detail;
  OnOtherThread([&] {
    auto mine = MakeStandrd(dir_ / "STANDRD");
    OPEN(*mine, 0x42);
    LOGOUT(1, *mine);
    code = RtErrorCode();
    detail = RtPushFileErrorText();
    CLOSE(*mine);
  });
  EXPECT_EQ(code, kUnableToLogTransaction);
  EXPECT_FALSE(detail.empty()) << "the driver's reason reaches the error state";
  COMMIT();
}

TEST_F(TransactionTest, CloseRollsBackAnOpenTransaction) {
  LOGOUT(2, *f_);
  AddStandrd(*f_, 9, "Gone");
  CLOSE(*f_);
  COMMIT();
  EXPECT_EQ(RtErrorCode(), kLogoutNotActive);
  OPEN(*f_, 0x42);
  EXPECT_EQ(AllIds(), (std::vector<LONG>{1}));
}

TEST_F(TransactionTest, WatchedPutOfARecordChangedMeanwhileIs89AndWritesNothing) {
  SETfile(*f_);
  WATCH(*f_);
  NEXT(*f_);
  const std::string pos = POSITIONfile(*f_);
  OnOtherThread([&] {
    auto other = MakeStandrd(dir_ / "STANDRD");
    OPEN(*other, 0x42);
    REGETfile(*other, pos);
    other->Record<StandrdRecord>().SUBURB = "Theirs";
    PUT(*other);
    CLOSE(*other);
  });
  rec().SUBURB = "Mine";
  PUT(*f_);
  EXPECT_EQ(RtErrorCode(), kRecordChanged);
  REGETfile(*f_, pos);
  EXPECT_EQ(rec().SUBURB.clipped(), "Theirs") << "the other opener's version stands";

  // Read again under WATCH, the change goes through, and a second PUT of the same
  // (now own) version too.
  WATCH(*f_);
  REGETfile(*f_, pos);
  rec().SUBURB = "Mine";
  PUT(*f_);
  EXPECT_EQ(RtErrorCode(), 0);
  rec().SUBURB = "Mine again";
  PUT(*f_);
  EXPECT_EQ(RtErrorCode(), 0);
}

TEST_F(TransactionTest, UnwatchedPutOverwritesAndWatchCoversOnlyTheNextRead) {
  WATCH(*f_);
  SETfile(*f_);
  NEXT(*f_);
  NEXT(*f_);  // fails: no second record; the watch went to the first read
  SETfile(*f_);
  NEXT(*f_);  // read without a watch
  const std::string pos = POSITIONfile(*f_);
  OnOtherThread([&] {
    auto other = MakeStandrd(dir_ / "STANDRD");
    OPEN(*other, 0x42);
    REGETfile(*other, pos);
    other->Record<StandrdRecord>().SUBURB = "Theirs";
    PUT(*other);
    CLOSE(*other);
  });
  rec().SUBURB = "Mine";
  PUT(*f_);
  EXPECT_EQ(RtErrorCode(), 0);
}

TEST_F(TransactionTest, WatchedPutOfARecordDeletedMeanwhileIs89) {
  SETfile(*f_);
  WATCH(*f_);
  NEXT(*f_);
  OnOtherThread([&] {
    auto other = MakeStandrd(dir_ / "STANDRD");
    OPEN(*other, 0x42);
    SETfile(*other);
    NEXT(*other);
    DELETE(*other);
    CLOSE(*other);
  });
  PUT(*f_);
  EXPECT_EQ(RtErrorCode(), kRecordChanged);
  EXPECT_EQ(Count(), 0u) << "nothing written back";
}

TEST_F(TransactionTest, AppendSuspendsKeysUntilBuildfile) {
  LOGOUT(2, *f_);
  for (LONG i = 2; i <= 50; ++i) {
    rec().CUSID = 100 - i;
    rec().NAME = "N" + std::to_string(i);
    APPEND(*f_);
    ASSERT_EQ(RtErrorCode(), 0);
  }
  COMMIT();
  SETkey(f_->key(1));
  NEXT(*f_);
  EXPECT_EQ(RtErrorCode(), kKeyFileMustBeRebuilt);
  CLOSE(*f_);
  OPEN(*f_, 0x42);
  EXPECT_EQ(RtErrorCode(), kKeyFileMustBeRebuilt);
  BUILDfile(*f_);
  ASSERT_EQ(RtErrorCode(), 0) << RtPushFileErrorText();
  OPEN(*f_, 0x42);
  ASSERT_EQ(RtErrorCode(), 0);
  SETkey(f_->key(1));
  const auto ids = ReadAll(*f_, [&] { NEXT(*f_); });
  ASSERT_EQ(ids.size(), 50u);
  EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
}

// A file whose keys must be rebuilt opens for reading its records as it is: record order
// works, a key's order reports 46, writing is refused, and not a byte of the file changes.
TEST_F(TransactionTest, OpenRecordsReadsAFileWhoseKeysMustBeRebuiltWithoutChangingIt) {
  LOGOUT(2, *f_);
  for (LONG i = 2; i <= 20; ++i) {
    rec().CUSID = 100 - i;
    rec().NAME = "N" + std::to_string(i);
    APPEND(*f_);
    ASSERT_EQ(RtErrorCode(), 0);
  }
  COMMIT();
  CLOSE(*f_);
  const std::string before = FileBytes(dir_ / "STANDRD.TPS");

  OPENrecords(*f_, 0x42);
  EXPECT_EQ(RtErrorCode(), kUnsupportedDriverFunction) << "a mode that may write";
  OPENrecords(*f_, 0x10);
  ASSERT_EQ(RtErrorCode(), 0);
  SETfile(*f_);
  std::vector<LONG> want = {1};
  for (LONG i = 2; i <= 20; ++i) want.push_back(100 - i);
  EXPECT_EQ(ReadAll(*f_, [&] { NEXT(*f_); }), want);
  SETkey(f_->key(1));
  NEXT(*f_);
  EXPECT_EQ(RtErrorCode(), kKeyFileMustBeRebuilt);
  AddStandrd(*f_, 7, "Written");
  EXPECT_EQ(RtErrorCode(), kAccessDenied);
  CLOSE(*f_);
  EXPECT_TRUE(FileBytes(dir_ / "STANDRD.TPS") == before) << "the file changed";
  OPEN(*f_, 0x42);
  EXPECT_EQ(RtErrorCode(), kKeyFileMustBeRebuilt);
}

// A scratch file keeps its journal in memory: a transaction over it leaves nothing beside
// it on disk, and ROLLBACK still undoes it. An ordinary file has its journal on disk then.
TEST(ScratchFileTest, JournalStaysInMemoryAndRollbackStillUndoes) {
  for (bool scratch : {false, true}) {
    SCOPED_TRACE(scratch ? "scratch" : "ordinary");
    TempDir dir;
    FileAttributes a = CreateThread();
    a.scratch = scratch;
    auto f = MakeStandrd(dir / "WORK.tp1", StandrdKeys(), "", a);
    CREATE(*f);
    OPEN(*f, 0x12);
    ASSERT_EQ(RtErrorCode(), 0);
    ASSERT_EQ(AddStandrd(*f, 1, "Kept"), 0);
    LOGOUT(2, *f);
    ASSERT_EQ(RtErrorCode(), 0);
    for (LONG i = 2; i <= 200; ++i) ASSERT_EQ(AddStandrd(*f, i, "Undone"), 0);
    EXPECT_EQ(dir.Names().size(), scratch ? 1u : 2u) << "a journal beside the file, or none";
    ROLLBACK();
    EXPECT_EQ(RecordOrderIds(*f), (std::vector<LONG>{1}));
    CLOSE(*f);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"WORK.tp1"}));
  }
}

TEST_F(TransactionTest, BuildfileOfAClosedFileNeedsItAlone) {
  CLOSE(*f_);
  LONG code = -1;
  OPEN(*f_, 0x42);
  OnOtherThread([&] {
    auto other = MakeStandrd(dir_ / "STANDRD");
    BUILDfile(*other);
    code = RtErrorCode();
  });
  EXPECT_EQ(code, kAccessDenied);
  CLOSE(*f_);
  BUILDfile(*f_);
  EXPECT_EQ(RtErrorCode(), 0);
  OPEN(*f_, 0x42);
}

TEST_F(TransactionTest, LockedFileIs32UntilUnlockAndRecoverWaitsForIt) {
  LOCK(*f_);
  ASSERT_EQ(RtErrorCode(), 0);
  LONG first = -1;
  OnOtherThread([&] {
    auto other = MakeStandrd(dir_ / "STANDRD");
    OPEN(*other, 0x42);
    first = RtErrorCode();
  });
  EXPECT_EQ(first, kFileIsLocked);

  LONG recovered = -1;
  std::thread waiter([&] {
    auto other = MakeStandrd(dir_ / "STANDRD");
    EXPECT_EQ(SEND(*other, "Recover=10"), "10");
    OPEN(*other, 0x42);
    recovered = RtErrorCode();
    CLOSE(*other);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  UNLOCK(*f_);
  waiter.join();
  EXPECT_EQ(recovered, 0) << "the second OPEN waited for the hold to end";
}

}  // namespace
}  // namespace qx::testing
