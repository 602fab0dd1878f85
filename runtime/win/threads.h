// Program threads: thread 1 runs the program's main code, threads 2 to 64 are started by
// RtStart. Each is a real OS thread that holds the runtime lock while it runs program code
// (runtime/sys/runtime_lock.h), so program threads run one at a time and switch only while
// one waits inside the platform.
#pragma once

#include "runtime/text/types.h"

namespace qx {

constexpr LONG kMinimumThreadStack = 8 * 1024 * 1024;  // bytes; what every thread gets at least

// Starts `procedure` on a new program thread and returns its number, 2 to 64: the lowest
// number whose earlier thread has ended. 0 when 63 threads beside the main thread are
// running (or the OS refuses a thread); nothing is started then. `stackBytes` is a
// minimum: every thread gets at least kMinimumThreadStack. The new thread begins once the
// caller waits inside the platform (it needs the runtime lock); its thread globals are zero.
// When the procedure returns the thread's open windows are closed and the thread ends.
LONG RtStart(void (*procedure)(), LONG stackBytes);

// The calling thread's program thread number, 1 to 64; 0 for a thread that is not a
// program thread (the view's, the automation channel's).
LONG RtThread();

// Blocks, outside the runtime lock, until every program thread 2 to 64 has ended.
void RtWaitOtherThreads();

// True when program thread `number` is running.
bool RtThreadRunning(LONG number);

// Makes the calling OS thread program thread 1 for the scope's life and gives it the
// runtime lock: how the process entry runs the program's main code, and how tests call the
// runtime directly. At the end of the scope the thread's open windows close and the lock is
// given up. Only one scope may exist at a time.
class ProgramThreadScope {
 public:
  ProgramThreadScope();
  ~ProgramThreadScope();
  ProgramThreadScope(const ProgramThreadScope&) = delete;
  ProgramThreadScope& operator=(const ProgramThreadScope&) = delete;
};

// Declares a thread global: one copy per program thread, zero (value-initialised) when the
// thread starts, as the programs' request globals and use counts are. Program threads are
// fresh OS threads, so a C++ thread_local variable is exactly that:
//   QX_THREAD_GLOBAL(LONG, CurrentRequest);
#define QX_THREAD_GLOBAL(type, name) thread_local type name {}

}  // namespace qx
