// qxshift's program module: the request globals, the error manager ProgramErrors and the
// INI manager ProgramIni that live for the whole run, and the module initialiser. Its
// global windows and EnsureWelcomeShown are those of demo/shared_module.h.
#pragma once

#include "classlib/ini_manager.h"
#include "converter/program_errors.h"
#include "demo/shared_module.h"
#include "runtime/text/types.h"

namespace qx {

// Thread globals (one copy per program thread, zero when the thread starts; the module
// clears the main thread's): the request a caller hands to the procedure it calls, its
// answer, and the navigation request. BYTE here, where qxmora has LONG.
extern thread_local BYTE CurrentRequest;
extern thread_local BYTE CurrentResponse;
extern thread_local LONG NavigationRequest;

// The program's error manager and INI manager. Their classes' virtual operations are in
// place from load on (C++ construction installs them).
extern ProgramErrorsClass ProgramErrors;
extern IniManager ProgramIni;

// The module initialiser. Phase 0 (program start): the shared start-up of module
// "qxshift$qxshift" (SharedModuleInit: the one-time runtime start-up, the two global
// windows created, not opened, the four record buffers cleared), then the request globals
// cleared. Any other phase (the end): KeyWindow, then WelcomeWindow disposed. Every phase
// makes sure the image, prompt and panel controls of the global windows can be created.
void ProgramModuleInit(LONG phase);

}  // namespace qx
