// The runtime lock lets one program thread run at a time and is given up only in waits.
#include "runtime/sys/runtime_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace qx {
namespace {

TEST(RuntimeLock, WaitOutsideIsANoOpForThreadsWithoutTheLock) {
  EXPECT_FALSE(RtRuntimeLockHeld());
  { WaitOutsideRuntime wait; EXPECT_FALSE(RtRuntimeLockHeld()); }
  EXPECT_FALSE(RtRuntimeLockHeld());
}

TEST(RuntimeLock, WaitGivesTheLockUpAndTakesItBack) {
  RtRuntimeLockAcquire();
  EXPECT_TRUE(RtRuntimeLockHeld());
  {
    WaitOutsideRuntime wait;
    EXPECT_FALSE(RtRuntimeLockHeld());
    { WaitOutsideRuntime nested; EXPECT_FALSE(RtRuntimeLockHeld()); }
    // Another program thread can run program code while this one waits.
    std::thread other([] { RtRuntimeLockAcquire(); RtRuntimeLockRelease(); });
    other.join();
  }
  EXPECT_TRUE(RtRuntimeLockHeld());
  RtRuntimeLockRelease();
}

TEST(RuntimeLock, ProgramCodeOfTwoThreadsNeverInterleaves) {
  std::atomic<int> inside{0};
  std::atomic<bool> overlapped{false};
  long shared = 0;  // a program-wide global touched without a lock of its own
  auto body = [&] {
    for (int i = 0; i < 2000; ++i) {
      RtRuntimeLockAcquire();
      if (inside.fetch_add(1) != 0) overlapped = true;
      long v = shared;
      shared = v + 1;
      inside.fetch_sub(1);
      RtRuntimeLockRelease();
    }
  };
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) threads.emplace_back(body);
  for (auto& t : threads) t.join();
  EXPECT_FALSE(overlapped);
  EXPECT_EQ(shared, 8000);
}

}  // namespace
}  // namespace qx
