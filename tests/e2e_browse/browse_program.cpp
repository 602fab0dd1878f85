// A test entry of qxmora for the browses' end-to-end tests: qxmora's program module and
// its frame description, a frame loop of the test's own whose Browse menu starts the four
// browses on threads of their own (as the frame's actions will), the update forms stood in
// for (tests/demo_browse/stand_in_forms.h), and no check of the data files.
//   Browse menu items -9 to -12   RtStart(BrowseStandrd ... BrowseVarname, 50000)
//   "2. Convert Data Files There" (-22)  EVENT:CloseWindow to threads 2 to 64, ahead of
//                                 their waiting events (the frame's close request)
//   "Close" (-23)                 EVENT:CloseWindow to the frame
#include "demo/browses.h"
#include "demo/program_module.h"
#include "runtime/view/program_entry.h"
#include "runtime/win/win.h"

namespace {

using namespace qx;

void TestFrame() {
  WindowRef frame;
  STRING<255> workingDirectory;
  RtNewAppFrame(frame, "qxmora$qxd001", "P1$APPFRAME", {workingDirectory});
  RtOpenWindow(frame);
  while (RtAccept()) {
    switch (RtAccepted()) {
      case -9: RtStart(&BrowseStandrd, 50000); break;
      case -10: RtStart(&BrowseEncrypt, 50000); break;
      case -11: RtStart(&BrowseVeryLongName, 50000); break;
      case -12: RtStart(&BrowseVarname, 50000); break;
      default: break;
    }
    if (RtEvent() == kEventAccepted && RtField() == -22) {
      for (LONG thread = 2; thread <= 64; ++thread) RtPost(kEventCloseWindow, 0, thread, 1);
    }
    if (RtEvent() == kEventAccepted && RtField() == -23) RtPost(kEventCloseWindow, 0, 0, 0);
    RtEndAcceptPass(0);
  }
  RtExitAccept(0);
  RtDisposeWindow(frame);
}

void Entry() {
  static const RtModule kModules[] = {{"qxmora", 5, &ProgramModuleInit}};
  RtRegisterModule(kModules, 0);
  TestFrame();
  RtEndProgram();
  RtTerminate(0);
}

}  // namespace

int main(int argc, char** argv) { return qx::RtRunProgram(argc, argv, &Entry); }
