// What both programs' modules share; see shared_module.h.
#include "demo/shared_module.h"

#include "demo/data_files.h"
#include "runtime/store/layout.h"
#include "runtime/win/control_kinds.h"

namespace qx {

WindowRef WelcomeWindow;
WindowRef KeyWindow;
BYTE WelcomeShown = 0;

void SharedModuleInit(const char* module, LONG phase, void (*beforeBuffers)()) {
  if (phase == 0) {
    RtInitOnce();
    RtNewWindow(WelcomeWindow, module, "$ZELTWELCOME");
    RtNewWindow(KeyWindow, module, "$ZELTKEYWIN");
    if (beforeBuffers) beforeBuffers();
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

void EnsureWelcomeShown() {
  if (WelcomeShown != 0) return;
  RtOpenWindow(WelcomeWindow);
  RtDisplay(0, 0);
  WelcomeShown = 1;
}

void RunProgramEntry(std::span<const RtModule> modules, void (*programMain)()) {
  RtRegisterModule(modules, 0);
  if (RtCheckRuntimeVersion(0x105, 2, 0) != 0) {
    programMain();
    RtEndProgram();
  }
  RtTerminate(0);
}

}  // namespace qx
