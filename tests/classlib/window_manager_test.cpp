// The window manager: RunWindow's order (initialisation, the event loop only after a
// successful one, the shut-down in every case) and its response; the window's own events
// offered to the handler, whose non-zero level refuses an event; the first-opening work;
// the toolbar object's list and the bind scope released by the shut-down.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/error_manager.h"
#include "classlib/toolbar_helper.h"
#include "classlib/window_manager.h"
#include "tests/support/program_thread.h"

namespace qx {
namespace {

// A procedure's window manager: opens "FRAME" in its initialisation and queues, behind
// its first events, an EVENT:Accepted of a button and two close requests; the first close
// request is refused by its handler.
class TestWindow : public WindowManager {
 public:
  std::vector<std::string> trace;
  BYTE initResult = 0;  // non-zero: the initialisation fails without the base
  LONG focusAfterOpening = 0;
  STRING<20> bound;

  BYTE Init() override {
    trace.push_back("init");
    if (initResult != 0) return initResult;
    const BYTE level = WindowManager::Init();
    RtBind("Bound", bound);
    AttachToolbar(toolbar);
    RtNewWindow(window_, "cltest$unit", "FRAME");
    RtOpenWindow(window_);
    RtPost(kEventAccepted, 2);
    RtPost(kEventCloseWindow);
    RtPost(kEventCloseWindow);
    return level;
  }
  BYTE HandleWindowEvent() override {
    trace.push_back(EventName(RtEvent()));
    const BYTE level = WindowManager::HandleWindowEvent();
    if (RtEvent() == kEventOpenWindow) focusAfterOpening = RtFocus();
    if (RtEvent() == kEventCloseWindow && !refused_) {
      refused_ = true;
      return kLevelUser;
    }
    return level;
  }
  BYTE Shutdown() override {
    const BYTE level = WindowManager::Shutdown();
    trace.push_back("shutdown " + std::to_string(level));
    return level;
  }
  ~TestWindow() override { RtDisposeWindow(window_); }

  ToolbarHelper toolbar;

 private:
  WindowRef window_;
  bool refused_ = false;
};

class WindowManagerTest : public testing::ProgramThreadTest {};

TEST_F(WindowManagerTest, RunWindowRunsTheLoopBetweenInitAndShutdown) {
  struct Case {
    const char* what;
    BYTE response;
    BYTE expected;
  } cases[] = {{"no response set", 0, kRequestCancelled}, {"completed", kRequestCompleted, kRequestCompleted}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestWindow w;
    w.FIRSTFIELD = 3;
    w.RESPONSE = c.response;
    EXPECT_EQ(w.RunWindow(), c.expected);
    // The button's EVENT:Accepted concerns a control: the handler is not asked. The first
    // close request is refused, the second closes the window.
    EXPECT_EQ(w.trace, (std::vector<std::string>{"init", "EVENT:OpenWindow", "EVENT:GainFocus", "EVENT:CloseWindow",
                                                 "EVENT:CloseWindow", "EVENT:CloseDown", "shutdown 0"}));
    EXPECT_EQ(w.focusAfterOpening, 3) << "the first opening puts the focus on FIRSTFIELD";
    EXPECT_EQ(w.DEAD, 1);
    EXPECT_FALSE(w.toolbar.LIST) << "the toolbar's list is released";
    EXPECT_FALSE(RtBound("Bound").has_value()) << "the procedure's bind scope is closed";
    EXPECT_EQ(w.Shutdown(), kLevelNotify) << "shut down already";
  }
}

TEST_F(WindowManagerTest, AFailedInitialisationRunsNoLoopButTheShutdown) {
  TestWindow w;
  w.initResult = 3;
  EXPECT_EQ(w.RunWindow(), kRequestCancelled);
  EXPECT_EQ(w.trace, (std::vector<std::string>{"init", "shutdown 5"})) << "never initialised: nothing to release";
  EXPECT_EQ(w.DEAD, 0);
}

TEST_F(WindowManagerTest, InitKeepsTheRequestAndAttachToolbarMakesAnEmptyList) {
  WindowManager w;
  ToolbarHelper toolbar;
  EXPECT_EQ(w.Shutdown(), kLevelNotify) << "never initialised";
  w.REQUEST = 2;
  EXPECT_EQ(w.Init(), kLevelBenign);
  EXPECT_EQ(w.ORIGINALREQUEST, 2);
  w.AttachToolbar(toolbar);
  EXPECT_EQ(w.TOOLBAR, &toolbar);
  ASSERT_TRUE(toolbar.LIST);
  EXPECT_TRUE(toolbar.LIST->empty());
  w.SetAlerts();  // nothing to register
  EXPECT_EQ(w.Shutdown(), kLevelBenign);
  EXPECT_FALSE(toolbar.LIST);
}

}  // namespace
}  // namespace qx
