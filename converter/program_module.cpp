// qxshift's program module; see program_module.h.
#include "converter/program_module.h"

#include "demo/data_files.h"
#include "runtime/store/layout.h"
#include "runtime/win/control_kinds.h"
#include "runtime/win/program.h"
#include "runtime/win/threads.h"

namespace qx {

WindowRef WelcomeWindow;
WindowRef KeyWindow;
BYTE WelcomeShown = 0;

QX_THREAD_GLOBAL(BYTE, CurrentRequest);
QX_THREAD_GLOBAL(BYTE, CurrentResponse);
QX_THREAD_GLOBAL(LONG, NavigationRequest);

ProgramErrorsClass ProgramErrors;
IniManager ProgramIni;

namespace {

// The module id of the global windows' descriptions.
constexpr const char kProgramModule[] = "qxshift$qxshift";

}  // namespace

void ProgramModuleInit(LONG phase) {
  if (phase == 0) {
    RtInitOnce();
    RtNewWindow(WelcomeWindow, kProgramModule, "$ZELTWELCOME");
    RtNewWindow(KeyWindow, kProgramModule, "$ZELTKEYWIN");
    RtClearGroup(Standrd.RecordBuffer(), Standrd.layout(), 0);
    RtClearGroup(Encrypt.RecordBuffer(), Encrypt.layout(), 0);
    RtClearGroup(VeryLongName.RecordBuffer(), VeryLongName.layout(), 0);
    RtClearGroup(Varname.RecordBuffer(), Varname.layout(), 0);
    CurrentRequest = 0;
    CurrentResponse = 0;
    NavigationRequest = 0;
  } else {
    RtDisposeWindow(KeyWindow);
    RtDisposeWindow(WelcomeWindow);
  }
  // The control kinds of the global windows.
  RtRegisterImageControl();
  RtRegisterPromptControl();
  RtRegisterPanelControl();
}

void EnsureWelcomeShown() {
  if (WelcomeShown != 0) return;
  RtOpenWindow(WelcomeWindow);
  RtDisplay(0, 0);
  WelcomeShown = 1;
}

}  // namespace qx
