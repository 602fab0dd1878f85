// qxmora's program module: the request globals every window procedure hands on, the
// module initialiser, and the main code that shows the welcome window once and runs the
// frame. Its global windows are those of demo/shared_module.h.
#pragma once

#include "demo/shared_module.h"
#include "runtime/text/types.h"

namespace qx {

// Thread globals (one copy per program thread, zero when the thread starts): the request
// a caller hands to the procedure it calls (1 insert, 2 change, 3 delete), the answer
// (1 completed, 2 cancelled), and the navigation request, which nothing sets but to 0.
extern thread_local LONG CurrentRequest;
extern thread_local LONG CurrentResponse;
extern thread_local LONG NavigationRequest;

// The module initialiser, run by the runtime with phase 0 at program start: the shared
// start-up of module "qxmora$qxmora" (SharedModuleInit: the two global windows created,
// not open, the four record buffers cleared), and the main thread's request globals
// cleared. Any other phase is the program's end: the global windows are disposed.
void ProgramModuleInit(LONG phase);

// The main code: opens WelcomeWindow unless it has been shown, then runs MainFrame.
void ProgramMain();

// The process entry (RunProgramEntry): registers the module, checks the runtime release,
// runs ProgramMain, waits for the other threads and ends the process, with exit code 0 on
// every path.
[[noreturn]] void ProgramEntry();

}  // namespace qx
