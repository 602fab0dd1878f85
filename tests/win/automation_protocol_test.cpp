// The automation channel's requests: selecting windows and controls as a script names
// them, acting on them, the errors of requests it cannot carry out, and the programs'
// Latin-1 texts as UTF-8 both ways.
#include <gtest/gtest.h>

#include "runtime/view/automation/protocol.h"
#include "runtime/view/automation/text_encoding.h"
#include "runtime/view/headless/headless_view.h"
#include "runtime/win/win.h"
#include "tests/win/win_test_support.h"

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
      {{{"op", "wait"}, {"until", {{"idle", true}}}, {"timeout_ms", 10}}, "timeout"},  // this thread runs
      {{{"op", "wait"}, {"until", {{"idle", false}}}, {"timeout_ms", 10}}, "must be true"},
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

// A window open only for a moment leaves its opening and closing in the log, as it was
// then; a wait for a log entry answers with the entries that led up to it.
TEST(AutomationProtocol, OpeningAndClosingAWindowAreLogged) {
  ProgramThreadScope main;
  const json before = Do({{"op", "log"}});
  ASSERT_TRUE(before["ok"].get<bool>());
  const std::uint64_t after = before["log"].empty() ? 0 : before["log"].back()["sequence"].get<std::uint64_t>();
  WindowRef w;
  RtNewWindow(w, "wintest$unit", "PLAIN");
  const LONG id = w.id;
  RtOpenWindow(w);
  RtSetProperty(w, 0, kPropText, "Renamed");
  RtCloseWindow(w);
  RtBeep(0);
  RtDisposeWindow(w);  // closed already: nothing more is logged

  const json log = Do({{"op", "log"}, {"after", after}});
  ASSERT_TRUE(log["ok"].get<bool>()) << log.dump();
  ASSERT_EQ(log["log"].size(), 3u) << log.dump();
  const struct {
    const char* what;
    const char* title;
  } expected[] = {{"open", "Plain"}, {"close", "Renamed"}};
  for (size_t i = 0; i < 2; ++i) {
    const json& e = log["log"][i];
    EXPECT_EQ(e["what"], expected[i].what);
    EXPECT_EQ(e["window"], id);
    EXPECT_EQ(e["label"], "PLAIN");
    EXPECT_EQ(e["title"], expected[i].title);
    EXPECT_EQ(e["thread"], 1);
  }
  EXPECT_EQ(log["log"][2]["what"], "beep");
  EXPECT_FALSE(log["log"][2].contains("label")) << "only a window's entries name one";

  const json waited = Do({{"op", "wait"}, {"until", {{"log", "close"}, {"after", after}}}, {"timeout_ms", 0}});
  ASSERT_TRUE(waited["ok"].get<bool>()) << waited.dump();
  EXPECT_EQ(waited["match"]["title"], "Renamed");
  ASSERT_EQ(waited["match"]["log"].size(), 2u) << "the entries after `after`, up to the match";
  EXPECT_EQ(waited["match"]["log"][0]["what"], "open");
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

TEST(AutomationText, Latin1AndUtf8) {
  struct Case {
    std::string latin1;
    std::string utf8;
  } cases[] = {
      {"plain", "plain"}, {"Caf\xE9", "Caf\u00e9"}, {"\xA0\xBD\xFF", "\u00a0\u00bd\u00ff"}, {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Latin1ToUtf8(c.latin1), c.utf8) << c.utf8;
    EXPECT_EQ(Utf8ToLatin1(c.utf8), c.latin1) << c.utf8;
  }
  struct Beyond {
    const char* utf8;
    const char* replaced;
  } beyond[] = {
      {"10 \u20ac", "10 ?"},       // beyond Latin-1
      {"\U0001F600!", "?!"},       // one character outside the basic plane, one "?"
      {"Caf\xC3", "Caf?"},         // cut short
      {"\xC0\xA9", "??"},          // an overlong form of U+0029
      {"\xE9t\xE9", "?t?"},        // Latin-1 bytes, not UTF-8
  };
  for (const Beyond& b : beyond) {
    EXPECT_FALSE(Utf8ToLatin1(b.utf8).has_value()) << b.utf8;
    EXPECT_EQ(Utf8ToLatin1Replacing(b.utf8), b.replaced) << b.utf8;
  }
}

TEST(AutomationText, ModelTextsGoOutAndComeInAsUtf8) {
  ProgramThreadScope main;
  LONG cusId = 42, date = 0;
  STRING<20> name{"Caf\xE9"};
  STRING<5> note{"n"};
  WindowRef form;
  RtNewWindow(form, "wintest$controls", "FORM", {cusId, name, date, note});
  RtOpenWindow(form);
  RtSetProperty(form, 0, kPropText, "R\xE9sum\xE9");
  RtSetProperty(form, 13, kPropText, "&D\xE9j\xE0 vu");
  wintest::RunLoop(2);

  // Out: every reply is UTF-8 JSON, whatever bytes the texts hold.
  const json window = Do({{"op", "window"}, {"window", "R\u00e9sum\u00e9"}});
  ASSERT_TRUE(window.value("ok", false)) << window.dump();
  EXPECT_NO_THROW((void)window.dump()) << "the reply can be written";
  EXPECT_EQ(window["window"]["title"], "R\u00e9sum\u00e9");
  for (const json& c : window["window"]["controls"]) {
    if (c["field"] == 6) {
      EXPECT_EQ(c["text"], "Caf\u00e9");
    }
  }
  EXPECT_NO_THROW((void)Do({{"op", "state"}}).dump());

  // In: typed text, a typed character, selectors and expected texts stand for Latin-1 bytes.
  struct Act {
    json request;
  } acts[] = {
      {{{"op", "type"}, {"window", "R\u00e9sum\u00e9"}, {"control", "NameEntry"}, {"text", "Zo\u00eb"}, {"accept", false}}},
      {{{"op", "key"}, {"window", {{"title", "R\u00e9sum\u00e9"}}}, {"control", "NameEntry"}, {"code", 0},
        {"char", "\u00ff"}}},
      {{{"op", "wait"}, {"until", {{"text", {{"window", "FORM"}, {"control", 6}, {"equals", "Zo\u00eb\u00ff"}}}}},
        {"timeout_ms", 100}}},
      {{{"op", "press"}, {"window", "FORM"}, {"control", "D\u00e9j\u00e0 vu"}}},
  };
  for (const Act& a : acts) {
    const json reply = Do(a.request);
    EXPECT_TRUE(reply.value("ok", false)) << a.request.dump() << " " << reply.dump();
  }
  EXPECT_EQ(RtGetProperty(form, 6, kPropText), "Zo\xEB\xFF");

  // A character the code page cannot hold is refused, and says so in UTF-8; a path is the
  // file system's and is not a text of the programs.
  const json euro = Do({{"op", "type"}, {"window", "FORM"}, {"control", "NameEntry"}, {"text", "10 \u20ac"}});
  EXPECT_FALSE(euro.value("ok", true));
  EXPECT_NE(euro.value("error", "").find("Latin-1"), std::string::npos) << euro.dump();
  EXPECT_NE(euro.value("error", "").find("10 ?"), std::string::npos) << euro.dump();
  const json missing = Do({{"op", "press"}, {"window", "Caf\u00e9"}, {"control", 13}});
  EXPECT_NE(missing.value("error", "").find("\"Caf\u00e9\""), std::string::npos) << missing.dump();
  const json shot = Do({{"op", "screenshot"}, {"window", "FORM"}, {"path", "/nonexistent/\u2603.png"}});
  EXPECT_EQ(shot.value("error", "").find("Latin-1"), std::string::npos) << shot.dump();
  EXPECT_EQ(Do({{"op", "hello"}, {"id", "\u2603"}})["id"], "\u2603") << "the id comes back as sent";

  RtPost(kEventCloseWindow);
  wintest::RunLoop();
  EXPECT_EQ(std::string(RtClipView(name.view())), "Zo\xEB\xFF") << "taken as the person left the entry";
  RtDisposeWindow(form);
}

TEST(AutomationText, AListsRecordsAreListedInUtf8) {
  ProgramThreadScope main;
  LONG sysId = 0, fg = -1, bg = -1, sfg = -1, sbg = -1, cusId = 0, startDate = 0;
  STRING<20> name;
  BYTE mark = 0;
  STRING<512> position;
  RtQueue queue{{"SYSID", sysId}, {"NORMALFG", fg}, {"NORMALBG", bg}, {"SELECTEDFG", sfg}, {"SELECTEDBG", sbg},
                {"CUSID", cusId}, {"NAME", name}, {"STARTDATE", startDate}, {"MARK", mark}, {"POSITION", position}};
  for (const char* n : {"Ren\xE9" "e", "Bj\xF6rk", "\xC6sir"}) {
    ++sysId;
    name = n;
    RtQueueAdd(queue);
  }
  WindowRef browse;
  RtNewWindow(browse, "wintest$controls", "BROWSE", {queue});
  RtOpenWindow(browse);
  const json reply = Do({{"op", "window"}, {"window", "BROWSE"}});
  ASSERT_TRUE(reply.value("ok", false));
  std::string listed;
  ASSERT_NO_THROW(listed = reply.dump());
  const json rows = reply["window"]["controls"][0]["list"]["rows"];
  ASSERT_EQ(rows.size(), 3u) << listed;
  EXPECT_EQ(rows[0]["cells"][2], "Ren\u00e9e");
  EXPECT_EQ(rows[1]["cells"][2], "Bj\u00f6rk");
  EXPECT_EQ(rows[2]["cells"][2], "\u00c6sir");
  RtDisposeWindow(browse);
}

}  // namespace
}  // namespace qx
