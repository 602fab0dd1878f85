// qxshift's program module: its global windows, the request globals, the error manager
// ProgramErrors and the INI manager ProgramIni that live for the whole run, the module
// initialiser, and EnsureWelcomeShown.
#pragma once

#include "classlib/ini_manager.h"
#include "converter/program_errors.h"
#include "demo/check_and_convert.h"  // KeyWindow
#include "runtime/text/types.h"
#include "runtime/win/windows.h"

namespace qx {

// "$ZELTWELCOME" ("Checking Files for errors          Please Wait ..."): created at
// program start, opened by the first call of EnsureWelcomeShown, closed by the frame
// procedure's initialisation just before the frame opens.
extern WindowRef WelcomeWindow;
// KeyWindow ("$ZELTKEYWIN") is declared with the conversion that shows it.

// 0 at load; 1 once WelcomeWindow has been opened; never reset.
extern BYTE WelcomeShown;

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

// The module initialiser. Phase 0 (program start): the one-time runtime start-up, the two
// global windows created from module "qxshift$qxshift" (not opened), the four record
// buffers cleared (numbers 0, texts blank), the request globals cleared. Any other phase
// (the end): KeyWindow, then WelcomeWindow disposed. Every phase makes sure the image,
// prompt and panel controls of the global windows can be created.
void ProgramModuleInit(LONG phase);

// When WelcomeShown is 0: opens WelcomeWindow, draws it, WelcomeShown := 1. Otherwise
// nothing, so the welcome window is shown once per run at most.
void EnsureWelcomeShown();

}  // namespace qx
