// Per-thread instances: each thread has its own open state, order, current record and
// record buffer; access modes govern sharing between threads as between processes.
#include <gtest/gtest.h>

#include <thread>

#include "runtime/sys/runtime_lock.h"
#include "tests/store/test_files.h"

namespace qx::testing {
namespace {

class ThreadsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f_ = MakeStandrd(dir_ / "STANDRD");
    CREATE(*f_);
  }
  TempDir dir_;
  std::unique_ptr<FileDecl> f_;
};

TEST_F(ThreadsTest, EachThreadHasItsOwnInstanceAndBuffer) {
  OPEN(*f_, 0x42);
  AddStandrd(*f_, 1, "Main");
  AddStandrd(*f_, 2, "Second");
  f_->Record<StandrdRecord>().NAME = "main's buffer";
  SETfile(*f_);
  NEXT(*f_);

  std::thread([&] {
    const auto& r = f_->Record<StandrdRecord>();
    EXPECT_EQ(r.CUSID, 0) << "a thread's buffer starts cleared";
    EXPECT_TRUE(r.NAME.blank());
    NEXT(*f_);
    EXPECT_EQ(RtErrorCode(), kFileNotOpen) << "the main thread's OPEN does not open this thread's instance";
    OPEN(*f_, 0x42);
    EXPECT_EQ(RtErrorCode(), 0);
    SETfile(*f_);
    PREVIOUS(*f_);
    EXPECT_EQ(r.CUSID, 2);
    CLOSE(*f_);
  }).join();

  EXPECT_EQ(f_->Record<StandrdRecord>().NAME.clipped(), "Main") << "the other thread's reads left this buffer alone";
  NEXT(*f_);
  EXPECT_EQ(f_->Record<StandrdRecord>().CUSID, 2) << "and this thread's place";
  CLOSE(*f_);
}

TEST_F(ThreadsTest, AccessModesBetweenThreads) {
  struct Case {
    LONG first, second;
    LONG code;
  };
  const Case cases[] = {
      {0x42, 0x42, 0},  {0x22, 0x42, kAccessDenied}, {0x42, 0x22, kAccessDenied}, {0x22, 0x22, kAccessDenied},
      {0x22, 0x40, 0},  {0x20, 0x42, kAccessDenied}, {0x12, 0x40, kAccessDenied}, {0x40, 0x12, kAccessDenied},
      {0x32, 0x41, 0},  {0x42, 0x40, 0},
  };
  for (const auto& c : cases) {
    OPEN(*f_, c.first);
    ASSERT_EQ(RtErrorCode(), 0);
    LONG code = -1;
    std::thread([&] {
      OPEN(*f_, c.second);
      code = RtErrorCode();
      if (code == 0) CLOSE(*f_);
    }).join();
    EXPECT_EQ(code, c.code) << std::hex << c.first << " then " << c.second;
    CLOSE(*f_);
  }
}

TEST_F(ThreadsTest, AThreadEndingWithTheFileOpenReleasesIt) {
  std::thread([&] {
    OPEN(*f_, 0x12);
    ASSERT_EQ(RtErrorCode(), 0);
    LOGOUT(2, *f_);
    AddStandrd(*f_, 5, "Half done");
  }).join();
  OPEN(*f_, 0x12);
  EXPECT_EQ(RtErrorCode(), 0) << "the ended thread's share locks are gone";
  SETfile(*f_);
  NEXT(*f_);
  EXPECT_EQ(RtErrorCode(), kRecordNotAvailable) << "its transaction was rolled back";
  LOGOUT(1, *f_);
  EXPECT_EQ(RtErrorCode(), 0) << "and its write lock released";
  COMMIT();
  CLOSE(*f_);
}

TEST_F(ThreadsTest, ClosingOneInstanceKeepsAnotherThreadsTransactionSafe) {
  // Thread B holds a transaction; the main thread opens and closes its own instance of
  // the same file meanwhile, which must not drop B's locks: a third opener's LOGOUT
  // still finds the file locked.
  std::mutex m;
  std::condition_variable cv;
  int stage = 0;
  std::thread b([&] {
    OPEN(*f_, 0x42);
    LOGOUT(2, *f_);
    AddStandrd(*f_, 1, "B");
    {
      std::unique_lock<std::mutex> l(m);
      stage = 1;
      cv.notify_all();
      cv.wait(l, [&] { return stage == 2; });
    }
    COMMIT();
    EXPECT_EQ(RtErrorCode(), 0);
    CLOSE(*f_);
  });
  {
    std::unique_lock<std::mutex> l(m);
    cv.wait(l, [&] { return stage == 1; });
  }
  OPEN(*f_, 0x42);
  CLOSE(*f_);
  LONG code = -1;
  std::thread([&] {
    OPEN(*f_, 0x42);
    LOGOUT(0, *f_);
    code = RtErrorCode();
    CLOSE(*f_);
  }).join();
  EXPECT_EQ(code, kUnableToLogTransaction);
  {
    std::lock_guard<std::mutex> l(m);
    stage = 2;
    cv.notify_all();
  }
  b.join();
}

TEST_F(ThreadsTest, LogoutReleasesTheRuntimeLockWhileItWaits) {
  // Two program threads under the runtime lock: while the second waits in LOGOUT for the
  // first's transaction, the first must be able to run and commit.
  OPEN(*f_, 0x42);
  RtRuntimeLockAcquire();
  LOGOUT(2, *f_);
  ASSERT_EQ(RtErrorCode(), 0);
  LONG code = -1;
  std::thread second([&] {
    RtRuntimeLockAcquire();
    OPEN(*f_, 0x42);
    LOGOUT(5, *f_);  // waits; releases the runtime lock meanwhile
    code = RtErrorCode();
    if (code == 0) COMMIT();
    CLOSE(*f_);
    RtRuntimeLockRelease();
  });
  {
    WaitOutsideRuntime outside;  // let the second thread start and begin waiting
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
  }
  AddStandrd(*f_, 1, "First");  // runs only if the waiting thread gave the lock up
  COMMIT();
  RtRuntimeLockRelease();
  second.join();
  EXPECT_EQ(code, 0);
  CLOSE(*f_);
}

TEST_F(ThreadsTest, WithoutTheThreadAttributeThreadsShareOneInstance) {
  FileAttributes shared = CreateThread();
  shared.thread = false;
  auto g = MakeStandrd(dir_ / "STANDRD", StandrdKeys(), "", shared);
  OPEN(*g, 0x42);
  AddStandrd(*g, 3, "Shared");
  std::thread([&] {
    EXPECT_EQ(g->Record<StandrdRecord>().CUSID, 3) << "one buffer";
    OPEN(*g, 0x42);
    EXPECT_EQ(RtErrorCode(), kFileAlreadyOpen) << "one open state";
    SETfile(*g);
    NEXT(*g);
    EXPECT_EQ(RtErrorCode(), 0);
  }).join();
  CLOSE(*g);
}

TEST(DeclarationLifetimeTest, ADeclarationDestroyedWhileAnotherThreadHasItOpen) {
  TempDir dir;
  auto f = MakeStandrd(dir / "STANDRD");
  CREATE(*f);
  std::mutex m;
  std::condition_variable cv;
  bool opened = false, destroyed = false;
  std::thread t([&] {
    OPEN(*f, 0x12);
    std::unique_lock<std::mutex> l(m);
    opened = true;
    cv.notify_all();
    cv.wait(l, [&] { return destroyed; });
  });
  {
    std::unique_lock<std::mutex> l(m);
    cv.wait(l, [&] { return opened; });
  }
  f.reset();
  {
    std::lock_guard<std::mutex> l(m);
    destroyed = true;
    cv.notify_all();
  }
  t.join();  // the thread's table must not touch the closed instance twice
  auto again = MakeStandrd(dir / "STANDRD");
  OPEN(*again, 0x12);
  EXPECT_EQ(RtErrorCode(), 0) << "the destroyed declaration's instance released the file";
  CLOSE(*again);
}

}  // namespace
}  // namespace qx::testing
