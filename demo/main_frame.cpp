// MainFrame: the frame procedure's locals, its routines and its event loop, with the
// actions of the frame's Browse menu and toolbar; see main_frame.h.
#include "demo/main_frame.h"

#include <string>

#include "demo/browses.h"
#include "demo/check_and_convert.h"
#include "demo/data_files.h"
#include "demo/program_module.h"
#include "runtime/sys/command_line.h"
#include "runtime/sys/directories.h"
#include "runtime/sys/error_state.h"
#include "runtime/sys/files.h"
#include "runtime/sys/paths.h"
#include "runtime/sys/run.h"
#include "runtime/text/strings.h"
#include "runtime/text/types.h"
#include "runtime/win/win.h"

namespace qx {
namespace {

// The frame's description: module id and label.
constexpr const char kFrameModule[] = "qxmora$qxd001";
constexpr const char kFrameLabel[] = "P1$APPFRAME";

// The frame's Browse menu items and toolbar buttons, by field number.
constexpr LONG BrowseStandrdItem = -9;
constexpr LONG BrowseEncryptItem = -10;
constexpr LONG BrowseVeryLongNameItem = -11;
constexpr LONG BrowseVarnameItem = -12;
constexpr LONG ResetDataButton = -21;
constexpr LONG ConvertButton = -22;
constexpr LONG FrameCloseButton = -23;
constexpr LONG SetDataPathButton = -26;

// Stack of a browse thread, in bytes.
constexpr LONG kBrowseStackBytes = 50000;

// The threads a browse can run on; the close request goes to each of them.
constexpr LONG kFirstBrowseThread = 2;
constexpr LONG kLastBrowseThread = 64;

// The old-layout demonstration files the reset restores, in the order it handles them:
// each name in the start directory, in its "Data" sub-directory, and its source in "Orig",
// every one relative to the start directory.
struct DemonstrationFile {
  const char* start;
  const char* data;
  const char* orig;
};
constexpr DemonstrationFile kDemonstrationFiles[] = {
    {"\\Encrypt.TPS", "\\Data\\Encrypt.TPS", "\\Orig\\Encrypt.TPS"},
    {"\\Standrd.TPS", "\\Data\\Standrd.TPS", "\\Orig\\Standrd.TPS"},
    {"\\Var.TPS", "\\Data\\Var.TPS", "\\Orig\\Var.TPS"},
    {"\\VeryLong.TPS", "\\Data\\VeryLong.TPS", "\\Orig\\VeryLong.TPS"},
};

// What the reset says when it is done, one line per "|".
constexpr const char kResetMessage[] =
    "Data have been reset successfully"
    "|To make sure they are \"Garblexed\", call any Browse."
    "|To cure them - restart this program and Quorvane"
    "|Template will do the rest...";

// The converter, named without a directory: the program search finds it.
constexpr const char kConverterProgram[] = "qxshift.exe";

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
  // The actions of the Browse menu and the toolbar.
  void StartBrowse(LONG item);
  void PostCloseToBrowses();
  void ResetDataFiles();
  void SetDataPath();
  void ConvertWorkingDirectory();

  WindowRef AppFrame;
  // The working directory as the toolbar shows it, cut to 255 characters, and in full: a
  // path here may be longer, and the actions work with the full paths, so that a cut one
  // never makes them act on another directory whose name it happens to be.
  STRING<255> WorkingDirectory;
  std::string WorkingPath;
  std::string StartDirectory;    // the working directory as PrepareFrame found it, in full
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
    // By accepted control: the Browse menu.
    StartBrowse(RtAccepted());
    // By control: the toolbar buttons, each only when it was pressed.
    if (RtEvent() == kEventAccepted) {
      switch (RtField()) {
        case ResetDataButton:
          ResetDataFiles();
          break;
        case ConvertButton:
          ConvertWorkingDirectory();
          break;
        case FrameCloseButton:
          RtPost(kEventCloseWindow, 0, 0, 0);  // behind what waits; the loop then ends
          break;
        case SetDataPathButton:
          SetDataPath();
          break;
        default:
          break;
      }
    }
    // Every event is accepted, so a close request is never refused.
    RtEndAcceptPass(0);
  }
  FrameExit();
}

void MainFrameProcedure::PrepareFrame() {
  // Through the short form and back, every component comes out as the file system
  // stores it.
  WorkingPath = RtFullPath(RtShortPath(""));
  WorkingDirectory = WorkingPath;
  StartDirectory = WorkingPath;
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

// Each choice starts a further browse on a thread of its own, also of a file that already
// has one open. When no thread can be started (63 run beside the main thread) nothing
// happens.
void MainFrameProcedure::StartBrowse(LONG item) {
  switch (item) {
    case BrowseStandrdItem:
      RtStart(&BrowseStandrd, kBrowseStackBytes);
      break;
    case BrowseEncryptItem:
      RtStart(&BrowseEncrypt, kBrowseStackBytes);
      break;
    case BrowseVeryLongNameItem:
      RtStart(&BrowseVeryLongName, kBrowseStackBytes);
      break;
    case BrowseVarnameItem:
      RtStart(&BrowseVarname, kBrowseStackBytes);
      break;
    default:
      break;
  }
}

// EVENT:CloseWindow to the current window of every other thread, ahead of what waits
// there: a browse closes, or the update form it has open. Threads without a window get
// nothing. Nothing waits for them: until this thread next waits inside the platform, no
// browse runs, so the caller goes on while every browse still holds its file.
void MainFrameProcedure::PostCloseToBrowses() {
  for (LONG thread = kFirstBrowseThread; thread <= kLastBrowseThread; ++thread) {
    RtPost(kEventCloseWindow, 0, thread, 1);
  }
}

// Copies the old-layout demonstration files from "Orig" over those of the start
// directory and its "Data" sub-directory. Every one of the sixteen file operations runs,
// whatever the others did, and the message reports success in every case.
void MainFrameProcedure::ResetDataFiles() {
  PostCloseToBrowses();
  const std::string start = RtClip(StartDirectory);
  for (const DemonstrationFile& file : kDemonstrationFiles) {
    RtRemoveFile(RtConcat(start, file.start));
    RtRemoveFile(RtConcat(start, file.data));
    RtCopyFile(RtConcat(start, file.orig), RtConcat(start, file.start));
    RtCopyFile(RtConcat(start, file.orig), RtConcat(start, file.data));
  }
  RtMessage(kResetMessage, "", kIconInformation, 0, 0, 0);
}

// Moves the working directory into its "Data" sub-directory, unless the current
// directory's full path holds "/Data" already. A directory that cannot be entered leaves
// everything as it was; nothing is reported.
void MainFrameProcedure::SetDataPath() {
  PostCloseToBrowses();
  const std::string dir = RtFullPath(RtShortPath(""));
  if (RtInString(dir, "/Data", 1, 1) == 0) RtSetPath(RtConcat(dir, "/Data"));
  WorkingPath = RtFullPath(RtShortPath(""));
  WorkingDirectory = WorkingPath;
  RtDisplay(0, 0);
}

// Starts the converter on the working directory and goes on at once: the converter
// converts there and closes itself; this program learns nothing of its outcome. The
// directory goes unquoted, so the converter reads it up to its first blank or comma.
void MainFrameProcedure::ConvertWorkingDirectory() {
  PostCloseToBrowses();
  RtRun(RtConcat(RtConcat(kConverterProgram, " "), RtClip(WorkingPath)), false);
  RefreshFrame();
}

}  // namespace

void MainFrame() {
  MainFrameProcedure procedure;
  procedure.Run();
}

}  // namespace qx
