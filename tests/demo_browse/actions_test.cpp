// The three actions of a browse and the request protocol with the update form (here the
// stand-ins): what the form is handed, where the page stands afterwards, the refill after a
// delete, records another opener changed or deleted meanwhile, the list's alert keys and
// popup menu, and a read that fails.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "tests/demo_browse/browse_fixture.h"

namespace qx::testing {
namespace {

constexpr size_t kName = 1;  // the Name column of Standrd's list

class Actions : public BrowseTest {
 protected:
  void SetUp() override {
    Write(Standrd, Surnames());
    names = NamesBy(Surnames(), [](const Customer& a, const Customer& b) { return a.name < b.name; });
    Open(StandrdBrowse());
  }
  // Records of the file as another reader sees them, in name order.
  std::vector<std::string> FileNames() {
    std::vector<std::string> out;
    OtherOpener reader;
    reader.Do([&] {
      OPEN(Standrd, 0x42);
      SETkey(STD_ByName);
      for (NEXT(Standrd); RtErrorCode() == 0; NEXT(Standrd)) out.emplace_back(STD().NAME.clipped());
      CLOSE(Standrd);
    });
    return out;
  }
  std::vector<std::string> names;
};

TEST_F(Actions, InsertHandsTheFormAClearedBufferAndNoCurrentRecord) {
  SetStandInEdit([](FileDecl&, LONG) {
    STD().CUSID = 500;
    STD().NAME = "Mitchell";
    STD().SUBURB = "New";
  });
  Pick(4);
  view_.AnswerBoxes({kButtonYes});
  Press(kInsertButtonField);
  ASSERT_EQ(StandInCalls().size(), 1u);
  const StandInCall& call = StandInCalls()[0];
  EXPECT_EQ(call.form, "UpdateStandrd");
  EXPECT_EQ(call.request, 1);
  EXPECT_EQ(call.navigation, 0);
  EXPECT_EQ(call.requestAfterEntry, 0);
  std::string cleared(44, ' ');
  std::memset(cleared.data(), 0, 4);
  EXPECT_EQ(call.buffer, cleared);
  EXPECT_EQ(call.currentPosition, "") << "the file has no current record";
  EXPECT_EQ(call.writeCode, 0);
  // The new record is the selected row, at the top of the page at its place in the order.
  EXPECT_EQ(SelectedCell(kName), "Mitchell");
  EXPECT_EQ(List().selectedRow, 1);
  EXPECT_EQ(Column(kName).at(1), "Moore");
  EXPECT_EQ(std::string(STD().NAME.clipped()), "Mitchell");
  EXPECT_EQ(FileNames().size(), 41u);
}

TEST_F(Actions, ChangeHandsTheFormTheSelectedRecordAsStoredAndShowsItAtItsNewPlace) {
  SetStandInEdit([](FileDecl&, LONG) { STD().NAME = "Yates"; });
  Pick(6);
  ASSERT_EQ(SelectedCell(kName), "Clark");
  const LONG clarkId = STD().CUSID;
  STD().SUBURB = "not as stored";  // the action reads the record again first
  view_.AnswerBoxes({kButtonYes});
  Press(kChangeButtonField);
  ASSERT_EQ(StandInCalls().size(), 1u);
  const StandInCall& call = StandInCalls()[0];
  EXPECT_EQ(call.request, 2);
  EXPECT_EQ(call.navigation, 0);
  StandrdRecord seen;
  std::memcpy(&seen, call.buffer.data(), sizeof seen);
  EXPECT_EQ(seen.CUSID, clarkId);
  EXPECT_EQ(std::string(seen.NAME.clipped()), "Clark");
  EXPECT_EQ(std::string(seen.SUBURB.clipped()), "Suburb U") << "the record as stored";
  EXPECT_NE(call.currentPosition, "") << "the selected record is the file's current record";
  EXPECT_EQ(SelectedCell(kName), "Yates");
  EXPECT_EQ(Column(kName).back(), "Zane") << "Yates near the end: the last page";
  const std::vector<std::string> stored = FileNames();
  EXPECT_EQ(std::count(stored.begin(), stored.end(), "Clark"), 0);
  EXPECT_EQ(std::count(stored.begin(), stored.end(), "Yates"), 1);
}

TEST_F(Actions, ACancelledInsertOrChangeLeavesThePageAndTheSelection) {
  Key(kKeyPageDown);
  Key(kKeyUp);
  const std::vector<std::string> page = Column(kName);
  const LONG selected = List().selectedRow;
  for (LONG button : {kInsertButtonField, kChangeButtonField}) {
    SCOPED_TRACE(button);
    view_.AnswerBoxes({kButtonNo});
    Press(button);
    EXPECT_EQ(Column(kName), page);
    EXPECT_EQ(List().selectedRow, selected);
    EXPECT_EQ(std::string(STD().NAME.clipped()), page.at(static_cast<size_t>(selected) - 1));
  }
  EXPECT_EQ(StandInCalls().size(), 2u);
  EXPECT_EQ(FileNames(), names);
}

TEST_F(Actions, AChangeOfARecordAnotherOpenerChangedMeanwhileIsRefused) {
  OtherOpener other;
  ASSERT_EQ(other.Do([] { OPEN(Standrd, 0x42); }), 0);
  SetStandInEdit([&](FileDecl&, LONG) {
    // While the form is open, another station changes the same record.
    EXPECT_EQ(other.Do([] {
      STD().NAME = "Baker";
      SETkeykey(STD_ByName, STD_ByName);
      NEXT(Standrd);
      STD().SUBURB = "Elsewhere";
      PUT(Standrd);
    }),
              0);
    STD().NAME = "Mine";
  });
  Pick(3);
  ASSERT_EQ(SelectedCell(kName), "Baker");
  view_.AnswerBoxes({kButtonYes});
  Press(kChangeButtonField);
  ASSERT_EQ(StandInCalls().size(), 1u);
  EXPECT_EQ(StandInCalls()[0].writeCode, kRecordChanged) << "the browse had the record watched";
  EXPECT_EQ(SelectedCell(kName), "Baker");
  EXPECT_EQ(SelectedCell(2), "Elsewhere") << "the page is rebuilt from the file";
  other.Do([] { CLOSE(Standrd); });
}

TEST_F(Actions, DeleteSelectsTheRowThatTookItsPlaceOrTheNewLastRow) {
  struct Case {
    const char* what;
    std::function<void()> select;
    LONG answer;
    std::string deleted;          // "" when nothing is deleted
    std::string selectedAfter;
    std::string lastShownAfter;
  } cases[] = {
      {"a row in the middle", [&] { Key(kKeyHome); Pick(3); }, kButtonYes, "Baker", "Bell", "Fox"},
      {"the first row", [&] { Key(kKeyHome); }, kButtonYes, "Adams", "Allen", "Gray"},
      {"the last record", [&] { Key(kKeyEnd); }, kButtonYes, "Zane", "Young", "Young"},
      {"cancelled", [&] { Key(kKeyHome); Pick(5); }, kButtonNo, "", "Cole", "Gray"},
  };
  std::vector<std::string> expected = names;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.select();
    view_.AnswerBoxes({c.answer});
    Press(kDeleteButtonField);
    ASSERT_EQ(StandInCalls().back().request, 3);
    if (!c.deleted.empty()) expected.erase(std::find(expected.begin(), expected.end(), c.deleted));
    EXPECT_EQ(FileNames(), expected);
    EXPECT_EQ(SelectedCell(kName), c.selectedAfter);
    EXPECT_EQ(std::string(STD().NAME.clipped()), c.selectedAfter);
    EXPECT_EQ(Column(kName).back(), c.lastShownAfter);
    EXPECT_EQ(Column(kName).size(), 11u) << "the page stays full";
  }
}

TEST_F(BrowseTest, DeletingTheOnlyRecordEmptiesTheList) {
  Write(Standrd, {Surnames()[0]});
  Open(StandrdBrowse());
  view_.AnswerBoxes({kButtonYes});
  Press(kDeleteButtonField);
  EXPECT_EQ(List().rowCount, 0);
  EXPECT_EQ(List().selectedRow, 0);
  EXPECT_TRUE(Control(kChangeButtonField).disabled);
  EXPECT_TRUE(Control(kDeleteButtonField).disabled);
  EXPECT_EQ(STD().CUSID, 0);
  EXPECT_TRUE(STD().NAME.blank());
}

TEST_F(Actions, ASelectedRecordDeletedByAnotherOpenerLeavesTheLastRowSelected) {
  Pick(4);
  ASSERT_EQ(SelectedCell(kName), "Bell");
  OtherOpener other;
  ASSERT_EQ(other.Do([] {
    OPEN(Standrd, 0x42);
    STD().NAME = "Bell";
    SETkeykey(STD_ByName, STD_ByName);
    NEXT(Standrd);
    DELETE(Standrd);
    CLOSE(Standrd);
  }),
            0);
  view_.AnswerBoxes({kButtonNo});
  Press(kChangeButtonField);  // cancelled: the page is rebuilt where it stood
  std::vector<std::string> rest = names;
  rest.erase(rest.begin() + 3);
  EXPECT_EQ(Column(kName), Slice(rest, 0, 11));
  EXPECT_EQ(List().selectedRow, 11) << "the selected record is gone";
}

TEST_F(Actions, ScrollingPastABottomRowAnotherOpenerDeletedLosesNoRecord) {
  OtherOpener other;
  ASSERT_EQ(other.Do([&] {
    OPEN(Standrd, 0x42);
    STD().NAME = names[10];  // the bottom row of the first page
    SETkeykey(STD_ByName, STD_ByName);
    NEXT(Standrd);
    DELETE(Standrd);
    CLOSE(Standrd);
  }),
            0);
  for (int i = 0; i < 11; ++i) Key(kKeyDown);
  // The vanished row stays until the page is rebuilt; the record after it comes next.
  EXPECT_EQ(Column(kName), Slice(names, 1, 11));
  EXPECT_EQ(SelectedCell(kName), names[11]);
}

TEST_F(Actions, AlertKeysAndThePopupMenuRequestTheActions) {
  struct Case {
    const char* what;
    std::function<void()> act;
    LONG request;  // 0: no form is called
  } cases[] = {
      {"double click", [&] { Pick(2); Input(ViewInput::Click(WindowId(), kBrowseListField, 2, kKeyLeftMouse, 2)); }, 2},
      {"Ctrl+Enter", [&] { Key(kKeyCtrlEnter); }, 2},
      {"Delete key", [&] { Key(kKeyDelete); }, 3},
      {"Insert key", [&] { Key(kKeyInsert); }, 1},
      {"Enter, the default button", [&] { Key(kKeyEnter); }, 2},
      {"popup: Insert", [&] { view_.AnswerPopups({1}); RightClick(2); }, 1},
      {"popup: Change", [&] { view_.AnswerPopups({2}); RightClick(2); }, 2},
      {"popup: Delete", [&] { view_.AnswerPopups({3}); RightClick(2); }, 3},
      {"popup dismissed", [&] { view_.AnswerPopups({0}); RightClick(2); }, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StandInCalls().clear();
    view_.TakePopups();
    c.act();  // every form call is cancelled: the answers default to No
    if (c.request == 0) {
      EXPECT_TRUE(StandInCalls().empty());
    } else {
      ASSERT_EQ(StandInCalls().size(), 1u);
      EXPECT_EQ(StandInCalls()[0].request, c.request);
      StandrdRecord seen;
      std::memcpy(&seen, StandInCalls()[0].buffer.data(), sizeof seen);
      if (c.request != 1) {
        EXPECT_EQ(std::string(seen.NAME.clipped()), SelectedCell(kName));
      }
    }
  }
  view_.TakePopups();
  RightClick(3);
  const std::vector<PopupPresentation> popups = view_.TakePopups();
  ASSERT_EQ(popups.size(), 1u) << "one popup for one right click";
  ASSERT_EQ(popups[0].items.size(), 3u);
  EXPECT_EQ(popups[0].items[0].text, "&Insert");
  EXPECT_EQ(popups[0].items[1].text, "&Change");
  EXPECT_EQ(popups[0].items[2].text, "&Delete");
  for (const auto& item : popups[0].items) EXPECT_FALSE(item.greyed);
  EXPECT_EQ(SelectedCell(kName), "Baker") << "the right click selected its row";
}

TEST_F(BrowseTest, OnAnEmptyListThePopupMenuOffersOnlyInsert) {
  Open(StandrdBrowse());
  // The list reports no click below its rows; a right click that is still the last key
  // code when EVENT:NewSelection is served takes the same path.
  RtSetKeyCode(kKeyRightMouse);
  view_.AnswerPopups({1});
  RtPost(kEventNewSelection, kBrowseListField, 0, 0);
  Settle();
  const std::vector<PopupPresentation> popups = view_.TakePopups();
  ASSERT_EQ(popups.size(), 1u);
  ASSERT_EQ(popups[0].items.size(), 3u);
  EXPECT_FALSE(popups[0].items[0].greyed);
  EXPECT_TRUE(popups[0].items[1].greyed);
  EXPECT_TRUE(popups[0].items[2].greyed);
  ASSERT_EQ(StandInCalls().size(), 1u);
  EXPECT_EQ(StandInCalls()[0].request, 1);
}

TEST_F(BrowseTest, ABrowseStartedAfterARightClickShowsNoPopupMenu) {
  Write(Standrd, Surnames());
  RtSetKeyCode(kKeyRightMouse);
  Open(StandrdBrowse());
  EXPECT_TRUE(view_.TakePopups().empty());
  EXPECT_EQ(Column(kName).at(0), "Adams");
}

// Damages the data file under its openers: every page after the first becomes junk, and
// the change counter moves on, so that no opener trusts what it has cached.
void DamageFile(const std::string& path) {
  std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
  ASSERT_TRUE(f.is_open());
  unsigned char header[100];
  f.read(reinterpret_cast<char*>(header), sizeof header);
  size_t page = (size_t{header[16]} << 8) | header[17];
  if (page == 1) page = 65536;
  f.seekg(0, std::ios::end);
  const size_t size = static_cast<size_t>(f.tellg());
  ASSERT_GT(size, page);
  for (int i = 27; i >= 24 && ++header[i] == 0; --i) {
  }
  f.seekp(24);
  f.write(reinterpret_cast<const char*>(header + 24), 4);
  const std::string junk(size - page, '\xA5');
  f.seekp(static_cast<std::streamoff>(page));
  f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
}

TEST_F(Actions, AReadThatFailsIsReportedAndClosesTheBrowse) {
  DamageFile(dir_ / "STANDRD.TPS");
  Key(kKeyPageDown);
  const std::vector<Box> boxes = view_.TakeBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Record Retrieval Error");
  EXPECT_NE(boxes[0].text.find("record from the Standrd file"), std::string::npos) << boxes[0].text;
  EXPECT_EQ(WindowId(), 0) << "the browse window closed";
}

}  // namespace
}  // namespace qx::testing
