// The automation channel's requests: selecting windows and controls as a script names
// them, acting on them, and the errors of requests it cannot carry out.
#include <gtest/gtest.h>

#include "runtime/view/automation/protocol.h"
#include "runtime/view/headless/headless_view.h"
#include "runtime/win/win.h"

namespace qx {
namespace {

using nlohmann::json;

json Do(const json& request) { return HandleAutomationRequest(request); }

TEST(AutomationProtocol, WindowsAndControlsByTheirNames) {
  ProgramThreadScope main;
  WindowRef frame;
  RtNewAppFrame(frame, "wintest$unit", "FRAME");
  RtOpenWindow(frame);
  struct Case {
    json window;
    json control;
    LONG field;  // 0: no such control or window
  } cases[] = {
      {frame.id, -2, -2},
      {"Frame", "OwnItem", -2},                       // title; control name
      {"frame", "ownitem", -2},                       // label and name without regard to case
      {{{"label", "FRAME"}, {"kind", "application"}}, "Own", -2},  // text without the "&"
      {"FRAME", "&Own", -2},
      {"FRAME", {{"text", "Exit"}}, -3},
      {"FRAME", "Tool", -21},
      {{{"label", "FRAME"}, {"kind", "mdi"}}, "Own", 0},  // every key must match
      {"FRAME", "Nothing", 0},
      {12345, -2, 0},
  };
  for (const Case& c : cases) {
    const json reply = Do({{"op", "hover"}, {"window", c.window}, {"control", c.control}});
    if (c.field == 0) {
      EXPECT_FALSE(reply["ok"].get<bool>()) << c.window << " " << c.control;
    } else {
      EXPECT_TRUE(reply["ok"].get<bool>()) << c.window << " " << c.control << reply.dump();
    }
  }
  const json state = Do({{"op", "state"}});
  ASSERT_TRUE(state["ok"].get<bool>());
  ASSERT_EQ(state["windows"].size(), 1u);
  EXPECT_EQ(state["windows"][0]["status"][0], "A tool") << "the last hover before the misses";
  RtDisposeWindow(frame);
}

TEST(AutomationProtocol, RequestsThatCannotBeCarriedOut) {
  ProgramThreadScope main;
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "PLAIN");
  RtOpenWindow(w);
  struct Case {
    json request;
    const char* error;
  } cases[] = {
      {json::array(), "op"},
      {{{"op", 7}}, "op"},
      {{{"op", "dance"}}, "unknown op"},
      {{{"op", "press"}}, "window"},
      {{{"op", "press"}, {"window", "Plain"}}, "control"},
      {{{"op", "press"}, {"window", "Plain"}, {"control", "OffButton"}}, "disabled"},
      {{{"op", "menu"}, {"window", "Plain"}, {"item", "OkButton"}}, "no control"},  // not a menu item
      {{{"op", "type"}, {"window", "Plain"}, {"control", "CountString"}, {"text", "3"}}, "does not take"},
      {{{"op", "answer"}}, "no message box"},
      {{{"op", "wait"}, {"until", {{"sky", "blue"}}}, {"timeout_ms", 10}}, "unknown condition"},
      {{{"op", "wait"}, {"until", {{"message", true}}}, {"timeout_ms", 10}}, "timeout"},
      {{{"op", "resize"}, {"window", "Plain"}, {"width", "wide"}}, "bad request"},
      {{{"op", "screenshot"}, {"window", "Plain"}}, "path"},
      {{{"op", "screenshot"}, {"path", "/nonexistent/box.png"}}, "no message box"},
      {{{"op", "screenshot"}, {"window", "Plain"}, {"path", "/nonexistent/w.png"}}, "no view"},
  };
  for (const Case& c : cases) {
    const json reply = Do(c.request);
    EXPECT_FALSE(reply.value("ok", true)) << c.request.dump();
    EXPECT_NE(reply.value("error", "").find(c.error), std::string::npos) << c.request.dump() << " " << reply.dump();
  }
  EXPECT_EQ(Do({{"op", "hello"}, {"id", "x1"}})["id"], "x1") << "a request's id comes back";
  RtDisposeWindow(w);
}

TEST(AutomationProtocol, ScreenshotsNeedAViewThatShowsSomething) {
  HeadlessView view(nullptr);
  RtInstallView(&view);
  {
    ProgramThreadScope main;
    WindowRef w;
    RtNewWindow(w, "wintest$unit", "PLAIN");
    RtOpenWindow(w);
    const json reply = Do({{"op", "screenshot"}, {"window", "Plain"}, {"path", "/nonexistent/w.png"}});
    EXPECT_FALSE(reply.value("ok", true));
    EXPECT_NE(reply.value("error", "").find("shows nothing"), std::string::npos) << reply.dump();
    RtDisposeWindow(w);
  }
  RtInstallView(nullptr);
}

}  // namespace
}  // namespace qx
