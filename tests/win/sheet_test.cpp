// Sheets: picking tabs and the events that follow, disabled tabs, the keys of a focused
// sheet, what the views are told, and controls on a tab versus on the window.
#include <gtest/gtest.h>

#include "runtime/win/presentation.h"
#include "runtime/win/view_input.h"
#include "runtime/win/win.h"
#include "tests/win/win_test_support.h"

namespace qx {
namespace {

using wintest::Seen;

std::vector<Seen> Take(size_t n) {
  std::vector<Seen> seen;
  for (size_t i = 0; i < n && RtAccept(); ++i) {
    seen.push_back({RtEvent(), RtField()});
    RtEndAcceptPass(0);
  }
  return seen;
}

ControlPresentation Presented(const WindowRef& w, LONG field) {
  for (const WindowPresentation& p : ReadPresentation().windows) {
    if (p.id != w.id) continue;
    for (const ControlPresentation& c : p.controls) {
      if (c.field == field) return c;
    }
  }
  return {};
}

class Sheet : public ::testing::Test {
 protected:
  LONG cusId = 0;
  STRING<20> name;
  LONG date = 0;
  STRING<5> note;
  ProgramThreadScope main;
  WindowRef w;
  void Open(const char* label) {
    if (std::string(label) == "BROWSE") {
      RtNewWindow(w, "wintest$controls", label);
    } else {
      RtNewWindow(w, "wintest$controls", label, {cusId, name, date, note});
    }
    RtOpenWindow(w);
    Take(2);  // EVENT:OpenWindow, EVENT:GainFocus
  }
  void TearDown() override {
    RtDisposeWindow(w);
    RtExitAccept(0);
  }
};

TEST_F(Sheet, APickedTabIsSelectedAndReportsTabChangingAndNewSelection) {
  Open("BROWSE");
  EXPECT_EQ(RtChoice(6), 1) << "the first tab shows as the window opens";
  ASSERT_EQ(ViewInput::Click(w.id, 6, 4), InputResult::kDone);
  EXPECT_EQ(Take(3), (std::vector<Seen>{{kEventSelected, 6}, {kEventTabChanging, 6}, {kEventNewSelection, 6}}))
      << "the focus came from the list";
  EXPECT_EQ(RtChoice(6), 4);
  EXPECT_EQ(RtGetProperty(w, 6, kPropSelectedRow), "4");
  EXPECT_EQ(ViewInput::Click(w.id, 6, 4), InputResult::kDone) << "the selected tab again: nothing";
  EXPECT_EQ(ViewInput::Click(w.id, 6, 2), InputResult::kDisabled);
  EXPECT_EQ(ViewInput::Click(w.id, 6, 6), InputResult::kBadValue);
  EXPECT_EQ(RtChoice(6), 4);
  // Left and Right on the focused sheet pick the nearest tab the person may pick.
  struct Case {
    LONG key, tab;
  } keys[] = {{kKeyRight, 5}, {kKeyRight, 5}, {kKeyLeft, 4}, {kKeyLeft, 1}, {kKeyLeft, 1}};
  for (const Case& k : keys) {
    ASSERT_EQ(ViewInput::Key(w.id, 6, k.key, 0), InputResult::kDone);
    EXPECT_EQ(RtChoice(6), k.tab);
  }
  const Seen changing{kEventTabChanging, 6}, selection{kEventNewSelection, 6};
  EXPECT_EQ(Take(6), (std::vector<Seen>{changing, selection, changing, selection, changing, selection}))
      << "three moves; the keys that found no tab did nothing";
  RtSetProperty(w, 6, kPropSelectedRow, "2");
  EXPECT_EQ(RtChoice(6), 2) << "the program may select a disabled tab";
  RtSelect(10);
  EXPECT_EQ(RtChoice(6), 4) << "selecting a tab selects it";
}

TEST_F(Sheet, TheViewsSeeTheTabsWithTheirStatesAndColours) {
  Open("BROWSE");
  const ControlPresentation sheet = Presented(w, 6);
  ASSERT_TRUE(sheet.sheet);
  ASSERT_EQ(sheet.sheet->tabs.size(), 5u);
  EXPECT_EQ(sheet.sheet->selected, 1);
  EXPECT_EQ(sheet.sheet->tabs[1].text, "By StartDate/Name");
  EXPECT_TRUE(sheet.sheet->tabs[1].disabled);
  EXPECT_FALSE(sheet.sheet->tabs[3].disabled);
  EXPECT_EQ(sheet.sheet->tabs[3].background, 0x80000000u) << "system colour 0";
  EXPECT_EQ(sheet.sheet->tabs[4].background, 0x808080u);
  EXPECT_EQ(sheet.sheet->tabs[0].background, kNoColour);
  EXPECT_EQ(Presented(w, 7).parentField, 6) << "a tab belongs to its sheet";
  EXPECT_EQ(Presented(w, 1).parentField, 0) << "the list lies on the sheet but belongs to the window";
  ASSERT_EQ(ViewInput::Click(w.id, 6, 5), InputResult::kDone);
  EXPECT_TRUE(Presented(w, 1).visible) << "and shows whatever tab is selected";
}

TEST_F(Sheet, ControlsOnATabShowOnlyWithIt) {
  Open("FORM");
  EXPECT_EQ(RtFocus(), 1) << "the sheet is the first control that takes the focus";
  EXPECT_TRUE(Presented(w, 4).visible);
  EXPECT_EQ(Presented(w, 4).parentField, 2);
  EXPECT_FALSE(Presented(w, 10).visible) << "on the second tab";
  EXPECT_FALSE(Presented(w, 10).hidden) << "not hidden by the program";
  EXPECT_EQ(ViewInput::Type(w.id, 10, "x", true), InputResult::kDisabled);
  RtSelect(3);
  EXPECT_EQ(RtFocus(), 4) << "a prompt passes the focus to the entry after it";
  // Selecting a control on a tab that is not selected selects that tab.
  RtSelect(10);
  EXPECT_EQ(RtChoice(1), 2);
  EXPECT_EQ(RtFocus(), 10);
  EXPECT_TRUE(Presented(w, 10).visible);
  EXPECT_FALSE(Presented(w, 4).visible);
  EXPECT_EQ(ViewInput::Type(w.id, 10, "x", false), InputResult::kDone);
  EXPECT_EQ(ViewInput::Focus(w.id, 4), InputResult::kDisabled);
  RtSelect(2);
  EXPECT_EQ(RtChoice(1), 1);
  EXPECT_EQ(RtFocus(), 4) << "a tab passes the focus to its first control";
}

}  // namespace
}  // namespace qx
