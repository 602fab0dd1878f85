// A small program on the window library, driven end to end by the tests through the
// automation channel: a global plain window shown at start, an application frame with a
// menu (an item of its own, a standard action, the window list, help) and a toolbar
// (a button that asks a question, a string that shows the answer), and an MDI child window
// run by a second thread. The first argument picks other ways to end:
//   halt N        RtHalt(N, "Stopping now")
//   terminate N   RtTerminate(N)
//   ask           RtMessage with Yes, No, Cancel (default No); the answer is the exit code
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/view/program_entry.h"
#include "runtime/win/win.h"

namespace {

using namespace qx;

int gArgc = 0;
char** gArgv = nullptr;
WindowRef GlobalWindow;
QX_THREAD_GLOBAL(LONG, ThreadCounter);

void ModuleInit(LONG phase) {
  if (phase == 0) {
    RtInitOnce();
    RtNewWindow(GlobalWindow, "winprog$main", "$GLOBAL");
  } else {
    RtDisposeWindow(GlobalWindow);
    std::fprintf(stderr, "test program: module phase %d\n", static_cast<int>(phase));
  }
  RtRegisterImageControl();
  RtRegisterPromptControl();
  RtRegisterPanelControl();
}

void ChildProcedure() {
  STRING<20> threadText;
  ThreadCounter += 1;  // a thread global: zero when the thread starts
  threadText = "thread " + std::to_string(RtThread()) + " count " + std::to_string(ThreadCounter);
  WindowRef child;
  RtNewMdiWindow(child, "winprog$main", "CHILD", {threadText});
  RtPushScope();
  RtOpenWindow(child);
  while (RtAccept()) {
    if (RtAccepted() == 2) RtPost(kEventCloseWindow);
    RtEndAcceptPass(0);
  }
  RtPopScope();
  RtExitAccept(0);
  RtDisposeWindow(child);
}

void Frame() {
  STRING<20> answer;
  WindowRef frame;
  RtNewAppFrame(frame, "winprog$main", "FRAME", {answer});
  RtOpenWindow(frame);
  while (RtAccept()) {
    switch (RtEvent()) {
      case kEventOpenWindow: RtCloseWindow(GlobalWindow); break;
      default: break;
    }
    if (RtAccepted() == -2) RtStart(&ChildProcedure, 50000);
    if (RtField() == -21 && RtEvent() == kEventAccepted) {
      const LONG a = RtMessage("Do you agree?|Say so.", "Question", kIconQuestion, kButtonYes + kButtonNo, kButtonNo);
      answer = std::to_string(a);
      RtDisplay();
    }
    RtEndAcceptPass(0);
  }
  RtExitAccept(0);
  RtDisposeWindow(frame);
}

void ProgramEntry() {
  static const RtModule modules[] = {{"winprog", 5, &ModuleInit}};
  RtRegisterModule(modules);
  if (RtCheckRuntimeVersion(0x105, 2, 0) == 0) RtTerminate(0);
  const std::string mode = gArgc > 1 ? gArgv[1] : "";
  const LONG code = gArgc > 2 ? std::atoi(gArgv[2]) : 0;
  if (mode == "halt") RtHalt(code, "Stopping now");
  if (mode == "terminate") RtTerminate(code);
  if (mode == "ask") {
    RtTerminate(RtMessage("Continue?", "Ask", kIconQuestion, kButtonYes + kButtonNo + kButtonCancel, kButtonNo));
  }
  RtOpenWindow(GlobalWindow);
  RtDisplay();
  Frame();
  RtEndProgram();
  RtTerminate(0);
}

}  // namespace

int main(int argc, char** argv) {
  gArgc = argc;
  gArgv = argv;
  return qx::RtRunProgram(argc, argv, &ProgramEntry);
}
