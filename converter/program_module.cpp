// qxshift's program module; see program_module.h.
#include "converter/program_module.h"

#include "demo/shared_module.h"
#include "runtime/win/threads.h"

namespace qx {

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
  SharedModuleInit(kProgramModule, phase);
  if (phase == 0) {
    CurrentRequest = 0;
    CurrentResponse = 0;
    NavigationRequest = 0;
  }
}

}  // namespace qx
