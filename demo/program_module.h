// qxmora's program module: its global windows, the request globals every window procedure
// hands on, the module initialiser, and the main code that shows the welcome window once
// and runs the frame.
#pragma once

#include "demo/check_and_convert.h"  // KeyWindow
#include "runtime/text/types.h"
#include "runtime/win/windows.h"

namespace qx {

// "$ZELTWELCOME" ("Checking Files for errors          Please Wait ..."): created at
// program start, opened once by ProgramMain, closed by the frame just before it opens.
extern WindowRef WelcomeWindow;
// KeyWindow ("$ZELTKEYWIN") is declared with the conversion that shows it.

// 1 once WelcomeWindow has been opened; never reset.
extern BYTE WelcomeShown;

// Thread globals (one copy per program thread, zero when the thread starts): the request
// a caller hands to the procedure it calls (1 insert, 2 change, 3 delete), the answer
// (1 completed, 2 cancelled), and the navigation request, which nothing sets but to 0.
extern thread_local LONG CurrentRequest;
extern thread_local LONG CurrentResponse;
extern thread_local LONG NavigationRequest;

// The module initialiser, run by the runtime with phase 0 at program start: creates the
// two global windows (not open), clears the main thread's request globals and the four
// record buffers. Any other phase is the program's end: the global windows are disposed.
void ProgramModuleInit(LONG phase);

// The main code: opens WelcomeWindow unless it has been shown, then runs MainFrame.
void ProgramMain();

// The process entry: registers the module, checks the runtime release, runs ProgramMain,
// waits for the other threads and ends the process, with exit code 0 on every path.
[[noreturn]] void ProgramEntry();

}  // namespace qx
