// Program threads and their numbers; see threads.h.
#include "runtime/win/threads.h"

#include <pthread.h>

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstdio>
#include <mutex>

#include "runtime/sys/runtime_lock.h"
#include "runtime/win/model.h"

namespace qx {
namespace {

thread_local LONG tThreadNumber = 0;

struct Registry {
  std::mutex mu;
  std::condition_variable cv;
  std::array<bool, kMaxProgramThread + 1> used{};  // slot taken from start until fully ended
};

Registry& TheRegistry() {
  static Registry r;
  return r;
}

struct StartBlock {
  void (*procedure)();
  LONG number;
};

// Notes in the model that thread `number` lives and runs (from before its OS thread
// exists) or has ended.
void NoteThread(LONG number, ThreadActivity activity) {
  Model& m = Model::Get();
  std::lock_guard<std::mutex> lock(m.mu);
  m.SetThreadActivity(number, activity);
}

// Closes whatever the ending thread left open, so its windows do not outlive it; the
// thread has ended as far as the model is concerned.
void CloseThreadWindows(LONG number) {
  ModelTransaction t;
  Model& m = t.model();
  auto open = m.threadWindows[static_cast<size_t>(number)];
  for (auto it = open.rbegin(); it != open.rend(); ++it) {
    if (WindowModel* w = m.FindWindow(*it)) m.CloseOpenWindow(t, *w);
  }
  m.SetThreadActivity(number, ThreadActivity::kEnded);
}

void FreeSlot(LONG number) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mu);
  r.used[static_cast<size_t>(number)] = false;
  r.cv.notify_all();
}

void* ThreadMain(void* arg) {
  StartBlock block = *static_cast<StartBlock*>(arg);
  delete static_cast<StartBlock*>(arg);
  tThreadNumber = block.number;
  RtRuntimeLockAcquire();
  block.procedure();
  CloseThreadWindows(block.number);
  tThreadNumber = 0;
  RtRuntimeLockRelease();
  FreeSlot(block.number);
  return nullptr;
}

}  // namespace

LONG CurrentProgramThread() { return tThreadNumber; }
LONG RtThread() { return tThreadNumber; }

LONG RtStart(void (*procedure)(), LONG stackBytes) {
  if (procedure == nullptr) return 0;
  Registry& r = TheRegistry();
  LONG number = 0;
  {
    std::lock_guard<std::mutex> lock(r.mu);
    for (LONG n = 2; n <= kMaxProgramThread; ++n) {
      if (!r.used[static_cast<size_t>(n)]) {
        number = n;
        r.used[static_cast<size_t>(n)] = true;
        break;
      }
    }
  }
  if (number == 0) return 0;
  NoteThread(number, ThreadActivity::kRunning);
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  const size_t stack = static_cast<size_t>(std::max<LONG>(stackBytes, kMinimumThreadStack));
  pthread_attr_setstacksize(&attr, stack);
  pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
  auto* block = new StartBlock{procedure, number};
  pthread_t id;
  const int rc = pthread_create(&id, &attr, &ThreadMain, block);
  pthread_attr_destroy(&attr);
  if (rc != 0) {
    delete block;
    NoteThread(number, ThreadActivity::kEnded);
    FreeSlot(number);
    return 0;
  }
  return number;
}

void RtWaitOtherThreads() {
  const LONG self = CurrentProgramThread();
  WaitOutsideRuntime wait;
  // Set before the registry is looked at and cleared after: an ending thread is kEnded in
  // the model before it frees its slot, so while this thread is kOthersWait with another
  // thread live, the wait cannot end without that thread's state changing first.
  NoteThread(self, ThreadActivity::kOthersWait);
  {
    Registry& r = TheRegistry();
    std::unique_lock<std::mutex> lock(r.mu);
    r.cv.wait(lock, [&] {
      for (LONG n = 2; n <= kMaxProgramThread; ++n) {
        if (r.used[static_cast<size_t>(n)]) return false;
      }
      return true;
    });
  }
  NoteThread(self, ThreadActivity::kRunning);
}

bool RtThreadRunning(LONG number) {
  if (number < 1 || number > kMaxProgramThread) return false;
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mu);
  return r.used[static_cast<size_t>(number)];
}

ProgramThreadScope::ProgramThreadScope() {
  {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mu);
    if (r.used[1]) std::fprintf(stderr, "qxrt: a second main program thread was started\n");
    r.used[1] = true;
  }
  tThreadNumber = 1;
  NoteThread(1, ThreadActivity::kRunning);
  RtRuntimeLockAcquire();
}

ProgramThreadScope::~ProgramThreadScope() {
  CloseThreadWindows(1);
  ResetAcceptLoops();
  tThreadNumber = 0;
  RtRuntimeLockRelease();
  FreeSlot(1);
}

}  // namespace qx
