// The runtime lock: program threads run program code one at a time.
//
// Invariant: a program thread holds the lock whenever it runs program code. The platform
// gives it up only while the thread waits inside the platform (for an event, in a message
// box, while a child program runs, while a transaction or an open waits for a file lock,
// while the view draws a window the program asked to show) and takes it back before it
// returns to program code. So program-wide globals that the programs share without a lock
// of their own are touched by one thread at a time, and a thread switch can happen only
// inside such a wait, never between two statements of program code.
//
// Threads that are not program threads (the view's thread, test code that calls the
// runtime directly) do not hold the lock; for them WaitOutsideRuntime does nothing.
#pragma once

namespace qx {

// Takes the lock for the calling thread; blocks while another thread holds it. Called by
// the platform when a program thread starts and when a wait ends. Not re-entrant.
void RtRuntimeLockAcquire();
// Gives the lock up; the calling thread must hold it.
void RtRuntimeLockRelease();
// True when the calling thread holds the lock.
bool RtRuntimeLockHeld();

// Scope of a wait inside the platform: releases the lock on entry when the calling thread
// holds it and takes it back on exit. Nests: an inner scope finds the lock released and
// does nothing.
class WaitOutsideRuntime {
 public:
  WaitOutsideRuntime();
  ~WaitOutsideRuntime();
  WaitOutsideRuntime(const WaitOutsideRuntime&) = delete;
  WaitOutsideRuntime& operator=(const WaitOutsideRuntime&) = delete;

 private:
  bool released_;
};

}  // namespace qx
