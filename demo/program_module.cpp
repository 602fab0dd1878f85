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

// At program start the request globals are cleared after the global windows are made and
// before the record buffers.
void ClearRequests() {
  CurrentRequest = 0;
  CurrentResponse = 0;
  NavigationRequest = 0;
}

}  // namespace

void ProgramModuleInit(LONG phase) { SharedModuleInit(kProgramModule, phase, &ClearRequests); }

void ProgramMain() {
  EnsureWelcomeShown();
  MainFrame();
}

void ProgramEntry() {
  static const RtModule kModules[] = {{"qxmora", 5, &ProgramModuleInit}};
  RunProgramEntry(kModules, &ProgramMain);
}

}  // namespace qx
