// The process entry; see program_entry.h.
#include "runtime/view/program_entry.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "runtime/view/automation/channel.h"
#include "runtime/view/headless/headless_view.h"
#include "runtime/win/program.h"
#include "runtime/win/threads.h"
#include "runtime/win/view.h"

#include "runtime/sys/command_line.h"
#include "runtime/text/date_layout.h"

#ifdef QX_HAVE_QT_VIEW
#include "runtime/view/qt/qt_view.h"
#endif

namespace qx {
namespace {

bool DisplayAvailable() {
  const char* x = std::getenv("DISPLAY");
  const char* w = std::getenv("WAYLAND_DISPLAY");
  const char* qpa = std::getenv("QT_QPA_PLATFORM");
  return (x && *x) || (w && *w) || (qpa && std::strcmp(qpa, "offscreen") == 0);
}

bool WantQt() {
  const char* forced = std::getenv(kViewVariable);
  if (forced && std::strcmp(forced, "headless") == 0) return false;
  if (forced && std::strcmp(forced, "qt") == 0) return true;
  if (forced && *forced) std::fprintf(stderr, "qxrt: %s=%s names no view; choosing one\n", kViewVariable, forced);
  return DisplayAvailable();
}

AutomationChannel* gChannel = nullptr;

// The process ends once the channel has sent the reply to the request that ended it.
void EndProcess(LONG exitCode) {
  std::fflush(nullptr);
  if (gChannel) gChannel->Drain(1000);
  std::quick_exit(static_cast<int>(exitCode));
}

}  // namespace

int RtRunProgram(int argc, char** argv, void (*programEntry)()) {
  RtUseUserDateLocale();  // either view; the Qt view takes it again after its QApplication
  RtInitCommandLine(argc, argv);
  const char* pathVariable = std::getenv(kAutomationVariable);
  const std::string path = pathVariable ? pathVariable : "";
  int waitMs = 10000;
  if (const char* w = std::getenv(kAutomationWaitVariable); w && *w) waitMs = std::atoi(w);
  // The channel belongs to this process: a program it starts (qxmora starting qxshift, a
  // conversion starting RECFIX) must not take the socket over or wait for a client. Taken
  // out before any thread of ours runs.
  ::unsetenv(kAutomationVariable);
  ::unsetenv(kAutomationWaitVariable);
  std::unique_ptr<AutomationChannel> channel;
  if (!path.empty()) {
    std::string error;
    channel = AutomationChannel::Open(path, &error);
    if (!channel) std::fprintf(stderr, "qxrt: automation channel not opened: %s\n", error.c_str());
  }
  std::unique_ptr<View> view;
  if (WantQt()) {
#ifdef QX_HAVE_QT_VIEW
    view = CreateQtView(argc, argv);
#else
    if (const char* forced = std::getenv(kViewVariable); forced && std::strcmp(forced, "qt") == 0) {
      std::fprintf(stderr, "qxrt: this program carries no Qt view; running headless\n");
    }
#endif
  }
  if (!view) view = std::make_unique<HeadlessView>(channel.get());
  (void)argc;
  (void)argv;
  RtInstallView(view.get());
  if (channel) {
    if (!channel->WaitForClient(waitMs)) std::fprintf(stderr, "qxrt: no automation client came; starting\n");
  }
  // The channel and the view live until the process ends; RtTerminate never unwinds here.
  gChannel = channel.release();
  RtSetProcessEnd(&EndProcess);
  View* shown = view.release();
  std::thread program([programEntry] {
    ProgramThreadScope main;
    programEntry();
    RtTerminate(0);
  });
  program.detach();
  shown->Run();
  return 1;
}

}  // namespace qx
