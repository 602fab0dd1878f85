// Paging a browse: the list keys and the scroll bar to pages and selections, the thumb
// derived from the selected record's key through the stops and a dropped thumb turned into
// a page, the three-position thumb of an order without stops, a file shorter than a page
// and an empty file.
#include <gtest/gtest.h>

#include "demo/scroll_bar_stops.h"
#include "runtime/text/strings.h"
#include "tests/demo_browse/browse_fixture.h"

namespace qx::testing {
namespace {

constexpr size_t kNameColumn = 1;  // Standrd: Cus ID, Name, Suburb
constexpr LONG kRows = 11;         // the rows the Standrd list shows

// The 100 text stops the browse's generator gives for the range low to high, and the thumb
// position of a value: the first stop at or above it (0 for the first, 101 for none).
struct TextStopsOracle {
  std::vector<std::string> stops;
  TextStopsOracle(const std::string& low, const std::string& high) {
    InitTextStops(STRING<20>(low).view(), STRING<20>(high).view(), 20, kStopUpperLetters, 0);
    for (int i = 0; i < 100; ++i) stops.push_back(STRING<20>(NextTextStop()).str());
  }
  LONG ThumbFor(const std::string& value) const {
    const std::string upper = RtUpper(STRING<20>(value).view());
    for (size_t i = 0; i < stops.size(); ++i) {
      if (RtCompareStrings(stops[i], upper) >= 0) return i == 0 ? 0 : static_cast<LONG>(i + 1);
    }
    return 101;
  }
  // The first of `sorted` at or above stop t (1-based).
  size_t FirstAtStop(const std::vector<std::string>& sorted, int t) const {
    for (size_t i = 0; i < sorted.size(); ++i) {
      if (RtCompareStrings(RtUpper(STRING<20>(sorted[i]).view()), stops[static_cast<size_t>(t - 1)]) >= 0) return i;
    }
    return sorted.size();
  }
};

class Paging : public BrowseTest {
 protected:
  void SetUp() override {
    Write(Standrd, Surnames());
    names = NamesBy(Surnames(), [](const Customer& a, const Customer& b) { return a.name < b.name; });
    Open(StandrdBrowse());
  }
  // The page shows names top .. top + 10, row `selected` highlighted and in the record
  // buffer, the thumb placed for it, and no read-ahead left on.
  void ExpectPage(size_t top, LONG selected, const TextStopsOracle& stops) {
    EXPECT_EQ(Column(kNameColumn), Slice(names, top, kRows));
    EXPECT_EQ(List().selectedRow, selected);
    const std::string name = names.at(top + static_cast<size_t>(selected) - 1);
    EXPECT_EQ(std::string(STD().NAME.clipped()), name) << "the record buffer holds the selected row";
    EXPECT_EQ(List().thumb, stops.ThumbFor(name));
    EXPECT_TRUE(List().vScroll);
    EXPECT_EQ(SEND(Standrd, "QUICKSCAN"), "off");
  }
  std::vector<std::string> names;
};

TEST_F(Paging, KeysAndTheScrollBarMoveTheSelectionAndThePage) {
  const TextStopsOracle stops("Adams", "Zane");
  ExpectPage(0, 1, stops);
  struct Step {
    const char* what;
    std::function<void()> act;
    int times;
    size_t top;
    LONG selected;
  } steps[] = {
      {"Down within the page reads nothing", [&] { Key(kKeyDown); }, 10, 0, 11},
      {"Down on the bottom row scrolls by one", [&] { Key(kKeyDown); }, 1, 1, 11},
      {"PageDown with a page below", [&] { Key(kKeyPageDown); }, 1, 12, 11},
      {"PageDown again", [&] { Key(kKeyPageDown); }, 1, 23, 11},
      {"PageDown with six rows below", [&] { Key(kKeyPageDown); }, 1, 29, 11},
      {"PageDown at the end", [&] { Key(kKeyPageDown); }, 1, 29, 11},
      {"Down at the end", [&] { Key(kKeyDown); }, 1, 29, 11},
      {"Home", [&] { Key(kKeyHome); }, 1, 0, 1},
      {"Up at the start", [&] { Key(kKeyUp); }, 1, 0, 1},
      {"Ctrl+PageDown", [&] { Key(kKeyCtrlPageDown); }, 1, 29, 11},
      {"PageUp", [&] { Key(kKeyPageUp); }, 1, 18, 11},
      {"Up within the page", [&] { Key(kKeyUp); }, 3, 18, 8},
      {"PageUp keeps the screen row", [&] { Key(kKeyPageUp); }, 1, 7, 8},
      {"PageUp with seven rows above", [&] { Key(kKeyPageUp); }, 1, 0, 4},
      {"PageUp at the start", [&] { Key(kKeyPageUp); }, 1, 0, 1},
      {"the scroll bar's down arrow",
       [&] { Input(ViewInput::Scroll(WindowId(), kBrowseListField, ScrollPart::kLineDown)); }, 1, 0, 2},
      {"the shaft below the thumb",
       [&] { Input(ViewInput::Scroll(WindowId(), kBrowseListField, ScrollPart::kPageDown)); }, 1, 11, 2},
      {"the up arrow", [&] { Input(ViewInput::Scroll(WindowId(), kBrowseListField, ScrollPart::kLineUp)); }, 1, 11, 1},
      {"the shaft above the thumb",
       [&] { Input(ViewInput::Scroll(WindowId(), kBrowseListField, ScrollPart::kPageUp)); }, 1, 0, 1},
      {"Ctrl+PageUp after End", [&] { Key(kKeyEnd); Key(kKeyCtrlPageUp); }, 1, 0, 1},
      {"a click on a row", [&] { Pick(6); }, 1, 0, 6},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    for (int i = 0; i < s.times; ++i) s.act();
    ExpectPage(s.top, s.selected, stops);
  }
}

TEST_F(Paging, ADroppedThumbShowsThePageAtItsStop) {
  const TextStopsOracle stops("Adams", "Zane");
  const size_t lastTop = names.size() - kRows;
  for (int t : {0, 1, 2, 37, 50, 99, 100}) {
    SCOPED_TRACE(t);
    Key(kKeyPageDown);  // somewhere else first
    Thumb(t);
    size_t top = 0;
    LONG selected = 1;
    if (t == 100) {
      top = lastTop;
      selected = kRows;
    } else if (t > 1) {
      // The first record at or after the stop, at the top of the page unless the file
      // ends first; then the last page with that record selected.
      const size_t located = stops.FirstAtStop(names, t);
      top = std::min(located, lastTop);
      selected = static_cast<LONG>(located - top) + 1;
    }
    ExpectPage(top, selected, stops);
  }
}

TEST_F(BrowseTest, ARecordAboveTheLastStopGetsThumb101) {
  std::vector<Customer> customers = Surnames();
  customers.back().name = "Zanetti";  // the last stop keeps four letters: ZANE
  Write(Standrd, customers);
  Open(StandrdBrowse());
  Key(kKeyEnd);
  EXPECT_EQ(SelectedCell(kNameColumn), "Zanetti");
  EXPECT_EQ(List().thumb, 101);
  Key(kKeyUp);
  EXPECT_EQ(SelectedCell(kNameColumn), "Young");
  EXPECT_EQ(List().thumb, TextStopsOracle("Adams", "Zanetti").ThumbFor("Young"));
}

// Encrypt's "By Name" tab reads by SysID and has no stops: its thumb stands at 0, 50 or
// 100, at an end only when the most recent read of the page met that end of the file.
TEST_F(BrowseTest, WithoutStopsTheThumbShowsTheEndTheLastReadMet) {
  Write(Encrypt, Surnames());
  Open(EncryptBrowse());
  PickTab(5, 2);  // "By Name"
  const std::vector<std::string> bySysId =
      NamesBy(Surnames(), [](const Customer& a, const Customer& b) { return a.sysid < b.sysid; });
  ASSERT_EQ(Column(2), Slice(bySysId, 0, kRows));
  struct Step {
    const char* what;
    LONG key;
    int times;
    LONG thumb;
  } steps[] = {
      {"PageDown in the middle", kKeyPageDown, 1, 50},
      {"End reads a whole page", kKeyEnd, 1, 50},
      {"PageDown meets the end", kKeyPageDown, 1, 100},
      {"Up after meeting the end reads nothing", kKeyUp, 1, 100},
      {"Home reads a whole page", kKeyHome, 1, 50},
      {"Up meets the start", kKeyUp, 1, 0},
      {"Down to the second page row by row", kKeyDown, 11, 50},
      {"PageUp meets the start", kKeyPageUp, 1, 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    for (int i = 0; i < s.times; ++i) Key(s.key);
    EXPECT_EQ(List().thumb, s.thumb);
  }
  // A dropped thumb between the ends changes nothing; at either end it shows that page.
  Key(kKeyPageDown);
  const std::vector<std::string> before = Column(2);
  const LONG selected = List().selectedRow;
  Thumb(50);
  EXPECT_EQ(Column(2), before);
  EXPECT_EQ(List().selectedRow, selected);
  Thumb(100);
  EXPECT_EQ(Column(2), Slice(bySysId, bySysId.size() - kRows, kRows));
  Thumb(0);
  EXPECT_EQ(Column(2), Slice(bySysId, 0, kRows));
}

TEST_F(BrowseTest, AFileShorterThanAPageHidesTheScrollBar) {
  std::vector<Customer> customers = Surnames();
  customers.resize(5);
  Write(Standrd, customers);
  Open(StandrdBrowse());
  EXPECT_EQ(Column(kNameColumn), std::vector<std::string>({"Adams", "Allen", "Baker", "Bell", "Brown"}));
  EXPECT_FALSE(List().vScroll);
  Key(kKeyPageDown);
  EXPECT_EQ(List().selectedRow, 5) << "PageDown moves the selection to the last row";
  EXPECT_EQ(List().thumb, 0);
  Key(kKeyDown);
  EXPECT_EQ(List().selectedRow, 5);
  EXPECT_EQ(std::string(STD().NAME.clipped()), "Brown");
  Key(kKeyPageUp);
  EXPECT_EQ(List().selectedRow, 1);
  EXPECT_EQ(Column(kNameColumn).size(), 5u);
}

TEST_F(BrowseTest, AMissingFileIsCreatedAndBrowsedEmpty) {
  STD().CUSID = 77;
  STD().NAME = "left over";
  Open(StandrdBrowse());
  EXPECT_TRUE(std::filesystem::exists(dir_ / "STANDRD.TPS"));
  EXPECT_EQ(List().rowCount, 0);
  EXPECT_EQ(List().selectedRow, 0);
  EXPECT_TRUE(Control(kChangeButtonField).disabled);
  EXPECT_TRUE(Control(kDeleteButtonField).disabled);
  EXPECT_FALSE(Control(kInsertButtonField).disabled);
  EXPECT_EQ(STD().CUSID, 0) << "the record buffer is cleared";
  EXPECT_TRUE(STD().NAME.blank());
  for (LONG key : {kKeyDown, kKeyPageDown, kKeyEnd, kKeyHome}) Key(key);
  Type('A');
  Thumb(50);
  EXPECT_EQ(List().rowCount, 0);
  EXPECT_TRUE(StandInCalls().empty());
  Key(kKeyInsert);
  ASSERT_EQ(StandInCalls().size(), 1u) << "the Insert key still asks for a new record";
  EXPECT_EQ(StandInCalls()[0].request, 1);
}

}  // namespace
}  // namespace qx::testing
