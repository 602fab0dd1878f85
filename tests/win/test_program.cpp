// A small program on the window library, driven end to end by the tests through the
// automation channel: a global plain window shown at start, an application frame with a
// menu (an item of its own, a standard action, the window list, help) and a toolbar
// (a button that asks a question, a string that shows the answer), and an MDI child window
// run by a second thread. The first argument picks other ways to end:
//   halt N [TEXT] RtHalt(N, TEXT), "Stopping now" when TEXT is not given
//   terminate N   RtTerminate(N)
//   ask           RtMessage with Yes, No, Cancel (default No); the answer is the exit code
//   browse        a window whose immediate-mode list pages through 300 records the way a
//                 browse does (one page in its queue), with a popup menu on a right click,
//                 a double click as an alert key, a sheet with an entry on its second tab,
//                 and the resize support; a string reports what the program did
//   date          a window showing 31 December 2024 through @d17 until it is closed
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/text/day_numbers.h"
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

// ---- browse ------------------------------------------------------------------------

constexpr LONG kRecords = 300;

class Browse {
 public:
  void Run() {
    RtQueue page({{"NUMBER", number_}, {"FG", fg_}, {"BG", bg_}, {"SFG", sfg_}, {"SBG", sbg_}, {"NAME", name_}});
    page_ = &page;
    WindowRef window;
    RtNewWindow(window, "winprog$main", "BROWSE", {page, status_, amount_});
    RtOpenWindow(window);
    RtSetProperty(1, kPropAlertKeys, std::to_string(kKeyMouseLeft2), 252);
    ResizeRecord resize;
    while (RtAccept()) {
      LONG result = 0;
      switch (RtEvent()) {
        case kEventOpenWindow:
          ResizeInit(resize, 2);
          Fill(0, 1);
          RtSelect(1);
          break;
        case kEventSized:
          ResizeWindow(resize);
          Fill(top_, selected_);
          break;
        case kEventRejected:
          RtBeep();
          Report("Rejected");
          RtSelect(RtField());
          break;
        default: break;
      }
      if (RtField() == 1) List();
      if (RtField() == 3 && RtEvent() == kEventNewSelection) Report("Tab " + std::to_string(RtChoice(3)));
      if (RtAccepted() == 6) Report("Entry " + std::to_string(amount_));
      if (RtAccepted() == 7) RtPost(kEventCloseWindow);
      RtEndAcceptPass(result);
    }
    RtExitAccept(0);
    RtDisposeWindow(window);
    RtQueueRelease(page);
  }

 private:
  LONG Rows() const { return std::atoi(RtGetProperty(1, kPropVisibleRows).c_str()); }

  // The page from record `top` (0-based), row `row` selected, as a browse's fill leaves it.
  void Fill(LONG top, LONG row) {
    const LONG rows = Rows();
    top_ = std::clamp<LONG>(top, 0, std::max<LONG>(kRecords - rows, 0));
    RtQueueFree(*page_);
    for (LONG i = top_; i < std::min(top_ + rows, kRecords); ++i) {
      number_ = i + 1;
      fg_ = -1;
      bg_ = number_ % 2 == 0 ? 0xE0E0E0 : -1;
      sfg_ = -1;
      sbg_ = -1;
      char text[32];
      std::snprintf(text, sizeof text, "Person %03d", static_cast<int>(number_));
      name_ = text;
      RtQueueAdd(*page_);
    }
    selected_ = std::clamp<LONG>(row, 1, RtQueueRecords(*page_));
    RtSetProperty(1, kPropSelectedRow, std::to_string(selected_));
    const LONG range = kRecords - rows;
    RtSetProperty(1, kPropThumb, std::to_string(range > 0 ? top_ * 100 / range : 0));
    Report("first " + std::to_string(top_ + 1) + " selected " + std::to_string(top_ + selected_));
  }

  std::string SelectedName() {
    RtQueueGet(*page_, selected_);
    return std::string(name_.clipped());
  }

  void Report(const std::string& text) {
    status_ = text;
    RtDisplay();
  }

  void List() {
    const LONG rows = Rows();
    switch (RtEvent()) {
      case kEventScrollUp:
        if (selected_ > 1) {
          Fill(top_, selected_ - 1);
        } else {
          Fill(top_ - 1, 1);
        }
        break;
      case kEventScrollDown:
        if (selected_ < rows) {
          Fill(top_, selected_ + 1);
        } else {
          Fill(top_ + 1, rows);
        }
        break;
      case kEventPageUp: Fill(top_ - rows, selected_); break;
      case kEventPageDown: Fill(top_ + rows, selected_); break;
      case kEventScrollTop: Fill(0, 1); break;
      case kEventScrollBottom: Fill(kRecords, rows); break;
      case kEventScrollDrag:
        Fill(std::atoi(RtGetProperty(1, kPropThumb).c_str()) * (kRecords - rows) / 100, 1);
        break;
      case kEventNewSelection:
        selected_ = RtChoice(1);
        if (RtKeyCode() == kKeyRightMouse) {
          switch (RtPopup("&Show|~&Grey|&Close")) {
            case 1: Report("Show " + SelectedName()); break;
            case 3: RtPost(kEventCloseWindow); break;
            default: Report("No choice"); break;
          }
        } else if (RtKeyCode() != kKeyMouseLeft2) {
          Fill(top_, selected_);
        }
        break;
      case kEventAlertKey:
        if (RtKeyCode() == kKeyMouseLeft2) {
          Report("Double " + SelectedName());
        } else if (RtKeyChar() >= '0' && RtKeyChar() <= '9') {
          Fill((RtKeyChar() - '0') * 30, 1);  // the digit's tenth of the records
        }
        break;
      default: break;
    }
  }

  RtQueue* page_ = nullptr;
  LONG number_ = 0, fg_ = 0, bg_ = 0, sfg_ = 0, sbg_ = 0;
  STRING<20> name_;
  STRING<40> status_;
  LONG amount_ = 0;
  LONG top_ = 0, selected_ = 1;
};

void ShowDate() {
  LONG day = RtDayNumber(2024, 12, 31);
  WindowRef window;
  RtNewWindow(window, "winprog$main", "DATE", {day});
  RtOpenWindow(window);
  while (RtAccept()) RtEndAcceptPass(0);
  RtExitAccept(0);
  RtDisposeWindow(window);
}

void ProgramEntry() {
  static const RtModule modules[] = {{"winprog", 5, &ModuleInit}};
  RtRegisterModule(modules);
  if (RtCheckRuntimeVersion(0x105, 2, 0) == 0) RtTerminate(0);
  const std::string mode = gArgc > 1 ? gArgv[1] : "";
  const LONG code = gArgc > 2 ? std::atoi(gArgv[2]) : 0;
  if (mode == "halt") RtHalt(code, gArgc > 3 ? gArgv[3] : "Stopping now");
  if (mode == "terminate") RtTerminate(code);
  if (mode == "browse") {
    Browse().Run();
    RtTerminate(0);
  }
  if (mode == "date") {
    ShowDate();
    RtTerminate(0);
  }
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
