// What both programs' modules share: the two global windows and the flag of the welcome
// window, the start-up and end of a program module, and the process entry. Each program
// has its own copy (they are two programs), its own module id for the windows'
// descriptions and its own request globals.
#pragma once

#include <span>

#include "runtime/text/types.h"
#include "runtime/win/program.h"
#include "runtime/win/windows.h"

namespace qx {

// "$ZELTWELCOME" ("Checking Files for errors          Please Wait ..."): created at
// program start, opened by the first call of EnsureWelcomeShown, closed by the frame just
// before it opens.
extern WindowRef WelcomeWindow;
// "$ZELTKEYWIN" ("Finishing conversion Please wait..."): a conversion opens it once RECFIX
// has ended and closes it when the work files are removed (and Encrypt renumbered).
extern WindowRef KeyWindow;

// 0 at load; 1 once WelcomeWindow has been opened; never reset.
extern BYTE WelcomeShown;

// The shared part of a program module's initialiser. Phase 0 (program start): the
// one-time runtime start-up, the two global windows created from the descriptions of
// `module` (not opened), then `beforeBuffers` when given, then the main thread's four
// record buffers cleared (numbers 0, texts blank). Any other phase (the end): KeyWindow,
// then WelcomeWindow disposed. Every phase makes sure the image, prompt and panel
// controls of the global windows can be created.
void SharedModuleInit(const char* module, LONG phase, void (*beforeBuffers)() = nullptr);

// When WelcomeShown is 0: opens WelcomeWindow, draws it, WelcomeShown := 1. Otherwise
// nothing, so the welcome window is shown once per run at most.
void EnsureWelcomeShown();

// The process entry: registers `modules` (their initialisers run with phase 0, in that
// order), checks the runtime release (105h, 2, 0), runs `programMain` unless the release
// is not supported, waits for the other threads and ends the process, with exit code 0 on
// every path.
[[noreturn]] void RunProgramEntry(std::span<const RtModule> modules, void (*programMain)());

}  // namespace qx
