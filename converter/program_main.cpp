// qxshift's main code and process entry; see program_main.h.
#include "converter/program_main.h"

#include "converter/file_set.h"
#include "converter/main_window.h"
#include "converter/program_module.h"
#include "demo/shared_module.h"
#include "runtime/win/program.h"

namespace qx {

void ProgramMain() {
  ProgramErrors.Init();  // shows the welcome window, then loads the default messages
  ProgramIni.Init("qxshift.INI");
  FileSetInit();
  EnsureWelcomeShown();  // shown already: nothing
  Main();
  ProgramIni.DoNothing();
  ProgramIni.Shutdown();
  FileSetShutdown();
  ProgramErrors.Shutdown();
}

void ProgramEntry() {
  static const RtModule kModules[] = {{"qxshift$files", 5, &ManagerModuleInit},
                                      {"qxshift$qxshift", 5, &ProgramModuleInit}};
  RunProgramEntry(kModules, &ProgramMain);
}

}  // namespace qx
