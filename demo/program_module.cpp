// qxmora's program module; see program_module.h.
#include "demo/program_module.h"

#include "demo/data_files.h"
#include "demo/main_frame.h"
#include "runtime/store/layout.h"
#include "runtime/win/control_kinds.h"
#include "runtime/win/threads.h"
#include "runtime/win/program.h"

namespace qx {

WindowRef WelcomeWindow;
WindowRef KeyWindow;
BYTE WelcomeShown = 0;

QX_THREAD_GLOBAL(LONG, CurrentRequest);
QX_THREAD_GLOBAL(LONG, CurrentResponse);
QX_THREAD_GLOBAL(LONG, NavigationRequest);

namespace {

// The module id of the global windows' descriptions.
constexpr const char kProgramModule[] = "qxmora$qxmora";

}  // namespace

void ProgramModuleInit(LONG phase) {
  if (phase == 0) {
    RtInitOnce();
    RtNewWindow(WelcomeWindow, kProgramModule, "$ZELTWELCOME");
    RtNewWindow(KeyWindow, kProgramModule, "$ZELTKEYWIN");
    CurrentRequest = 0;
    CurrentResponse = 0;
    NavigationRequest = 0;
    RtClearGroup(Standrd.RecordBuffer(), Standrd.layout(), 0);
    RtClearGroup(Encrypt.RecordBuffer(), Encrypt.layout(), 0);
    RtClearGroup(VeryLongName.RecordBuffer(), VeryLongName.layout(), 0);
    RtClearGroup(Varname.RecordBuffer(), Varname.layout(), 0);
  } else {
    RtDisposeWindow(KeyWindow);
    RtDisposeWindow(WelcomeWindow);
  }
  // The control kinds of the global windows.
  RtRegisterImageControl();
  RtRegisterPromptControl();
  RtRegisterPanelControl();
}

void ProgramMain() {
  if (WelcomeShown == 0) {
    RtOpenWindow(WelcomeWindow);
    RtDisplay(0, 0);
    WelcomeShown = 1;
  }
  MainFrame();
}

void ProgramEntry() {
  static const RtModule kModules[] = {{"qxmora", 5, &ProgramModuleInit}};
  RtRegisterModule(kModules, 0);
  if (RtCheckRuntimeVersion(0x105, 2, 0) != 0) {
    ProgramMain();
    RtEndProgram();
  }
  RtTerminate(0);
}

}  // namespace qx
