// Main: its locals, its window manager with the converter's three overrides, and the
// check-and-convert pass; see main_window.h.
#include "converter/main_window.h"

#include <memory>

#include "classlib/toolbar_helper.h"
#include "classlib/window_manager.h"
#include "converter/program_module.h"
#include "demo/check_and_convert.h"
#include "demo/data_files.h"
#include "runtime/sys/command_line.h"
#include "runtime/sys/directories.h"
#include "runtime/sys/error_state.h"
#include "runtime/text/types.h"
#include "runtime/win/win.h"

namespace qx {
namespace {

// The frame's description: module id and label.
constexpr const char kFrameModule[] = "qxshift$qxc001";
constexpr const char kFrameLabel[] = "P1$APPFRAME";

class MainWindowClass;

// Main's locals: they live from Main's start to its return; the window manager's
// overrides reach them through its link.
struct MainLocals {
  BYTE StartedWithDirectory = 0;  // 1: the first argument named a directory we changed into
  STRING<255> FileNameText;       // the pass's work fields
  STRING<255> BaseNameText;
  STRING<255> CurrentDir;
  CSTRING<256> TempDirPath;       // VHtemp, once a file was converted
  WindowRef AppFrame;
  ToolbarHelper MainToolbar;
  std::unique_ptr<MainWindowClass> MainWindow;
};

// The frame's window manager: the class library's, with the initialisation, the window
// events and the shut-down replaced.
class MainWindowClass : public WindowManager {
 public:
  explicit MainWindowClass(MainLocals& locals) : locals_(locals) {}

  BYTE Init() override { return MainWindowInit(); }
  BYTE HandleWindowEvent() override { return MainWindowEvent(); }
  BYTE Shutdown() override { return MainWindowShutdown(); }

 private:
  BYTE MainWindowInit();
  BYTE MainWindowEvent();
  BYTE MainWindowShutdown();

  MainLocals& locals_;  // set when the object is made, never changed
};

BYTE MainWindowClass::MainWindowInit() {
  ProgramErrors.NameCurrentProcedure("Main");
  REQUEST = CurrentRequest;
  const BYTE level = WindowManager::Init();
  if (level != kLevelBenign) return level;  // the frame is not opened; the loop is skipped
  FIRSTFIELD = 1;
  VCRREQUEST = &NavigationRequest;
  ERRORS = &ProgramErrors;
  AttachToolbar(locals_.MainToolbar);
  CurrentRequest = 0;
  CurrentResponse = 0;
  RtCloseWindow(WelcomeWindow);  // before the frame opens, so before the check begins
  if (!RtClipView(RtCommand("1")).empty()) {
    RtSetPath(RtCommand("1"));
    if (RtErrorCode() == kNoError) locals_.StartedWithDirectory = 1;
  }
  RtOpenWindow(locals_.AppFrame);
  OPENED = 1;
  SetAlerts();
  return level;
}

BYTE MainWindowClass::MainWindowEvent() {
  // This handler's own locals, set afresh on every call.
  STRING<32> OwnerText;
  STRING<32> TempDirName;
  LONG ConversionDone = 0;

  const BYTE level = WindowManager::HandleWindowEvent();  // first-opening work comes first
  if (RtEvent() != kEventOpenWindow) return level;

  // The pass, in the current directory chosen by the initialisation.
  const ConversionVariables vars{OwnerText,           TempDirName,       locals_.FileNameText, locals_.BaseNameText,
                                 locals_.CurrentDir, locals_.TempDirPath, ConversionDone};
  CheckAndConvertFile(Standrd, vars);
  CheckAndConvertFile(Encrypt, vars);
  CheckAndConvertFile(VeryLongName, vars);
  CheckAndConvertFile(Varname, vars);
  if (ConversionDone != 0) RtRemoveDirectory(locals_.TempDirPath.view());  // a leftover inside keeps it
  if (locals_.StartedWithDirectory != 0) RtPost(kEventCloseWindow, 0, 0, 0);
  return level;
}

BYTE MainWindowClass::MainWindowShutdown() {
  const BYTE level = WindowManager::Shutdown();
  if (level == kLevelBenign) ProgramErrors.NameCurrentProcedure("", true);
  return level;
}

}  // namespace

void Main() {
  MainLocals locals;
  RtNewAppFrame(locals.AppFrame, kFrameModule, kFrameLabel);
  locals.MainWindow = std::make_unique<MainWindowClass>(locals);
  const BYTE response = locals.MainWindow->RunWindow();
  CurrentResponse = response;
  locals.MainWindow.reset();
  RtDisposeWindow(locals.AppFrame);
}

}  // namespace qx
