// The runtime lock; see runtime_lock.h for the invariant it keeps.
#include "runtime/sys/runtime_lock.h"

#include <cassert>
#include <mutex>

namespace qx {
namespace {

std::mutex gRuntimeLock;
thread_local bool tHeld = false;

}  // namespace

void RtRuntimeLockAcquire() {
  assert(!tHeld);
  gRuntimeLock.lock();
  tHeld = true;
}

void RtRuntimeLockRelease() {
  assert(tHeld);
  tHeld = false;
  gRuntimeLock.unlock();
}

bool RtRuntimeLockHeld() { return tHeld; }

WaitOutsideRuntime::WaitOutsideRuntime() : released_(tHeld) {
  if (released_) RtRuntimeLockRelease();
}

WaitOutsideRuntime::~WaitOutsideRuntime() {
  if (released_) RtRuntimeLockAcquire();
}

}  // namespace qx
