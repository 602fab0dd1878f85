// A program on the window library with the Qt view, driven by the Xvfb tests through the
// automation channel. It shows the demonstration program's own windows: the global welcome
// window until it is closed, then the demonstration frame with its menus, toolbar, status
// bar and wallpaper (the reset button shows the reset message; the first Browse item opens
// a child window on a thread of its own; the close button and Exit end the frame), then the
// converter's small frame until it is closed, then a browse window of the encrypted file's
// layout: a list over a queue of several hundred people with a coloured first column, a
// sheet of sort tabs (one disabled, two coloured) and a row's popup menu, whose Insert
// (or the Change button) opens an update form of entries on a tab.
#include <array>
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

// An entry of the browse's queue, and the record buffer the form edits.
struct Person {
  LONG sysId = 0, normalFg = 0, normalBg = 0, selectedFg = 0, selectedBg = 0, cusId = 0;
  STRING<20> name, suburb, phone;
  LONG startDate = 0;
};

constexpr LONG kPeople = 300;
constexpr LONG kBrowseList = 1, kChangeButton = 3, kCloseButton = 11, kOkButton = 13, kCancelButton = 14;

void UpdateForm(Person& p) {
  WindowRef form;
  RtNewWindow(form, "xvfbprog$main", "FORM", {p.cusId, p.name, p.suburb, p.phone, p.startDate});
  RtOpenWindow(form);
  while (RtAccept()) {
    if (RtAccepted() == kOkButton || RtAccepted() == kCancelButton) RtPost(kEventCloseWindow);
    RtEndAcceptPass(0);
  }
  RtExitAccept(0);
  RtDisposeWindow(form);
}

void BrowsePeople() {
  static const std::array<const char*, 8> first = {"Ann", "Bruno", "Chloe", "Dmitri", "Eleni", "Farid", "Grace", "Hamish"};
  static const std::array<const char*, 7> last = {"Abbott", "Baker", "Castellano", "Dunn", "Evans", "Fitzgerald", "Gray"};
  static const std::array<const char*, 6> suburbs = {"Carlton", "Fitzroy", "Brunswick", "St Kilda", "Richmond", "Kew"};
  Person p;
  RtQueue queue{{"SYSID", p.sysId},     {"NORMALFG", p.normalFg}, {"NORMALBG", p.normalBg},
                {"SELECTEDFG", p.selectedFg}, {"SELECTEDBG", p.selectedBg}, {"CUSID", p.cusId},
                {"NAME", p.name},       {"SUBURB", p.suburb},     {"PHONE", p.phone},
                {"STARTDATE", p.startDate}};
  for (LONG i = 1; i <= kPeople; ++i) {
    p.sysId = i;
    p.normalFg = 0xFFFFFF;
    p.normalBg = 0x808080;
    p.selectedFg = p.selectedBg = -1;
    p.cusId = 1000 + 7 * i;
    p.name = std::string(first[static_cast<size_t>(i) % first.size()]) + " " + last[static_cast<size_t>(i / 8) % last.size()];
    p.suburb = suburbs[static_cast<size_t>(i) % suburbs.size()];
    p.phone = "03 9555 " + std::to_string(1000 + i * 13 % 9000);
    p.startDate = 80000 + 37 * i;  // days from 1 January 1801 (day 4): the 2020s
    RtQueueAdd(queue);
  }
  WindowRef browse;
  RtNewWindow(browse, "xvfbprog$main", "BROWSE", {queue});
  RtOpenWindow(browse);
  while (RtAccept()) {
    if (RtEvent() == kEventNewSelection && RtField() == kBrowseList && RtKeyCode() == kKeyRightMouse) {
      RtQueueGet(queue, RtChoice(kBrowseList));
      if (RtPopup("&Insert|~&Change|&Delete") == 1) UpdateForm(p);
    }
    if (RtAccepted() == kChangeButton) {
      RtQueueGet(queue, RtChoice(kBrowseList));
      UpdateForm(p);
    }
    if (RtAccepted() == kCloseButton) RtPost(kEventCloseWindow);
    RtEndAcceptPass(0);
  }
  RtExitAccept(0);
  RtDisposeWindow(browse);
}

void ProgramEntry() {
  static const RtModule modules[] = {{"xvfbprog", 5, &ModuleInit}};
  RtRegisterModule(modules);
  RtOpenWindow(WelcomeWindow);
  RtDisplay();
  RunUntilClosed();
  DemoFrame();
  ConverterFrame();
  BrowsePeople();
  RtEndProgram();
  RtTerminate(0);
}

}  // namespace

int main(int argc, char** argv) { return qx::RtRunProgram(argc, argv, &ProgramEntry); }
