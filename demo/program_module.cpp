// qxmora's program module; see program_module.h.
#include "demo/program_module.h"

#include "demo/main_frame.h"
#include "demo/shared_module.h"
#include "runtime/win/program.h"
#include "runtime/win/threads.h"

namespace qx {

QX_THREAD_GLOBAL(LONG, CurrentRequest);
QX_THREAD_GLOBAL(LONG, CurrentResponse);
QX_THREAD_GLOBAL(LONG, NavigationRequest);

namespace {

// The module id of the global windows' descriptions.
constexpr const char kProgramModule[] = "qxmora$qxmora";

}  // namespace

void ProgramModuleInit(LONG phase) {
  SharedModuleInit(kProgramModule, phase);
  if (phase == 0) {
    CurrentRequest = 0;
    CurrentResponse = 0;
    NavigationRequest = 0;
  }
}

void ProgramMain() {
  EnsureWelcomeShown();
  MainFrame();
}

void ProgramEntry() {
  static const RtModule kModules[] = {{"qxmora", 5, &ProgramModuleInit}};
  RunProgramEntry(kModules, &ProgramMain);
}

}  // namespace qx
