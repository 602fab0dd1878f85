// The browses end to end: a test entry of qxmora (headless, through the automation
// channel) browsing a file of a few hundred records as a person would, two browses of one
// file on two threads, the frame's close request, and a file still in its old layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "demo/data_files.h"
#include "demo/scroll_bar_stops.h"
#include "runtime/text/strings.h"
#include "tests/demo_files/fixtures.h"
#include "tests/harness/harness.h"

namespace qx::testing {
namespace {

using nlohmann::json;

constexpr int kRecords = 300;
constexpr size_t kRows = 11;  // the rows Standrd's list shows as it opens
constexpr const char* kTitle = "Browse Standard File";

// Customer i of the test file: names of three letters spread over the alphabet, numbers
// in another order.
Customer TestCustomer(int i) {
  Customer c;
  c.cusid = (i * 37) % kRecords + 1;
  c.name = std::string(1, static_cast<char>('A' + (i * 7) % 26)) + static_cast<char>('a' + (i * 11) % 26) +
           static_cast<char>('a' + (i * 13) % 26) + " " + std::to_string(i);
  c.suburb = "Suburb " + std::to_string(i % 20);
  return c;
}

std::vector<Customer> TestCustomers() {
  std::vector<Customer> out;
  for (int i = 0; i < kRecords; ++i) out.push_back(TestCustomer(i));
  return out;
}

// The names in the order of the name key (upper case, ties in file order).
std::vector<std::string> ByName(std::vector<Customer> customers) {
  std::stable_sort(customers.begin(), customers.end(),
                   [](const Customer& a, const Customer& b) { return RtUpper(a.name) < RtUpper(b.name); });
  std::vector<std::string> out;
  for (const Customer& c : customers) out.push_back(c.name);
  return out;
}

std::string StandrdBytes(const std::vector<Customer>& customers) {
  TempDir stage;
  ScopedChdir in(stage.path());
  EXPECT_EQ(WriteFile(Standrd, customers), 0);
  return FileBytes(stage / "STANDRD.TPS");
}

class BrowseE2e : public ::testing::Test {
 protected:
  void Start(std::vector<std::pair<std::string, std::string>> files) {
    ProgramRun::Options options;
    options.files = std::move(files);
    std::string error;
    run = ProgramRun::Start(BROWSE_TEST_PROGRAM, options, &error);
    ASSERT_TRUE(run) << error;
    ASSERT_FALSE(run->WaitFor({{"takes_input", "P1$APPFRAME"}}).is_null()) << run->Stderr();
  }
  // Chooses "Browse Standard File" and returns the new browse window's id.
  LONG OpenBrowse() {
    std::vector<LONG> before;
    const json open = run->Request({{"op", "windows"}});
    for (const json& w : open["windows"]) before.push_back(w["id"]);
    EXPECT_TRUE(Ok(run->Request({{"op", "menu"}, {"window", "P1$APPFRAME"}, {"item", "BrowseStandrdItem"}})));
    const json w = Until({{"title", kTitle}}, [&](const json& win) {
      return std::find(before.begin(), before.end(), win["id"].get<LONG>()) == before.end() &&
             Names(win).size() == kRows;
    });
    return w.is_null() ? 0 : w["id"].get<LONG>();
  }
  // Polls the window `selector` until `holds` is true of it (10 s at most); null if never.
  json Until(const json& selector, const std::function<bool(const json&)>& holds) {
    for (int i = 0; i < 500; ++i) {
      const json reply = run->Request({{"op", "windows"}});
      json match;
      for (const json& w : reply["windows"]) {
        bool all = true;
        for (const auto& [k, v] : selector.items()) all = all && w.contains(k) && w[k] == v;
        if (all && holds(w)) return w;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ADD_FAILURE() << "never held for " << selector.dump() << ": " << run->Request({{"op", "windows"}}).dump();
    return nullptr;
  }
  // Column `column` of the rows shown.
  static std::vector<std::string> Cells(const json& window, size_t column) {
    std::vector<std::string> out;
    const json list = Control(window, "BrowseList")["list"];
    if (list.is_null()) return out;
    for (const json& r : list["rows"]) out.push_back(r["cells"][column]);
    return out;
  }
  static std::vector<std::string> Names(const json& window) { return Cells(window, 1); }
  static std::string Selected(const json& window, size_t column) {
    const json list = Control(window, "BrowseList")["list"];
    for (const json& r : list["rows"]) {
      if (r["selected"]) return r["cells"][column];
    }
    return {};
  }
  // Sends a request that must succeed, once the program has done all the last one led to.
  void Act(LONG window, json request) {
    ASSERT_TRUE(run->WaitIdle()) << run->Stderr();
    request["window"] = {{"id", window}};
    const json reply = run->Request(request);
    ASSERT_TRUE(Ok(reply)) << request.dump() << " " << reply.dump();
  }
  // Waits until the window's first rows are `names` from `from` on.
  json UntilPage(LONG window, const std::vector<std::string>& names, size_t from) {
    std::vector<std::string> want;
    for (size_t i = from; i < names.size() && want.size() < kRows; ++i) want.push_back(names[i]);
    return Until({{"id", window}}, [&](const json& w) { return Names(w) == want; });
  }
  std::vector<Customer> StoredCustomers() {
    ScopedChdir in(run->directory());
    std::vector<Customer> read;
    EXPECT_EQ(ReadFile(Standrd, &read), 0);
    return read;
  }

  std::unique_ptr<ProgramRun> run;
};

TEST_F(BrowseE2e, APersonBrowsesAFileOfAFewHundredRecords) {
  Start({{"STANDRD.TPS", StandrdBytes(TestCustomers())}});
  const std::vector<std::string> names = ByName(TestCustomers());
  const LONG browse = OpenBrowse();
  ASSERT_NE(browse, 0) << run->Stderr();
  ASSERT_FALSE(UntilPage(browse, names, 0).is_null());

  // Paged with keys.
  Act(browse, {{"op", "key"}, {"control", "BrowseList"}, {"code", 0x22}});  // PageDown
  ASSERT_FALSE(UntilPage(browse, names, kRows).is_null());
  Act(browse, {{"op", "key"}, {"control", "BrowseList"}, {"code", 0x28}});  // Down
  json w = Until({{"id", browse}}, [&](const json& win) { return Selected(win, 1) == names[kRows + 1]; });
  ASSERT_FALSE(w.is_null());

  // The thumb dropped at 50: the page at the first name at or after stop 50.
  InitTextStops(STRING<20>(names.front()).view(), STRING<20>(names.back()).view(), 20, kStopUpperLetters, 0);
  std::string stop50;
  for (int i = 1; i <= 50; ++i) stop50 = NextTextStop();
  size_t located = 0;
  while (located < names.size() && RtCompareStrings(RtUpper(names[located]), STRING<20>(stop50).view()) < 0) ++located;
  Act(browse, {{"op", "thumb"}, {"control", "BrowseList"}, {"position", 50}});
  w = UntilPage(browse, names, located);
  ASSERT_FALSE(w.is_null()) << "stop 50 is " << stop50;
  EXPECT_EQ(Selected(w, 1), names[located]);

  // A character typed: the first name at or after S.
  size_t s = 0;
  while (RtUpper(names[s]) < "S") ++s;
  Act(browse, {{"op", "key"}, {"control", "BrowseList"}, {"code", 0x153}, {"char", "S"}});
  w = UntilPage(browse, names, s);
  ASSERT_FALSE(w.is_null());
  const std::string selectedName = Selected(w, 1);
  EXPECT_EQ(selectedName, names[s]);

  // A tab picked: the list in number order from the selected record.
  Act(browse, {{"op", "pick"}, {"control", "SortSheet"}, {"tab", "By ID"}});
  w = Until({{"id", browse}}, [&](const json& win) {
    return Cells(win, 0).size() == kRows && Selected(win, 1) == selectedName && Names(win) != Names(w);
  });
  ASSERT_FALSE(w.is_null());
  std::vector<int> ids;
  for (const std::string& id : Cells(w, 0)) ids.push_back(std::stoi(id));
  EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end())) << w.dump();
  EXPECT_EQ(ids.back() - ids.front(), static_cast<int>(kRows) - 1) << "numbers 1 to 300 each once";

  // A right click answered: its popup menu's Delete, confirmed in the (stand-in) form.
  Act(browse, {{"op", "click"}, {"control", "BrowseList"}, {"row", 3}, {"button", "right"}});
  const json popup = run->WaitFor({{"popup", true}});
  ASSERT_FALSE(popup.is_null()) << run->Stderr();
  std::vector<std::string> items;
  for (const json& i : popup["items"]) items.push_back(i["text"]);
  EXPECT_EQ(items, (std::vector<std::string>{"&Insert", "&Change", "&Delete"}));
  const std::string deleted = Names(run->Window({{"id", browse}}))[2];
  ASSERT_TRUE(Ok(run->Request({{"op", "choose"}, {"item", "&Delete"}})));
  const json box = run->WaitFor({{"message", {{"caption", "UpdateStandrd"}}}});
  ASSERT_TRUE(box.is_object());
  ASSERT_TRUE(Ok(run->Request({{"op", "answer"}, {"message", box["id"]}, {"button", "Yes"}})));
  w = Until({{"id", browse}}, [&](const json& win) {
    const std::vector<std::string> shown = Names(win);
    return shown.size() == kRows && std::find(shown.begin(), shown.end(), deleted) == shown.end();
  });
  ASSERT_FALSE(w.is_null());
  EXPECT_EQ(Control(w, "BrowseList")["list"]["selected_row"], 3) << "the row that took its place";

  // A resize: the buttons keep their distance from the right and bottom edges, the list
  // grows and is filled to its new height.
  Act(browse, {{"op", "resize"}, {"width", 500}, {"height", 300}});
  w = Until({{"id", browse}}, [&](const json& win) {
    const json list = Control(win, "BrowseList")["list"];
    return list["visible_rows"] > static_cast<int>(kRows) && list["row_count"] == list["visible_rows"];
  });
  ASSERT_FALSE(w.is_null());
  EXPECT_EQ(Control(w, "CloseButton")["at"]["x"], 500 - (358 - 260));
  EXPECT_EQ(Control(w, "CloseButton")["at"]["y"], 300 - (188 - 170));
  EXPECT_EQ(Control(w, "InsertButton")["at"]["width"], 45);

  // The close button: the browse's window goes, the frame stays.
  Act(browse, {{"op", "press"}, {"control", "CloseButton"}});
  ASSERT_FALSE(run->WaitFor({{"no_window", {{"id", browse}}}}).is_null());
  ASSERT_FALSE(run->WaitFor({{"takes_input", "P1$APPFRAME"}}).is_null());
  ASSERT_TRUE(Ok(run->Request({{"op", "close"}, {"window", "P1$APPFRAME"}})));
  ASSERT_EQ(run->WaitForExit(), 0) << run->Stderr();

  const std::vector<Customer> stored = StoredCustomers();
  EXPECT_EQ(stored.size(), static_cast<size_t>(kRecords - 1));
  EXPECT_TRUE(std::none_of(stored.begin(), stored.end(), [&](const Customer& c) { return c.name == deleted; }));
  EXPECT_EQ(qx::testing::Names(run->directory()), std::vector<std::string>{"STANDRD.TPS"}) << "nothing left beside the file";
}

TEST_F(BrowseE2e, TwoBrowsesOfOneFileOnTwoThreads) {
  Start({{"STANDRD.TPS", StandrdBytes(TestCustomers())}});
  const std::vector<std::string> names = ByName(TestCustomers());
  const LONG first = OpenBrowse();
  const LONG second = OpenBrowse();
  ASSERT_NE(first, 0);
  ASSERT_NE(second, 0);
  EXPECT_NE(run->Window({{"id", first}})["thread"], run->Window({{"id", second}})["thread"]);

  // A change made through the first ...
  Act(first, {{"op", "activate"}});
  Act(first, {{"op", "press"}, {"control", "ChangeButton"}});
  const json box = run->WaitFor({{"message", {{"text", "UpdateStandrd: complete the change?"}}}});
  ASSERT_FALSE(box.is_null()) << run->Stderr();
  ASSERT_TRUE(Ok(run->Request({{"op", "answer"}, {"message", box["id"]}, {"button", "Yes"}})));
  ASSERT_FALSE(Until({{"id", first}}, [](const json& w) { return Selected(w, 1) == "Stand-in change"; }).is_null());
  // ... shows in the second once it has the focus again.
  Act(second, {{"op", "activate"}});
  ASSERT_FALSE(Until({{"id", second}}, [](const json& w) { return Selected(w, 1) == "Stand-in change"; }).is_null());

  // Closing the first leaves the second browsing its own instance of the file.
  Act(first, {{"op", "close"}});
  ASSERT_FALSE(run->WaitFor({{"no_window", {{"id", first}}}}).is_null());
  ASSERT_FALSE(run->WaitFor({{"takes_input", {{"id", second}}}}).is_null());
  Act(second, {{"op", "key"}, {"control", "BrowseList"}, {"code", 0x24}});  // Home
  ASSERT_FALSE(UntilPage(second, ByName([&] {
                                  std::vector<Customer> c = TestCustomers();
                                  // the first record of the name order was renamed
                                  for (Customer& x : c) {
                                    if (x.name == names[0]) x.name = "Stand-in change";
                                  }
                                  return c;
                                }()),
                         0)
                   .is_null());
  Act(second, {{"op", "key"}, {"control", "BrowseList"}, {"code", 0x22}});  // PageDown
  ASSERT_FALSE(Until({{"id", second}}, [&](const json& w) { return !Names(w).empty() && Names(w)[0] != names[1]; }).is_null());

  // The frame's close request reaches every browse thread.
  const LONG third = OpenBrowse();
  ASSERT_NE(third, 0);
  ASSERT_TRUE(Ok(run->Request({{"op", "press"}, {"window", "P1$APPFRAME"}, {"control", "ConvertButton"}})));
  ASSERT_FALSE(run->WaitFor({{"no_window", {{"kind", "mdi"}}}}).is_null());
  ASSERT_TRUE(Ok(run->Request({{"op", "close"}, {"window", "P1$APPFRAME"}})));
  ASSERT_EQ(run->WaitForExit(), 0) << run->Stderr();
}

TEST_F(BrowseE2e, AFileInItsOldLayoutEndsTheProgram) {
  TempDir stage;
  ASSERT_EQ(WriteOldFile(OldFile::kStandrd, stage / "Standrd.TPS", SampleCustomers()), 0);
  Start({{"Standrd.TPS", FileBytes(stage / "Standrd.TPS")}});
  ASSERT_TRUE(Ok(run->Request({{"op", "menu"}, {"window", "P1$APPFRAME"}, {"item", "BrowseStandrdItem"}})));
  const json box = run->WaitFor({{"message", {{"caption", "Invalid File"}}}});
  ASSERT_FALSE(box.is_null()) << run->Stderr();
  EXPECT_NE(box["text"].get<std::string>().find("Invalid Record Declaration (47)"), std::string::npos) << box.dump();
  ASSERT_TRUE(Ok(run->Request({{"op", "answer"}, {"message", box["id"]}})));
  const json halt = run->WaitFor({{"message", {{"caption", "Halt"}}}});
  ASSERT_TRUE(halt.is_object());
  EXPECT_EQ(halt["text"], "Invalid File!");
  ASSERT_TRUE(Ok(run->Request({{"op", "answer"}, {"message", halt["id"]}})));
  EXPECT_EQ(run->WaitForExit(), 0);
}

}  // namespace
}  // namespace qx::testing
