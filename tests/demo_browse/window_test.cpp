// The browse windows: what each shows as it opens, the colours of Encrypt's first column,
// resizing (never below the opening size; buttons keep their distance from the nearer
// edges, the list grows and is filled again at the selected record), and closing, which
// gives the thread's use of the file back.
#include <gtest/gtest.h>

#include <cmath>

#include "demo/use_counts.h"
#include "tests/demo_browse/browse_fixture.h"

namespace qx::testing {
namespace {

struct Look {
  const BrowseMember& (*member)();
  FileDecl* file;
  const char* title;
  LONG width, height;
  std::vector<std::string> headers;
  std::string note;
  size_t tabs;
  LONG insertX, closeX, closeY;
};

TEST_F(BrowseTest, EachBrowseWindowLooksAsDescribed) {
  const Look looks[] = {
      {&StandrdBrowse, &Standrd, "Browse Standard File", 358, 188, {"Cus ID", "Name", "Suburb"},
       "3 Fields and 3 Keys were deleted", 5, 207, 260, 170},
      {&EncryptBrowse, &Encrypt, "Browse Encrypted File", 358, 188,
       {"Sys ID", "Cus ID", "Name", "Suburb", "Phone", "Start Date"},
       "New Field (SysID) was created and populated and new Key  for the new field - added", 5, 207, 260, 170},
      {&VeryLongNameBrowse, &VeryLongName, "Browse Very-Long-Named File", 358, 198,
       {"Cus ID", "Name", "Suburb", "Phone", "Start Date", "New Field"}, "7 Keys were deleted", 8, 207, 260, 180},
      {&VarnameBrowse, &Varname, "Browse Named with Variable File", 234, 188, {"Cus ID", "Name", "Suburb"},
       "3 new Keys were added", 6, 81, 134, 170},
  };
  for (const Look& l : looks) {
    SCOPED_TRACE(l.title);
    Write(*l.file, Surnames());
    Open(l.member());
    const WindowPresentation w = Window();
    EXPECT_EQ(w.title, l.title);
    EXPECT_EQ(w.kind, "mdi");
    EXPECT_EQ(w.width, l.width);
    EXPECT_EQ(w.height, l.height);
    EXPECT_EQ(w.minWidth, l.width) << "never smaller than it opened";
    EXPECT_EQ(w.minHeight, l.height);
    EXPECT_EQ(w.x, 0) << "the frame's only child opens in its top-left corner";
    EXPECT_EQ(w.y, 0);
    std::vector<std::string> headers;
    for (const ListColumnPresentation& c : List().columns) headers.push_back(c.header);
    EXPECT_EQ(headers, l.headers);
    std::vector<LONG> alerts = Control(kBrowseListField).alertKeys;
    std::sort(alerts.begin(), alerts.end());
    EXPECT_EQ(alerts, (std::vector<LONG>{kKeyMouseLeft2, kKeyInsert, kKeyDelete, kKeyCtrlEnter}));
    EXPECT_EQ(Control(l.member().closeField).text, "Close");
    EXPECT_EQ(Control(l.member().closeField).at.x, l.closeX);
    EXPECT_EQ(Control(l.member().closeField).at.y, l.closeY);
    EXPECT_EQ(Control(l.member().helpField).standardAction, kStdContextHelp);
    EXPECT_EQ(Control(kInsertButtonField).at.x, l.insertX);
    EXPECT_TRUE(Control(kChangeButtonField).isDefault);
    EXPECT_EQ(Control(l.member().sheetField).sheet->tabs.size(), l.tabs);
    bool noteFound = false;
    for (const ControlPresentation& c : w.controls) noteFound = noteFound || (c.name == "NoteText" && c.text == l.note);
    EXPECT_TRUE(noteFound);
    EXPECT_EQ(List().rowCount, List().visibleRows) << "one page";
    browse_->Finish();
    browse_.reset();
  }
}

TEST_F(BrowseTest, EncryptsFirstColumnIsWhiteOnGrey) {
  Write(Encrypt, Surnames());
  Open(EncryptBrowse());
  ASSERT_FALSE(List().rows.empty());
  for (const ListRowPresentation& r : List().rows) {
    EXPECT_EQ(r.cells[0].colour, 0xFFFFFFu);
    EXPECT_EQ(r.cells[0].background, 0x808080u);
    EXPECT_EQ(r.cells[0].selectedColour, kNoColour) << "the list's own colours when selected";
    EXPECT_EQ(r.cells[0].selectedBackground, kNoColour);
    EXPECT_EQ(r.cells[1].background, kNoColour) << "only the first column has colours";
  }
}

TEST_F(BrowseTest, ResizingMovesTheButtonsGrowsTheListAndRefillsItAtTheSelectedRecord) {
  Write(Standrd, Surnames());
  Open(StandrdBrowse());
  Pick(5);
  ASSERT_EQ(SelectedCell(1), "Brown");
  const LONG rowsBefore = List().visibleRows;
  Input(ViewInput::Resize(WindowId(), 500, 300));
  EXPECT_EQ(Window().width, 500);
  EXPECT_EQ(Control(12).at.x, 500 - (358 - 260)) << "Close keeps its distance from the right edge";
  EXPECT_EQ(Control(12).at.y, 300 - (188 - 170)) << "and from the bottom edge";
  EXPECT_EQ(Control(12).at.width, 45);
  EXPECT_EQ(Control(kInsertButtonField).at.x, 500 - (358 - 207));
  EXPECT_EQ(Control(kBrowseListField).at.width, std::lround(342.0 * 500 / 358)) << "the list in proportion";
  ASSERT_GT(List().visibleRows, rowsBefore);
  EXPECT_EQ(List().rowCount, List().visibleRows) << "the page is filled to the new height";
  EXPECT_EQ(Column(1).at(0), "Brown") << "rebuilt at the selected record";
  EXPECT_EQ(SelectedCell(1), "Brown");
  Key(kKeyPageDown);
  EXPECT_EQ(List().rowCount, List().visibleRows);

  Input(ViewInput::Resize(WindowId(), 100, 100));
  EXPECT_EQ(Window().width, 358) << "never below the opening size";
  EXPECT_EQ(Window().height, 188);
  EXPECT_EQ(Control(12).at.x, 260);
  EXPECT_EQ(List().visibleRows, rowsBefore);
  EXPECT_EQ(List().rowCount, rowsBefore);
}

TEST_F(BrowseTest, VarnamesInsertButtonKeepsItsDistanceFromTheLeftEdge) {
  Write(Varname, Surnames());
  Open(VarnameBrowse());
  Input(ViewInput::Resize(WindowId(), 400, 250));
  EXPECT_EQ(Control(kInsertButtonField).at.x, 81);
  EXPECT_EQ(Control(kInsertButtonField).at.y, 250 - (188 - 148));
  EXPECT_EQ(Control(kChangeButtonField).at.x, 400 - (234 - 130));
}

TEST_F(BrowseTest, ClosingGivesTheFileBack) {
  Write(Standrd, Surnames());
  struct Case {
    const char* what;
    std::function<void()> close;
  } cases[] = {
      {"the Close button", [&] { Press(12); }},
      {"the close box", [&] { Input(ViewInput::Close(WindowId())); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Open(StandrdBrowse());
    EXPECT_EQ(StandrdUseCount, 1);
    c.close();
    EXPECT_EQ(WindowId(), 0);
    EXPECT_EQ(browse_->ServeEvent(), 0) << "the loop has ended";
    browse_->Finish();
    browse_.reset();
    EXPECT_EQ(StandrdUseCount, 0);
    OPEN(Standrd, 0x42);
    EXPECT_EQ(RtErrorCode(), 0) << "this thread's instance was closed";
    CLOSE(Standrd);
  }
}

TEST_F(BrowseTest, AFileOpenedBeforeTheBrowseStaysOpenAfterIt) {
  Write(Standrd, Surnames());
  OPEN(Standrd, 0x42);
  StandrdUseCount = 1;  // another procedure of this thread uses the file
  Open(StandrdBrowse());
  EXPECT_EQ(StandrdUseCount, 2);
  Press(12);
  browse_->Finish();
  browse_.reset();
  EXPECT_EQ(StandrdUseCount, 1);
  OPEN(Standrd, 0x42);
  EXPECT_EQ(RtErrorCode(), kFileAlreadyOpen);
  CLOSE(Standrd);
}

}  // namespace
}  // namespace qx::testing
