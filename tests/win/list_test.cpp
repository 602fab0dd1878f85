// Lists: the keys of an immediate-mode list as events (nothing moves by itself), clicks and
// their key codes, the thumb and the scroll bar, the rows and cells the views are given,
// and a list that scrolls through a long queue by itself.
#include <gtest/gtest.h>

#include <string>

#include "runtime/win/presentation.h"
#include "runtime/win/view_input.h"
#include "runtime/win/win.h"
#include "tests/win/win_test_support.h"

namespace qx {
namespace {

// An entry of the browse window's queue: a coloured first column, then three more.
struct BrowseEntry {
  LONG sysId = 0, normalFg = 0, normalBg = 0, selectedFg = 0, selectedBg = 0;
  LONG cusId = 0;
  STRING<20> name;
  LONG startDate = 0;
  BYTE mark = 0;
  STRING<512> position;
};

const ControlPresentation* Find(const WindowRef& w, LONG field, PresentationState& keep) {
  keep = ReadPresentation();
  for (const WindowPresentation& p : keep.windows) {
    if (p.id != w.id) continue;
    for (const ControlPresentation& c : p.controls) {
      if (c.field == field) return &c;
    }
  }
  return nullptr;
}

class BrowseList : public ::testing::Test {
 protected:
  BrowseEntry e;
  RtQueue queue{{"SYSID", e.sysId},         {"NORMALFG", e.normalFg}, {"NORMALBG", e.normalBg},
                {"SELECTEDFG", e.selectedFg}, {"SELECTEDBG", e.selectedBg}, {"CUSID", e.cusId},
                {"NAME", e.name},           {"STARTDATE", e.startDate}, {"MARK", e.mark},
                {"POSITION", e.position}};
  ProgramThreadScope main;
  WindowRef w;

  void SetUp() override {
    for (LONG i = 1; i <= 5; ++i) {
      e.sysId = i;
      e.normalFg = 0xFFFFFF;
      e.normalBg = 0x808080;
      e.selectedFg = -1;
      e.selectedBg = -1;
      e.cusId = -100 * i;
      e.name = "Name " + std::to_string(i);
      e.startDate = i == 1 ? 0 : 4;  // 0 is no date; day 4 is 1 January 1801
      RtQueueAdd(queue);
    }
    RtNewWindow(w, "wintest$controls", "BROWSE", {queue});
    RtOpenWindow(w);
    RtSetProperty(w, 1, kPropAlertKeys, "5", 252);
    RtSetProperty(w, 1, kPropAlertKeys, std::to_string(kKeyDelete), 254);
    RtSetProperty(w, 1, kPropSelectedRow, "3");
    RtSelect(1);
    wintest::RunLoop(2);  // EVENT:OpenWindow, EVENT:GainFocus
  }
  void TearDown() override {
    RtDisposeWindow(w);
    RtExitAccept(0);
  }
};

TEST_F(BrowseList, KeysReportEventsWithoutMovingTheList) {
  struct Case {
    LONG code, ch;
    LONG event, field;
  } cases[] = {
      {kKeyUp, 0, kEventScrollUp, 1},
      {kKeyDown, 0, kEventScrollDown, 1},
      {kKeyPageUp, 0, kEventPageUp, 1},
      {kKeyPageDown, 0, kEventPageDown, 1},
      {kKeyHome, 0, kEventScrollTop, 1},
      {kKeyEnd, 0, kEventScrollBottom, 1},
      {kKeyCtrlPageUp, 0, kEventScrollTop, 1},
      {kKeyCtrlPageDown, 0, kEventScrollBottom, 1},
      {0x53, 's', kEventAlertKey, 1},              // a typed character
      {0x37, '7', kEventAlertKey, 1},
      {kKeyDelete, 0, kEventAlertKey, 1},          // an alert key of the list
      {kKeyEnter, 0, kEventAccepted, 3},           // the window's default button
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    ASSERT_EQ(ViewInput::Key(w.id, 0, c.code, c.ch), InputResult::kDone);
    ASSERT_TRUE(RtAccept());
    EXPECT_EQ(RtEvent(), c.event) << EventName(RtEvent());
    EXPECT_EQ(RtField(), c.field);
    if (c.field == 1) {
      EXPECT_EQ(RtKeyCode(), c.code);
      EXPECT_EQ(RtKeyChar(), c.ch);
    }
    EXPECT_EQ(RtChoice(1), 3) << "the selection stays where the program put it";
    RtEndAcceptPass(0);
  }
  EXPECT_EQ(ViewInput::Key(w.id, 1, kKeyF1, 0), InputResult::kNotApplicable);
  EXPECT_EQ(ViewInput::Key(w.id, 1, kKeyCtrlBit | 0x53, 's'), InputResult::kNotApplicable)
      << "Ctrl with a letter is no typed character";
}

TEST_F(BrowseList, ClicksSelectAndReportTheirButton) {
  struct Case {
    LONG row, button, clicks;
    std::vector<wintest::Seen> events;
    LONG keyCode;
  } cases[] = {
      {4, kKeyLeftMouse, 1, {{kEventNewSelection, 1}}, kKeyLeftMouse},
      {4, kKeyLeftMouse, 1, {{kEventNewSelection, 1}}, kKeyLeftMouse},  // the same row again
      {2, kKeyRightMouse, 1, {{kEventNewSelection, 1}}, kKeyRightMouse},
      {5, kKeyLeftMouse, 2, {{kEventNewSelection, 1}, {kEventAlertKey, 1}}, kKeyMouseLeft2},  // 5 is alerted
      {1, kKeyRightMouse, 2, {{kEventNewSelection, 1}}, kKeyMouseRight2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    ASSERT_EQ(ViewInput::Click(w.id, 1, c.row, c.button, c.clicks), InputResult::kDone);
    std::vector<wintest::Seen> seen;
    for (size_t i = 0; i < c.events.size(); ++i) {
      ASSERT_TRUE(RtAccept());
      seen.push_back({RtEvent(), RtField()});
      EXPECT_EQ(RtKeyCode(), c.keyCode);
      RtEndAcceptPass(0);
    }
    EXPECT_EQ(seen, c.events) << wintest::Describe(seen);
    EXPECT_EQ(RtChoice(1), c.row);
    EXPECT_EQ(RtGetProperty(w, 1, kPropSelectedRow), std::to_string(c.row));
  }
  // Below the rows: reported, the selection kept (an empty list's right click asks for the
  // popup menu this way).
  ASSERT_EQ(ViewInput::Click(w.id, 1, 0, kKeyRightMouse), InputResult::kDone);
  ASSERT_TRUE(RtAccept());
  EXPECT_EQ(RtEvent(), kEventNewSelection);
  EXPECT_EQ(RtKeyCode(), kKeyRightMouse);
  EXPECT_EQ(RtChoice(1), 1) << "the selection stays";
  RtEndAcceptPass(0);
  EXPECT_EQ(ViewInput::Click(w.id, 1, 6), InputResult::kBadValue) << "no sixth entry";
  EXPECT_EQ(ViewInput::Click(w.id, 1, -1), InputResult::kBadValue);
  EXPECT_EQ(ViewInput::Click(w.id, 1, 1, 3), InputResult::kBadValue) << "no such button";
  RtSetProperty(w, 1, kPropDisabled, "1");
  EXPECT_EQ(ViewInput::Click(w.id, 1, 1), InputResult::kDisabled);
}

TEST_F(BrowseList, ScrollBarAndThumbAreTheProgramsInImmediateMode) {
  const std::pair<ScrollPart, LONG> parts[] = {{ScrollPart::kLineUp, kEventScrollUp},
                                               {ScrollPart::kLineDown, kEventScrollDown},
                                               {ScrollPart::kPageUp, kEventPageUp},
                                               {ScrollPart::kPageDown, kEventPageDown}};
  for (const auto& [part, event] : parts) {
    ASSERT_EQ(ViewInput::Scroll(w.id, 1, part), InputResult::kDone);
    ASSERT_TRUE(RtAccept());
    EXPECT_EQ(RtEvent(), event);
    RtEndAcceptPass(0);
  }
  ASSERT_EQ(ViewInput::Thumb(w.id, 1, 37), InputResult::kDone);
  ASSERT_TRUE(RtAccept());
  EXPECT_EQ(RtEvent(), kEventScrollDrag);
  EXPECT_EQ(RtGetProperty(w, 1, kPropThumb), "37") << "set before the event is served";
  RtEndAcceptPass(0);
  EXPECT_EQ(ViewInput::Thumb(w.id, 1, 101), InputResult::kBadValue);

  PresentationState keep;
  RtSetProperty(w, 1, kPropThumb, "101");
  const ControlPresentation* c = Find(w, 1, keep);
  ASSERT_TRUE(c && c->list);
  EXPECT_EQ(c->list->thumb, 101);
  EXPECT_EQ(c->list->thumbDrawn, 100) << "past the last stop: drawn at the end";
  EXPECT_TRUE(c->list->vScroll);
  RtSetProperty(w, 1, kPropScrollBar, "0");
  EXPECT_EQ(RtGetProperty(w, 1, kPropScrollBar), "");
  c = Find(w, 1, keep);
  EXPECT_FALSE(c->list->vScroll);
}

TEST_F(BrowseList, RowsCellsAndColoursForTheViews) {
  EXPECT_EQ(RtGetProperty(w, 1, kPropVisibleRows), "11") << "124 high, less the header and the scroll bar, 9 a row";
  e.sysId = 6;
  e.normalFg = -1;  // the list's own colours
  e.normalBg = 0x0000FF;
  e.cusId = 2147483647;
  e.name = "Last";
  RtQueueAdd(queue);
  PresentationState keep;
  const ControlPresentation* c = Find(w, 1, keep);
  ASSERT_TRUE(c && c->list);
  const ListPresentation& l = *c->list;
  EXPECT_TRUE(l.immediate);
  EXPECT_TRUE(l.header);
  EXPECT_EQ(l.rowHeight, 9);
  EXPECT_EQ(l.headerHeight, 10);
  EXPECT_EQ(l.rowCount, 6);
  EXPECT_EQ(l.selectedRow, 3);
  EXPECT_EQ(l.selectedBackground, 0x800000u) << "#000080 as 00BBGGRR";
  ASSERT_EQ(l.columns.size(), 4u);
  EXPECT_EQ(l.columns[0].header, "Sys ID");
  EXPECT_EQ(l.columns[0].headerJustify, Justify::kCentre);
  EXPECT_TRUE(l.columns[0].colours);
  ASSERT_EQ(l.rows.size(), 6u) << "the whole page";
  EXPECT_TRUE(l.rows[2].selected);
  const auto texts = [&](size_t row) {
    std::vector<std::string> out;
    for (const auto& cell : l.rows[row].cells) out.push_back(cell.text);
    return out;
  };
  EXPECT_EQ(texts(0), (std::vector<std::string>{"1", "-100", "Name 1", ""})) << "day 0 is no date";
  EXPECT_EQ(texts(5), (std::vector<std::string>{"6", "2147483647", "Last", "01/01/1801"}));
  const ListCellPresentation& first = l.rows[0].cells[0];
  EXPECT_EQ(first.colour, 0xFFFFFFu);
  EXPECT_EQ(first.background, 0x808080u);
  EXPECT_EQ(first.selectedColour, kNoColour) << "-1: the list's own";
  EXPECT_EQ(first.selectedBackground, kNoColour);
  EXPECT_EQ(l.rows[5].cells[0].colour, kNoColour);
  EXPECT_EQ(l.rows[5].cells[0].background, 0x0000FFu);
  EXPECT_EQ(l.rows[0].cells[1].colour, kNoColour) << "a column without colours";

  EXPECT_EQ(ViewInput::ColumnWidth(w.id, 1, 2, 90), InputResult::kDone);
  c = Find(w, 1, keep);
  EXPECT_EQ(c->list->columns[1].width, 90);
  EXPECT_EQ(ViewInput::ColumnWidth(w.id, 1, 9, 90), InputResult::kBadValue);
}

// A list that is not in immediate mode scrolls through its queue itself.
class ScrollingList : public ::testing::Test {
 protected:
  LONG number = 0;
  STRING<20> name;
  RtQueue people{{"NUMBER", number}, {"NAME", name}};
  STRING<10> bare;
  RtQueue bareQueue{{"BARE", bare}};
  ProgramThreadScope main;
  WindowRef w;

  void SetUp() override {
    for (number = 1; number <= 300; ++number) {
      name = "Person " + std::to_string(number);
      RtQueueAdd(people);
    }
    bare = "only";
    RtQueueAdd(bareQueue);
    RtNewWindow(w, "wintest$controls", "SCROLLER", {people, bareQueue});
    RtOpenWindow(w);
    wintest::RunLoop(2);
  }
  void TearDown() override {
    RtDisposeWindow(w);
    RtExitAccept(0);
  }
  ListPresentation List(LONG field = 1) {
    PresentationState keep;
    const ControlPresentation* c = Find(w, field, keep);
    return c && c->list ? *c->list : ListPresentation{};
  }
};

TEST_F(ScrollingList, KeysMoveTheSelectionAndTheRowsFollow) {
  EXPECT_EQ(RtGetProperty(w, 1, kPropVisibleRows), "4");
  struct Case {
    LONG code;
    LONG selected, top;
    bool event;  // EVENT:NewSelection: the selection changed
  } cases[] = {
      {kKeyUp, 1, 1, false},  // at the top already
      {kKeyDown, 2, 1, true},
      {kKeyPageDown, 6, 3, true},
      {kKeyEnd, 300, 297, true},
      {kKeyDown, 300, 297, false},
      {kKeyPageUp, 296, 296, true},
      {kKeyCtrlPageUp, 1, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    ASSERT_EQ(ViewInput::Key(w.id, 1, c.code, 0), InputResult::kDone);
    EXPECT_EQ(RtChoice(1), c.selected);
    const ListPresentation l = List();
    EXPECT_EQ(l.topRow, c.top);
    ASSERT_EQ(l.rows.size(), 4u);
    EXPECT_EQ(l.rows[0].entry, c.top);
    if (c.event) {
      ASSERT_TRUE(RtAccept());
      EXPECT_EQ(RtEvent(), kEventNewSelection);
      RtEndAcceptPass(0);
    }
  }
  RtPost(kEventCloseWindow);
  ASSERT_TRUE(RtAccept());
  EXPECT_EQ(RtEvent(), kEventCloseWindow) << "no selection event was left over";
  RtEndAcceptPass(1);
  EXPECT_EQ(ViewInput::Key(w.id, 1, 0x41, 'a'), InputResult::kNotApplicable);
}

TEST_F(ScrollingList, TheScrollBarMovesTheRowsNotTheSelection) {
  ASSERT_EQ(ViewInput::Scroll(w.id, 1, ScrollPart::kPageDown), InputResult::kDone);
  ASSERT_EQ(ViewInput::Scroll(w.id, 1, ScrollPart::kLineDown), InputResult::kDone);
  ListPresentation l = List();
  EXPECT_EQ(l.topRow, 6);
  EXPECT_EQ(l.selectedRow, 1);
  EXPECT_TRUE(l.vScroll) << "more rows than it shows";
  ASSERT_EQ(ViewInput::Thumb(w.id, 1, 100), InputResult::kDone);
  l = List();
  EXPECT_EQ(l.topRow, 297);
  EXPECT_EQ(l.thumb, 100);
  ASSERT_EQ(ViewInput::Thumb(w.id, 1, 50), InputResult::kDone);
  EXPECT_EQ(List().topRow, 149);
  EXPECT_EQ(RtGetProperty(w, 1, kPropThumb), "50");
  // A program that selects a row far away brings it into view.
  RtSetProperty(w, 1, kPropSelectedRow, "20");
  l = List();
  EXPECT_EQ(l.topRow, 20);
  EXPECT_TRUE(l.rows.front().selected);
  EXPECT_EQ(l.rows.front().cells[1].text, "Person 20");
  // A list without a FORMAT shows its first field.
  const ListPresentation bareList = List(2);
  ASSERT_EQ(bareList.rows.size(), 1u);
  EXPECT_EQ(bareList.rows[0].cells.size(), 1u);
  EXPECT_EQ(bareList.rows[0].cells[0].text, "only");
  EXPECT_FALSE(bareList.vScroll);
}

}  // namespace
}  // namespace qx
