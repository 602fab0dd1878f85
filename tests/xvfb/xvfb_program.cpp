// A program on the window library with the Qt view, driven by the Xvfb tests through the
// automation channel. It shows the demonstration program's own windows: the global welcome
// window until it is closed, then the demonstration frame with its menus, toolbar, status
// bar and wallpaper (the reset button shows the reset message; the first Browse item opens
// a child window on a thread of its own; the close button and Exit end the frame), then the
// converter's small frame until it is closed.
#include <string>

#include "runtime/view/program_entry.h"
#include "runtime/win/win.h"

namespace {

using namespace qx;

WindowRef WelcomeWindow;

void ModuleInit(LONG phase) {
  if (phase == 0) {
    RtInitOnce();
    RtNewWindow(WelcomeWindow, "qxmora$qxmora", "$ZELTWELCOME");
  } else {
    RtDisposeWindow(WelcomeWindow);
  }
  RtRegisterImageControl();
  RtRegisterPromptControl();
  RtRegisterPanelControl();
}

void RunUntilClosed() {
  while (RtAccept()) RtEndAcceptPass(0);
  RtExitAccept(0);
}

void BrowseChild() {
  STRING<20> name;
  name = "Quorvane Pty Ltd";
  WindowRef child;
  RtNewMdiWindow(child, "xvfbprog$main", "CHILD", {name});
  RtOpenWindow(child);
  while (RtAccept()) {
    if (RtAccepted() == 3) RtPost(kEventCloseWindow);
    RtEndAcceptPass(0);
  }
  RtExitAccept(0);
  RtDisposeWindow(child);
}

void DemoFrame() {
  STRING<255> workingDirectory;
  workingDirectory = "/home/ann/Quorvane/Data";
  WindowRef frame;
  RtNewAppFrame(frame, "qxmora$qxd001", "P1$APPFRAME", {workingDirectory});
  RtOpenWindow(frame);
  while (RtAccept()) {
    if (RtAccepted() == -9) RtStart(&BrowseChild, 50000);
    if (RtEvent() == kEventAccepted && RtField() == -21) {
      RtMessage(
          "Data have been reset successfully|To make sure they are \"Garblexed\", call any Browse.|"
          "To cure them - restart this program and Quorvane|Template will do the rest...",
          "", kIconInformation, kButtonOk);
    }
    if (RtEvent() == kEventAccepted && RtField() == -23) RtPost(kEventCloseWindow);
    RtEndAcceptPass(0);
  }
  RtExitAccept(0);
  RtDisposeWindow(frame);
}

void ConverterFrame() {
  WindowRef frame;
  RtNewAppFrame(frame, "qxshift$qxc001", "P1$APPFRAME");
  RtOpenWindow(frame);
  RunUntilClosed();
  RtDisposeWindow(frame);
}

void ProgramEntry() {
  static const RtModule modules[] = {{"xvfbprog", 5, &ModuleInit}};
  RtRegisterModule(modules);
  RtOpenWindow(WelcomeWindow);
  RtDisplay();
  RunUntilClosed();
  DemoFrame();
  ConverterFrame();
  RtEndProgram();
  RtTerminate(0);
}

}  // namespace

int main(int argc, char** argv) { return qx::RtRunProgram(argc, argv, &ProgramEntry); }
