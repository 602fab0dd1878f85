// Program threads: numbers 2 to 64, the 64th refused, thread globals, reuse of numbers,
// the requested stack as a minimum, RtEndProgram waiting for every thread, and each
// window's events going to its own thread.
#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>

#include "runtime/sys/runtime_lock.h"
#include "runtime/win/idle.h"
#include "runtime/win/presentation.h"
#include "runtime/win/view_input.h"
#include "runtime/win/win.h"

namespace qx {
namespace {

std::atomic<int> gEnded{0};
std::atomic<int> gStarted{0};
QX_THREAD_GLOBAL(LONG, UseCount);
std::atomic<int> gNonZeroGlobals{0};

// A thread procedure that runs a window until it is closed.
void WindowThread() {
  if (UseCount != 0) ++gNonZeroGlobals;
  UseCount = 7;
  ++gStarted;
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "SECOND");
  RtOpenWindow(w);
  while (RtAccept()) RtEndAcceptPass(0);
  RtExitAccept(0);
  RtDisposeWindow(w);
  ++gEnded;
}

size_t OpenWindows() { return ReadPresentation().windows.size(); }

// Waits inside the platform (letting the other threads run) until `n` windows are open.
bool WaitForOpenWindows(size_t n) {
  WaitOutsideRuntime wait;
  for (int i = 0; i < 2000; ++i) {
    if (OpenWindows() == n) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

TEST(ProgramThreads, SixtyThreeStartAndTheSixtyFourthIsRefused) {
  ProgramThreadScope main;
  gStarted = 0;
  gEnded = 0;
  gNonZeroGlobals = 0;
  UseCount = 3;
  std::set<LONG> numbers;
  for (int i = 0; i < 63; ++i) numbers.insert(RtStart(&WindowThread, 50000));
  EXPECT_EQ(numbers.size(), 63u);
  EXPECT_EQ(*numbers.begin(), 2);
  EXPECT_EQ(*numbers.rbegin(), 64);
  EXPECT_EQ(RtStart(&WindowThread, 50000), 0) << "at most 63 beside the main thread";
  ASSERT_TRUE(WaitForOpenWindows(63));
  EXPECT_EQ(gNonZeroGlobals.load(), 0) << "thread globals are zero when a thread starts";
  EXPECT_EQ(UseCount, 3) << "the main thread keeps its own copy";
  for (LONG t = 2; t <= 64; ++t) RtPost(kEventCloseWindow, 0, t, 1);
  RtEndProgram();
  EXPECT_EQ(gEnded.load(), 63);
  for (LONG t = 2; t <= 64; ++t) EXPECT_FALSE(RtThreadRunning(t)) << t;
  EXPECT_EQ(RtStart(&WindowThread, 50000), 2) << "numbers are reused once their thread has ended";
  ASSERT_TRUE(WaitForOpenWindows(1));
  RtPost(kEventCloseWindow, 0, 2);
  RtEndProgram();
}

std::atomic<size_t> gOwnStack{0};

// A thread procedure that reads the size of the stack it runs on.
void ReadOwnStack() {
  pthread_attr_t attr;
  size_t size = 0;
  if (pthread_getattr_np(pthread_self(), &attr) == 0) {
    pthread_attr_getstacksize(&attr, &size);
    pthread_attr_destroy(&attr);
  }
  gOwnStack = size;
}

TEST(ProgramThreads, TheRequestedStackIsAMinimum) {
  ProgramThreadScope main;
  constexpr LONG kSixteenMiB = 16 * 1024 * 1024;
  const struct {
    LONG requested;
    size_t atLeast;
  } cases[] = {
      {0, kMinimumThreadStack},
      {50000, kMinimumThreadStack},  // a small request still gets the floor
      {kSixteenMiB, kSixteenMiB},    // a request above the floor is honoured
  };
  for (const auto& c : cases) {
    gOwnStack = 0;
    ASSERT_NE(RtStart(&ReadOwnStack, c.requested), 0) << c.requested;
    RtEndProgram();
    EXPECT_GE(gOwnStack.load(), c.atLeast) << c.requested;
  }
}

TEST(ProgramThreads, EndProgramWaitsForEveryThreadAndClosesTheMainThreadsWindows) {
  ProgramThreadScope main;
  gEnded = 0;
  WindowRef mine;
  RtNewWindow(mine, "wintest$unit", "PLAIN");
  RtOpenWindow(mine);
  for (int i = 0; i < 3; ++i) ASSERT_NE(RtStart(&WindowThread, 0), 0);
  ASSERT_TRUE(WaitForOpenWindows(4));
  // A person closes the threads' windows one by one, each once the program waits for a
  // person: the main thread has begun its end and waits for the others.
  std::thread person([] {
    for (int i = 0; i < 3; ++i) {
      EXPECT_TRUE(WaitProgramIdle(10000));
      for (const auto& w : ReadPresentation().windows) {
        if (w.thread != 1) {
          ViewInput::Close(w.id);
          break;
        }
      }
    }
  });
  RtEndProgram();
  EXPECT_EQ(gEnded.load(), 3) << "RtEndProgram returned before every thread had ended";
  EXPECT_EQ(OpenWindows(), 0u);
  person.join();
  RtDisposeWindow(mine);
}

std::atomic<LONG> gChildThreadSawClose{0};

void ChildOfFrame() {
  WindowRef child;
  RtNewMdiWindow(child, "wintest$unit", "CHILD");
  RtOpenWindow(child);
  while (RtAccept()) {
    if (RtEvent() == kEventCloseWindow) gChildThreadSawClose = RtThread();
    RtEndAcceptPass(0);
  }
  RtExitAccept(0);
  RtDisposeWindow(child);
}

TEST(ProgramThreads, AChildWindowOfAnotherThreadGetsItsOwnEventsAndClosesWithTheFrame) {
  ProgramThreadScope main;
  gChildThreadSawClose = 0;
  WindowRef frame;
  RtNewAppFrame(frame, "wintest$unit", "FRAME");
  RtOpenWindow(frame);
  const LONG thread = RtStart(&ChildOfFrame, 50000);
  ASSERT_TRUE(WaitForOpenWindows(2));
  const auto windows = ReadPresentation().windows;
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_EQ(windows[1].kind, "mdi");
  EXPECT_EQ(windows[1].parent, frame.id);
  EXPECT_EQ(windows[1].thread, thread);
  EXPECT_TRUE(windows[0].takesInput) << "the frame's thread has no later window";
  ASSERT_EQ(windows[0].children.size(), 1u);
  EXPECT_EQ(windows[0].children[0].title, "Child");
  ASSERT_EQ(ViewInput::Close(frame.id), InputResult::kDone);
  std::vector<LONG> events;
  while (RtAccept()) {
    events.push_back(RtEvent());
    RtEndAcceptPass(0);
  }
  EXPECT_EQ(events.back(), kEventCloseDown);
  RtExitAccept(0);
  RtEndProgram();
  EXPECT_EQ(gChildThreadSawClose.load(), thread) << "the child's close request went to its own thread";
  RtDisposeWindow(frame);
}

TEST(ProgramThreads, AChildThatOpensAfterItsFrameClosedIsAskedToCloseAtOnce) {
  ProgramThreadScope main;
  gChildThreadSawClose = 0;
  WindowRef frame;
  RtNewAppFrame(frame, "wintest$unit", "FRAME");
  RtOpenWindow(frame);
  // The frame closes before the child's thread gets to open its window: the runtime lock
  // keeps the new thread from running until the frame's loop waits.
  const LONG thread = RtStart(&ChildOfFrame, 50000);
  RtCloseWindow(frame);
  RtEndProgram();  // would wait for ever if the child were left open without a frame
  EXPECT_EQ(gChildThreadSawClose.load(), thread);
  RtDisposeWindow(frame);
}

}  // namespace
}  // namespace qx
