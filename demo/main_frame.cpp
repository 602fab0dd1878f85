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

// The old-layout demonstration files the reset restores, in the order it handles them.
// Each is found under the same name in the start directory, in its "Data" sub-directory
// and, as the source, in its "Orig" sub-directory.
constexpr const char* kDemonstrationFiles[] = {"Encrypt.TPS", "Standrd.TPS", "Var.TPS", "VeryLong.TPS"};

// What the reset says when every file was restored, one line per "|".
constexpr const char kResetMessage[] =
    "Data have been reset successfully"
    "|To make sure they are \"Garblexed\", call any Browse."
    "|To cure them - restart this program and Quorvane"
    "|Template will do the rest...";

// What it says instead when a file could not be restored: this heading, then one line per
// failure naming the file and why.
constexpr const char kResetFailedCaption[] = "Reset Old Data Files";
constexpr const char kResetFailedHeading[] =
    "These demonstration files were not restored and are left as they were:";

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
// directory and its "Data" sub-directory. No file is removed first: each copy replaces
// its target in one step (whatever the letter case it is spelt in), so a copy that fails,
// above all one whose "Orig" file is missing, leaves the old file as it was instead of
// losing it. The success message comes only when all eight copies were made; otherwise
// a message names what was not restored and why.
void MainFrameProcedure::ResetDataFiles() {
  PostCloseToBrowses();
  const std::string start = RtClip(StartDirectory);
  std::string failures;
  auto fail = [&failures](std::string_view shown, std::string_view why) {
    failures += "|";
    failures += shown;
    failures += ": ";
    failures += why;
  };
  auto errorText = [](LONG code) { return std::string(RtErrorTextFor(code)) + " (" + std::to_string(code) + ")"; };
  for (const char* file : kDemonstrationFiles) {
    const std::string name = file;
    const std::string source = start + "\\Orig\\" + name;
    RtCopyFile(source, start + "\\" + name);
    const LONG toStart = RtErrorCode();
    // "Orig" lies inside the start directory, so the start directory's copy can miss a
    // file or a path only on the source's side.
    if (toStart == kFileNotFound || toStart == kPathNotFound) {
      fail(name + " and Data/" + name, "Orig/" + name + " is missing");
      continue;
    }
    if (toStart != kNoError) fail(name, errorText(toStart));
    RtCopyFile(source, start + "\\Data\\" + name);
    if (RtErrorCode() != kNoError) fail("Data/" + name, errorText(RtErrorCode()));
  }
  if (failures.empty()) {
    RtMessage(kResetMessage, "", kIconInformation, 0, 0, 0);
  } else {
    RtMessage(kResetFailedHeading + failures, kResetFailedCaption, kIconExclamation, kButtonOk, kButtonOk, 0);
  }
}

// Moves the working directory into its "Data" sub-directory, unless the current
// directory is itself one named exactly "Data" (its last component), so that a second
// press stays where the first one led. A directory that cannot be entered, or a current
// directory that can no longer be read, leaves everything as it was; nothing is reported.
void MainFrameProcedure::SetDataPath() {
  PostCloseToBrowses();
  const std::string dir = RtFullPath(RtShortPath(""));
  if (!dir.empty() && dir.substr(dir.rfind('/') + 1) != "Data") RtSetPath(RtConcat(dir, "/Data"));
  WorkingPath = RtFullPath(RtShortPath(""));
  WorkingDirectory = WorkingPath;
  RtDisplay(0, 0);
}

// Starts the converter on the working directory and goes on at once: the converter
// converts there and closes itself; this program learns nothing of its outcome. The
// directory is written as the converter reads its first word: enclosed in double quotes
// when it holds a blank, a comma or another character of code 20h or below, each double
// quote in it doubled, so that the converter gets this very directory and not a part of
// it that may name another one.
void MainFrameProcedure::ConvertWorkingDirectory() {
  PostCloseToBrowses();
  RtRun(RtJoinArguments({kConverterProgram, RtClip(WorkingPath)}), false);
  RefreshFrame();
}

}  // namespace

void MainFrame() {
  MainFrameProcedure procedure;
  procedure.Run();
}

}  // namespace qx
