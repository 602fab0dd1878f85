// Program life: registering the modules and running their initialisers, the runtime
// release check, the one-time start-up, and the program's end.
#pragma once

#include <span>
#include <string_view>

#include "runtime/text/types.h"

namespace qx {

// One module of the program: its initialiser is called with phase 0 at program start and
// with phase 1 at its end (RtTerminate).
struct RtModule {
  const char* name;
  LONG priority;            // lower first; the programs' modules use 5
  void (*initialise)(LONG phase);
};

// Registers the program's modules and runs every initialiser with phase 0: the runtime's
// own first, then the program's by priority, in table order within a priority. `flags` is
// kept for the programs' calls. A second call adds its modules and runs only theirs.
void RtRegisterModule(std::span<const RtModule> modules, LONG flags = 0);

// The release of this runtime library.
constexpr LONG kRuntimeRelease = 0x105, kRuntimeMajor = 2, kRuntimeMinor = 0;
// The environment variable through which tests make the runtime report another release,
// written "104h,2,0" (or "260,2,0").
inline constexpr const char* kReleaseOverrideVariable = "QXRT_RUNTIME_RELEASE";

// Non-zero when this runtime supports the release the program was built for (release,
// major, minor, compared in that order). Otherwise shows the runtime's own message box,
// captioned "Runtime Library", and returns 0.
LONG RtCheckRuntimeVersion(LONG release, LONG major, LONG minor);

// The runtime's one-time start-up step; later calls do nothing.
void RtInitOnce();

// Closes the calling thread's remaining windows (the main thread's, as the programs call
// it) and waits until every other program thread (2 to 64) has ended.
void RtEndProgram();

// Runs every registered initialiser once more with phase 1, logs the end ("end", with the
// exit code, for the automation channel), then ends the process with `exitCode`; does not
// return. C streams are flushed; functions registered with
// std::at_quick_exit run (libraries that must close files at the end register there), static
// destructors do not (other threads may still be inside the runtime).
[[noreturn]] void RtTerminate(LONG exitCode);

// Shows `text` in a box captioned "Halt" with the stop icon and an OK button (an empty
// text too: the box is how the person learns the program is stopping), then ends the
// program with `exitCode` as RtTerminate does.
[[noreturn]] void RtHalt(LONG exitCode, std::string_view text = {});

// How the process ends; the process entry may replace it (tests do, to see the code).
using ProcessEnd = void (*)(LONG exitCode);
void RtSetProcessEnd(ProcessEnd end);

}  // namespace qx
