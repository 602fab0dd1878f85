// Transactions, WATCH and 89, bulk filling with APPEND and BUILDfile, and holding a file
// with LOCK, between instances of one process (another thread is another opener).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
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
  // Another opener, on a thread of its own, reads the record at `pos` and PUTs it back
  // with SUBURB "Theirs".
  void TheirSuburbAt(const std::string& pos) {
    OnOtherThread([&] {
      auto other = MakeStandrd(dir_ / "STANDRD");
      OPEN(*other, 0x42);
      REGETfile(*other, pos);
      other->Record<StandrdRecord>().SUBURB = "Theirs";
      PUT(*other);
      EXPECT_EQ(RtErrorCode(), 0) << RtPushFileErrorText();
      CLOSE(*other);
    });
  }
  // Bulk-fills the file in one transaction: records with CUSID 100-i and NAME "N<i>" for i
  // from 2 to `last`, each APPENDed, so the keys are left to be rebuilt.
  void AppendInTransaction(LONG last) {
    LOGOUT(2, *f_);
    for (LONG i = 2; i <= last; ++i) {
      rec().CUSID = 100 - i;
      rec().NAME = "N" + std::to_string(i);
      APPEND(*f_);
      ASSERT_EQ(RtErrorCode(), 0);
    }
    COMMIT();
  }

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
  TheirSuburbAt(pos);
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
  TheirSuburbAt(pos);
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
  ASSERT_NO_FATAL_FAILURE(AppendInTransaction(50));
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
  ASSERT_NO_FATAL_FAILURE(AppendInTransaction(20));
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

// Another opener deletes the record this instance has read (the one with the highest
// record pointer) and adds one. Whatever this instance then does with its stale record or
// position must never reach the new record.
TEST_F(TransactionTest, AStaleRecordNeverReachesARecordAddedAfterItsDeletion) {
  struct Case {
    const char* what;
    bool watch;
    std::function<void(FileDecl&, const std::string& pos)> act;
    LONG code;
    LONG cusidRead;  // the record the action leaves in the buffer (0: not looked at)
  };
  const Case cases[] = {
      {"watched PUT", true, [](FileDecl& f, const std::string&) { PUT(f); }, kRecordChanged, 0},
      {"unwatched PUT", false, [](FileDecl& f, const std::string&) { PUT(f); }, kRecordNotAvailable, 0},
      {"DELETE", false, [](FileDecl& f, const std::string&) { DELETE(f); }, kRecordNotAvailable, 0},
      {"REGETfile", false, [](FileDecl& f, const std::string& pos) { REGETfile(f, pos); }, kRecordNotFound, 0},
      {"RESETfile, then PREVIOUS", false,
       [](FileDecl& f, const std::string& pos) {
         RESETfile(f, pos);
         PREVIOUS(f);
       },
       0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    AddStandrd(*f_, 2, "Stale");
    const std::string pos = POSITIONfile(*f_);
    if (c.watch) WATCH(*f_);
    REGETfile(*f_, pos);
    ASSERT_EQ(RtErrorCode(), 0);
    std::string newPos;
    OnOtherThread([&] {
      auto other = MakeStandrd(dir_ / "STANDRD");
      OPEN(*other, 0x42);
      REGETfile(*other, pos);
      DELETE(*other);
      ASSERT_EQ(RtErrorCode(), 0);
      ASSERT_EQ(AddStandrd(*other, 99, "Theirs", "Untouched"), 0);
      newPos = POSITIONfile(*other);
      CLOSE(*other);
    });
    EXPECT_NE(newPos, pos) << "the new record took the deleted record's pointer";
    rec().SUBURB = "Mine";
    c.act(*f_, pos);
    EXPECT_EQ(RtErrorCode(), c.code) << RtPushFileErrorText();
    if (c.cusidRead != 0) {
      EXPECT_EQ(rec().CUSID, c.cusidRead);
    }
    EXPECT_EQ(AllIds(), (std::vector<LONG>{1, 99}));
    REGETfile(*f_, newPos);
    EXPECT_EQ(rec().SUBURB.clipped(), "Untouched");
    DELETE(*f_);  // back to record 1 alone
  }
}

// ROLLBACK undoes what the transaction wrote, and what the instance noted of it: the
// version a watched PUT raised, and a record the transaction added.
TEST_F(TransactionTest, RollbackRestoresTheCurrentRecordsNotedState) {
  SETfile(*f_);
  WATCH(*f_);
  NEXT(*f_);
  const std::string pos = POSITIONfile(*f_);
  LOGOUT(2, *f_);
  rec().SUBURB = "Undone";
  PUT(*f_);
  ASSERT_EQ(RtErrorCode(), 0);
  ROLLBACK();
  rec().SUBURB = "Kept";
  PUT(*f_);
  EXPECT_EQ(RtErrorCode(), 0) << "nobody else changed the record: no 89";

  // The same when the watched read inside the transaction saw the transaction's write.
  LOGOUT(2, *f_);
  rec().SUBURB = "Undone";
  PUT(*f_);
  WATCH(*f_);
  REGETfile(*f_, pos);
  ROLLBACK();
  rec().SUBURB = "Kept again";
  PUT(*f_);
  EXPECT_EQ(RtErrorCode(), 0) << "nobody else changed the record: no 89";

  // Still watched: another opener's change after the ROLLBACK is caught.
  LOGOUT(2, *f_);
  ROLLBACK();
  TheirSuburbAt(pos);
  PUT(*f_);
  EXPECT_EQ(RtErrorCode(), kRecordChanged);

  // A record added inside the rolled-back transaction is no current record afterwards,
  // even when another opener's next record takes its place.
  LOGOUT(2, *f_);
  AddStandrd(*f_, 7, "Rolled back");
  ROLLBACK();
  OnOtherThread([&] {
    auto other = MakeStandrd(dir_ / "STANDRD");
    OPEN(*other, 0x42);
    AddStandrd(*other, 8, "Theirs", "Untouched");
    CLOSE(*other);
  });
  rec().SUBURB = "Mine";
  PUT(*f_);
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable);
  SETkey(f_->key(1));
  PREVIOUS(*f_);
  EXPECT_EQ(rec().CUSID, 8);
  EXPECT_EQ(rec().SUBURB.clipped(), "Untouched");
}

// An opener waiting for a held file while its holder replaces it (renames a new file
// over it, as a conversion does) takes its locks on the new file, the one the engine
// opens: its mode then governs the file everyone opens next.
TEST_F(TransactionTest, AnOpenerWaitingWhileTheFileIsReplacedLocksTheNewFile) {
  std::filesystem::create_directory(dir_ / "new");
  auto replacement = MakeStandrd(dir_ / "new/STANDRD");
  CREATE(*replacement);
  OPEN(*replacement, 0x42);
  AddStandrd(*replacement, 2, "Replacement");
  CLOSE(*replacement);
  LOCK(*f_);
  ASSERT_EQ(RtErrorCode(), 0);

  LONG opened = -1, cusid = -1, writer = -1;
  std::thread waiter([&] {
    auto mine = MakeStandrd(dir_ / "STANDRD");
    SEND(*mine, "Recover=10");
    OPEN(*mine, 0x22);  // denies others writing
    opened = RtErrorCode();
    SETfile(*mine);
    NEXT(*mine);
    cusid = mine->Record<StandrdRecord>().CUSID;
    auto another = MakeStandrd(dir_ / "STANDRD");
    OPEN(*another, 0x42);
    writer = RtErrorCode();
    if (writer == 0) CLOSE(*another);
    CLOSE(*mine);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  ASSERT_EQ(std::rename((dir_ / "new/STANDRD.TPS").c_str(), (dir_ / "STANDRD.TPS").c_str()), 0);
  CLOSE(*f_);
  waiter.join();
  EXPECT_EQ(opened, 0);
  EXPECT_EQ(cusid, 2);
  EXPECT_EQ(writer, kAccessDenied) << "the waiter's mode holds on the file now in place";
}

}  // namespace
}  // namespace qx::testing
