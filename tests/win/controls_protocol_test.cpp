// The automation channel on lists, sheets, entries and popup menus: what a listing shows
// of them and the requests that act on them as a person would (an entry's selection with
// the Edit menu acting on it among them).
#include <gtest/gtest.h>

#include <thread>

#include "runtime/view/automation/protocol.h"
#include "runtime/win/win.h"
#include "tests/support/views.h"
#include "tests/win/win_test_support.h"

namespace qx {
namespace {

using nlohmann::json;
using wintest::Seen;

json Do(const json& request) { return HandleAutomationRequest(request); }

json ControlNamed(const json& window, const std::string& name) {
  for (const json& c : window["controls"]) {
    if (c["name"] == name) return c;
  }
  return nullptr;
}

class ControlsProtocol : public ::testing::Test {
 protected:
  LONG sysId = 0, fg = -1, bg = 0x808080, sfg = -1, sbg = -1, cusId = 0, startDate = 0;
  STRING<20> name;
  RtQueue queue{{"SYSID", sysId}, {"FG", fg},     {"BG", bg},     {"SFG", sfg},
                {"SBG", sbg},     {"CUSID", cusId}, {"NAME", name}, {"DATE", startDate}};
  ProgramThreadScope main;
  WindowRef w;
  void SetUp() override {
    for (sysId = 1; sysId <= 20; ++sysId) {
      cusId = sysId * 10;
      name = "Name " + std::to_string(sysId);
      RtQueueAdd(queue);
    }
    RtNewWindow(w, "wintest$controls", "BROWSE", {queue});
    RtOpenWindow(w);
    wintest::RunLoop(2);
  }
  void TearDown() override {
    RtDisposeWindow(w);
    RtExitAccept(0);
  }
  Seen Next() {
    if (!RtAccept()) return {0, 0};
    const Seen s{RtEvent(), RtField()};
    RtEndAcceptPass(0);
    return s;
  }
};

TEST_F(ControlsProtocol, AListingShowsTheListsRowsAndTheSheetsTabs) {
  const json window = Do({{"op", "window"}, {"window", "Browse Test"}})["window"];
  const json list = ControlNamed(window, "BrowseList")["list"];
  ASSERT_TRUE(list.is_object()) << window.dump();
  EXPECT_EQ(list["visible_rows"], 11);
  EXPECT_EQ(list["row_count"], 20);
  EXPECT_EQ(list["rows"].size(), 11u) << "the rows the list shows, not the whole queue";
  EXPECT_EQ(list["rows"][0]["cells"], json({"1", "10", "Name 1", ""}));
  EXPECT_EQ(list["rows"][0]["colours"][0]["background"], 0x808080);
  EXPECT_TRUE(list["rows"][0]["colours"][0]["colour"].is_null()) << "-1: the list's own";
  EXPECT_EQ(list["selected_row"], 1);
  EXPECT_EQ(list["scroll_bar"]["visible"], true);
  EXPECT_EQ(list["columns"][0]["header"], "Sys ID");
  EXPECT_EQ(list["columns"][3]["picture"], "@d17");
  const json sheet = ControlNamed(window, "SortSheet")["sheet"];
  EXPECT_EQ(sheet["selected_tab"], 1);
  EXPECT_EQ(sheet["tabs"][1]["text"], "By StartDate/Name");
  EXPECT_EQ(sheet["tabs"][1]["disabled"], true);
  EXPECT_EQ(sheet["tabs"][3]["background"], 0x80000000u);
}

TEST_F(ControlsProtocol, PickClickThumbScrollAndKeysActAsAPerson) {
  struct Case {
    json request;
    std::vector<Seen> events;
  } cases[] = {
      {{{"op", "pick"}, {"window", "Browse Test"}, {"control", "BrowseList"}, {"row", 4}}, {{kEventNewSelection, 1}}},
      {{{"op", "click"}, {"window", "Browse Test"}, {"control", 1}, {"row", 2}, {"button", "right"}},
       {{kEventNewSelection, 1}}},
      {{{"op", "thumb"}, {"window", "Browse Test"}, {"control", 1}, {"position", 60}}, {{kEventScrollDrag, 1}}},
      {{{"op", "scroll"}, {"window", "Browse Test"}, {"control", 1}, {"part", "page-down"}}, {{kEventPageDown, 1}}},
      {{{"op", "key"}, {"window", "Browse Test"}, {"control", 1}, {"code", 0x28}}, {{kEventScrollDown, 1}}},
      {{{"op", "pick"}, {"window", "Browse Test"}, {"control", "SortSheet"}, {"tab", "By ID"}},
       {{kEventSelected, 6}, {kEventTabChanging, 6}, {kEventNewSelection, 6}}},
      {{{"op", "key"}, {"window", "Browse Test"}, {"control", 1}, {"code", 0x4B}, {"char", "k"}}, {{kEventAlertKey, 1}}},
  };
  for (const Case& c : cases) {
    const json reply = Do(c.request);
    ASSERT_TRUE(reply.value("ok", false)) << c.request.dump() << " " << reply.dump();
    std::vector<Seen> seen;
    for (size_t i = 0; i < c.events.size(); ++i) seen.push_back(Next());
    EXPECT_EQ(seen, c.events) << c.request.dump() << " " << wintest::Describe(seen);
  }
  EXPECT_EQ(RtChoice(1), 2);
  EXPECT_EQ(RtKeyChar(), 'k');
  EXPECT_EQ(RtGetProperty(w, 1, kPropThumb), "60");
  EXPECT_EQ(RtChoice(6), 4);
  struct Refused {
    json request;
    const char* error;
  } refused[] = {
      {{{"op", "pick"}, {"window", "Browse Test"}, {"control", "SortSheet"}, {"tab", "By Phone"}}, "disabled"},
      {{{"op", "pick"}, {"window", "Browse Test"}, {"control", "SortSheet"}, {"tab", "By Colour"}}, "no tab"},
      {{{"op", "pick"}, {"window", "Browse Test"}, {"control", 1}, {"row", 21}}, "bad value"},
      {{{"op", "pick"}, {"window", "Browse Test"}, {"control", 1}}, "row"},
      {{{"op", "click"}, {"window", "Browse Test"}, {"control", 1}, {"row", 1}, {"button", "middle"}}, "button"},
      {{{"op", "thumb"}, {"window", "Browse Test"}, {"control", 1}}, "position"},
      {{{"op", "scroll"}, {"window", "Browse Test"}, {"control", 1}, {"part", "sideways"}}, "part"},
      {{{"op", "scroll"}, {"window", "Browse Test"}, {"control", "CloseButton"}, {"part", "line-up"}}, "does not take"},
      {{{"op", "column"}, {"window", "Browse Test"}, {"control", 1}, {"column", 1}}, "width"},
      {{{"op", "choose"}, {"item", 1}}, "no popup"},
  };
  for (const Refused& r : refused) {
    const json reply = Do(r.request);
    EXPECT_FALSE(reply.value("ok", true)) << r.request.dump();
    EXPECT_NE(reply.value("error", "").find(r.error), std::string::npos) << r.request.dump() << " " << reply.dump();
  }
}

TEST_F(ControlsProtocol, APopupMenuIsListedAndChosenFrom) {
  // Leaves popup menus open for the channel to answer.
  testing::RecordingView view(testing::Answers::kLeftOpen, testing::Answers::kLeftOpen);
  RtInstallView(&view);
  json listed;
  std::thread script([&] {
    const json match = Do({{"op", "wait"}, {"until", {{"popup", true}}}, {"timeout_ms", 10000}});
    listed = match["match"];
    EXPECT_FALSE(Do({{"op", "choose"}, {"item", "Change"}}).value("ok", true)) << "greyed";
    EXPECT_FALSE(Do({{"op", "choose"}, {"item", "Print"}}).value("ok", true)) << "no such item";
    EXPECT_TRUE(Do({{"op", "choose"}, {"item", "&Delete"}}).value("ok", false));
  });
  EXPECT_EQ(RtPopup("&Insert|~&Change|&Delete"), 3);
  script.join();
  EXPECT_EQ(listed["window"], w.id);
  EXPECT_EQ(listed["items"][1]["greyed"], true);
  EXPECT_EQ(listed["items"][2]["text"], "&Delete");
  EXPECT_TRUE(Do({{"op", "state"}})["popups"].empty());
  RtInstallView(nullptr);
}

TEST(ControlsProtocolEntry, TheEditMenuActsOnTheSelectionMade) {
  ProgramThreadScope main;
  LONG cusId = 42, date = 0;
  STRING<20> name{"Ann Lee"};
  STRING<5> note{"n"};
  WindowRef w;
  RtNewWindow(w, "wintest$controls", "FORM", {cusId, name, date, note});
  RtOpenWindow(w);
  wintest::RunLoop(2);
  const auto entry = [&] { return ControlNamed(Do({{"op", "window"}, {"window", w.id}})["window"], "NameEntry"); };
  EXPECT_TRUE(Do({{"op", "select"}, {"window", w.id}, {"control", "NameEntry"}, {"start", 4}, {"end", 7}})["ok"]);
  EXPECT_EQ(entry()["selection"], json({{"start", 4}, {"end", 7}}));
  EXPECT_TRUE(entry()["focused"]);
  EXPECT_TRUE(Do({{"op", "menu"}, {"window", w.id}, {"item", "Copy"}})["ok"]);
  EXPECT_TRUE(Do({{"op", "select"}, {"window", w.id}, {"control", "NameEntry"}, {"start", 0}, {"end", 0}})["ok"]);
  EXPECT_TRUE(Do({{"op", "menu"}, {"window", w.id}, {"item", "Paste"}})["ok"]);
  EXPECT_EQ(entry()["text"], "LeeAnn Lee") << "the copied selection, pasted at the caret";
  EXPECT_EQ(entry()["selection"], json({{"start", 3}, {"end", 3}}));
  EXPECT_TRUE(Do({{"op", "select"}, {"window", w.id}, {"control", "NameEntry"}, {"start", 6}})["ok"]);
  EXPECT_EQ(entry()["selection"], json({{"start", 6}, {"end", 10}})) << "to the end of the text";
  EXPECT_FALSE(Do({{"op", "select"}, {"window", w.id}, {"control", "NameEntry"}, {"start", 6}, {"end", 40}})["ok"]);
  RtDisposeWindow(w);
  RtExitAccept(0);
}

}  // namespace
}  // namespace qx
