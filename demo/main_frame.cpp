// MainFrame: the frame procedure's locals, its routines and its event loop; see
// main_frame.h.
#include "demo/main_frame.h"

#include <string>

#include "demo/check_and_convert.h"
#include "demo/data_files.h"
#include "demo/program_module.h"
#include "runtime/sys/command_line.h"
#include "runtime/sys/directories.h"
#include "runtime/sys/error_state.h"
#include "runtime/sys/paths.h"
#include "runtime/text/strings.h"
#include "runtime/text/types.h"
#include "runtime/win/win.h"

namespace qx {
namespace {

// The frame's description: module id and label.
constexpr const char kFrameModule[] = "qxmora$qxd001";
constexpr const char kFrameLabel[] = "P1$APPFRAME";

// One activation of MainFrame: its locals, and its routines as members.
class MainFrameProcedure {
 public:
  void Run();

 private:
  void PrepareFrame();
  void OpeningPass();
  void InitializeFrame();
  void RefreshFrame();
  void FrameExit();

  WindowRef AppFrame;
  STRING<255> WorkingDirectory;  // shown in the toolbar
  STRING<255> StartDirectory;    // the working directory as PrepareFrame found it
  BYTE StartedWithDirectory = 0; // 1: the first argument named a directory we changed into
  LONG FrameIsOpen = 0;
  LONG FrameReady = 0;           // 1 once InitializeFrame has run
  // The conversion variables of the opening pass.
  LONG ConversionDone = 0;
  CSTRING<256> TempDirPath;
  STRING<32> OwnerText;
  STRING<32> TempDirName;
  STRING<255> FileNameText;
  STRING<255> BaseNameText;
  STRING<255> CurrentDir;
};

void MainFrameProcedure::Run() {
  RtNewAppFrame(AppFrame, kFrameModule, kFrameLabel, {WorkingDirectory});
  RtPushScope(0);
  RtClearVariable(CurrentRequest);
  RtClearVariable(CurrentResponse);
  if (RtKeyCode() == kKeyRightMouse) RtSetKeyCode(0);
  PrepareFrame();

  while (RtAccept()) {
    // By event number.
    switch (RtEvent()) {
      case kEventOpenWindow:
        OpeningPass();
        break;
      case kEventGainFocus:
        if (FrameReady == 0) {
          InitializeFrame();
          FrameReady = 1;
        } else {
          RefreshFrame();
        }
        break;
      case kEventRejected:
        RtBeep(150, 0x10);
        RtDisplay(RtField(), 0);
        RtSelect(RtField(), 0, 0);
        break;
      default:
        break;
    }
    // By accepted control (the Browse menu, -9 to -12) and by control (the toolbar
    // buttons -21, -22, -23 and -26): their actions come with the frame's browses and
    // toolbar. Every event is accepted, so a close request is never refused.
    RtEndAcceptPass(0);
  }
  FrameExit();
}

void MainFrameProcedure::PrepareFrame() {
  // Through the short form and back, every component comes out as the file system
  // stores it.
  WorkingDirectory = RtFullPath(RtShortPath(""));
  StartDirectory = WorkingDirectory;
  RtCloseWindow(WelcomeWindow);  // before the frame opens, so before the check begins
  if (!RtClip(RtCommand("1")).empty()) {
    RtSetPath(RtCommand("1"));
    if (RtErrorCode() == kNoError) StartedWithDirectory = 1;
  }
  RtOpenWindow(AppFrame);
  FrameIsOpen = 1;
}

void MainFrameProcedure::OpeningPass() {
  const ConversionVariables vars{OwnerText, TempDirName, FileNameText, BaseNameText,
                                 CurrentDir, TempDirPath, ConversionDone};
  CheckAndConvertFile(Standrd, vars);
  CheckAndConvertFile(Encrypt, vars);
  CheckAndConvertFile(VeryLongName, vars);
  CheckAndConvertFile(Varname, vars);
  if (ConversionDone != 0) RtRemoveDirectory(TempDirPath.view());
  if (StartedWithDirectory == 1) RtPost(kEventCloseWindow, 0, 0, 0);
  if (FrameReady == 0) {
    InitializeFrame();
    FrameReady = 1;
  }
}

void MainFrameProcedure::InitializeFrame() { RefreshFrame(); }

void MainFrameProcedure::RefreshFrame() {
  // Redraws every control from its variable (how a new WorkingDirectory reaches the
  // toolbar), unless an accept-all pass runs on the frame; MainFrame never starts one.
  if (RtClip(RtGetProperty(AppFrame, 0, kPropAcceptAll)).empty()) RtDisplay(0, 0);
}

void MainFrameProcedure::FrameExit() {
  if (FrameIsOpen == 1) RtCloseWindow(AppFrame);
  CurrentResponse = 2;
  RtPopScope();
  RtExitAccept(0);
  RtDisposeWindow(AppFrame);
}

}  // namespace

void MainFrame() {
  MainFrameProcedure procedure;
  procedure.Run();
}

}  // namespace qx
