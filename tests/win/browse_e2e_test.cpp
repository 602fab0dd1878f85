// The test program's browse window, driven end to end through the harness (headless): an
// immediate-mode list paging through 300 records as a browse does, its keys, thumb, clicks
// and popup menu, a sheet with an entry on its second tab, and resizing.
#include <gtest/gtest.h>

#include "tests/harness/harness.h"

namespace qx {
namespace {

using nlohmann::json;
using testing::ProgramRun;

constexpr const char* kWindow = "Browse Test";

class BrowseProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ProgramRun::Options options;
    options.args = {"browse"};
    std::string error;
    run = ProgramRun::Start(WIN_TEST_PROGRAM, options, &error);
    ASSERT_TRUE(run) << error;
    ASSERT_TRUE(run->WaitFor({{"window", kWindow}}).is_object()) << run->Stderr();
  }

  // Sends a request that must succeed, as a person does: once the program has done all
  // that the last one led to (a click on a row the program is still filling in is refused).
  void Act(json request) {
    ASSERT_TRUE(run->WaitIdle()) << run->Stderr();
    request["window"] = kWindow;
    const json reply = run->Request(request);
    ASSERT_TRUE(reply.value("ok", false)) << request.dump() << " " << reply.dump();
  }
  // Waits until the program reports `text` in its status string.
  bool Reported(const std::string& text) {
    return run->WaitFor({{"text", {{"window", kWindow}, {"control", "StatusString"}, {"equals", text}}}}).is_null() == false;
  }
  json Control(const std::string& name) { return testing::Control(run->Window(kWindow), name); }
  json List() { return Control("PeopleList")["list"]; }

  std::unique_ptr<ProgramRun> run;
};

TEST_F(BrowseProgram, PagesThroughThreeHundredRecords) {
  ASSERT_TRUE(Reported("first 1 selected 1")) << run->Stderr();
  json list = List();
  EXPECT_EQ(list["visible_rows"], 10);
  EXPECT_EQ(list["row_count"], 10) << "the queue holds one page";
  EXPECT_EQ(list["rows"][0]["cells"], json({"1", "Person 001"}));
  EXPECT_EQ(list["rows"][1]["colours"][0]["background"], 0xE0E0E0) << "even numbers are shaded";
  EXPECT_EQ(list["scroll_bar"]["thumb"], 0);

  // Down on the bottom row reads the next record: the rows scroll, the selection stays.
  for (int i = 0; i < 9; ++i) Act({{"op", "key"}, {"control", "PeopleList"}, {"code", 0x28}});
  ASSERT_TRUE(Reported("first 1 selected 10"));
  Act({{"op", "key"}, {"control", "PeopleList"}, {"code", 0x28}});
  ASSERT_TRUE(Reported("first 2 selected 11"));
  list = List();
  EXPECT_EQ(list["rows"][9]["cells"][1], "Person 011");
  EXPECT_EQ(list["selected_row"], 10);

  struct Step {
    json request;
    const char* reported;
  } steps[] = {
      {{{"op", "key"}, {"control", 1}, {"code", 0x22}}, "first 12 selected 21"},         // PageDown
      {{{"op", "scroll"}, {"control", 1}, {"part", "page-down"}}, "first 22 selected 31"},
      {{{"op", "key"}, {"control", 1}, {"code", 0x23}}, "first 291 selected 300"},       // End
      {{{"op", "key"}, {"control", 1}, {"code", 0x221}}, "first 1 selected 1"},          // Ctrl+PageUp
      {{{"op", "thumb"}, {"control", 1}, {"position", 50}}, "first 146 selected 146"},
      {{{"op", "key"}, {"control", 1}, {"code", 0x37}, {"char", "7"}}, "first 211 selected 211"},  // typed
      {{{"op", "pick"}, {"control", 1}, {"row", 4}}, "first 211 selected 214"},
  };
  for (const Step& s : steps) {
    Act(s.request);
    ASSERT_TRUE(Reported(s.reported)) << s.request.dump() << " " << run->Window(kWindow)["controls"][1].dump();
  }
  list = List();
  EXPECT_EQ(list["scroll_bar"]["thumb"], 72) << "210 of 290";
  EXPECT_EQ(list["rows"][3]["selected"], true);
  Act({{"op", "close"}});
  EXPECT_EQ(run->WaitForExit(), 0);
}

TEST_F(BrowseProgram, ClicksPopupMenuSheetEntryAndResize) {
  ASSERT_TRUE(Reported("first 1 selected 1"));
  // A right click opens the popup menu; its greyed item is refused.
  Act({{"op", "click"}, {"control", "PeopleList"}, {"row", 3}, {"button", "right"}});
  json popup = run->WaitFor({{"popup", true}});
  ASSERT_TRUE(popup.is_object()) << run->Stderr();
  EXPECT_EQ(popup["items"].size(), 3u);
  EXPECT_FALSE(run->Request({{"op", "choose"}, {"item", "Grey"}}).value("ok", true));
  EXPECT_FALSE(Control("PeopleList").is_null());
  EXPECT_FALSE(run->Window(kWindow)["takes_input"]) << "while the menu is open";
  ASSERT_TRUE(run->Request({{"op", "choose"}, {"item", "&Show"}}).value("ok", false));
  ASSERT_TRUE(Reported("Show Person 003"));
  Act({{"op", "click"}, {"control", "PeopleList"}, {"row", 3}, {"button", "right"}});
  ASSERT_TRUE(run->WaitFor({{"popup", true}}).is_object());
  ASSERT_TRUE(run->Request({{"op", "choose"}, {"item", 0}}).value("ok", false));
  ASSERT_TRUE(Reported("No choice"));

  // A double click: its first click selects, the second is the list's alert key.
  Act({{"op", "click"}, {"control", "PeopleList"}, {"row", 5}});
  Act({{"op", "click"}, {"control", "PeopleList"}, {"row", 5}, {"count", 2}});
  ASSERT_TRUE(Reported("Double Person 005"));

  // The entry lies on the second tab.
  EXPECT_FALSE(run->Request({{"op", "type"}, {"window", kWindow}, {"control", "AmountEntry"}, {"text", "1"}})
                   .value("ok", true));
  Act({{"op", "pick"}, {"control", "ModeSheet"}, {"tab", "Entry"}});
  ASSERT_TRUE(Reported("Tab 2"));
  EXPECT_EQ(Control("ModeSheet")["sheet"]["selected_tab"], 2);
  EXPECT_EQ(Control("AmountEntry")["visible"], true);
  EXPECT_EQ(Control("PeopleList")["visible"], true) << "the list belongs to the window";
  Act({{"op", "type"}, {"control", "AmountEntry"}, {"text", "12x"}});
  ASSERT_TRUE(Reported("Rejected"));
  EXPECT_FALSE(run->WaitFor({{"log", "beep"}}).is_null());
  EXPECT_EQ(Control("AmountEntry")["focused"], true);
  Act({{"op", "type"}, {"control", "AmountEntry"}, {"text", "12"}});
  ASSERT_TRUE(Reported("Entry 12"));

  // Taller: the list grows with the window and the page holds more rows.
  Act({{"op", "resize"}, {"width", 230}, {"height", 260}});
  ASSERT_TRUE(Reported("first 1 selected 5"));
  const json list = List();
  EXPECT_GT(list["visible_rows"].get<int>(), 10);
  EXPECT_EQ(list["rows"].size(), list["visible_rows"].get<size_t>());
  EXPECT_EQ(Control("CloseButton")["at"]["y"], 240) << "20 from the bottom edge, as it opened";

  Act({{"op", "click"}, {"control", "PeopleList"}, {"row", 1}, {"button", "right"}});
  ASSERT_TRUE(run->WaitFor({{"popup", true}}).is_object());
  ASSERT_TRUE(run->Request({{"op", "choose"}, {"item", "Close"}}).value("ok", false));
  EXPECT_EQ(run->WaitForExit(), 0);
}

}  // namespace
}  // namespace qx
