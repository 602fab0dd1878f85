// qxmora's browse family: one procedure that shows a data file one page at a time in a
// list inside an MDI child window, lets the person choose the order on a sheet of tabs,
// pages, scrolls, drags the thumb through 100 scroll-bar stops, locates by a typed
// character, and hands Insert, Change and Delete to the file's update form.
//
// The four browses (BrowseStandrd, BrowseEncrypt, BrowseVeryLongName, BrowseVarname;
// demo/browses.h) are this one algorithm with the data of a member table: file, window
// description, queue fields, sort orders with their keys, locator fields and stops, and
// the update form.
//
// Paging invariants: BrowseQueue holds the rows of one page (at most PropVisibleRows of
// the list), entry 1 the top row; each entry carries the view position of its record
// (BRW1::POSITION), and every read continues from a row already shown (RESET to its
// position), so nothing ever counts records. Between events the file's record buffer holds
// the selected row, or zeros and blanks when the list is empty.
//
// Threads: a browse runs on a program thread of its own and works on that thread's
// instance of its file, its record buffer, its use count and request globals; its update
// form runs on the same thread, called directly.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "runtime/store/file.h"
#include "runtime/store/view.h"
#include "runtime/text/types.h"
#include "runtime/win/queue.h"
#include "runtime/win/resize.h"
#include "runtime/win/windows.h"

namespace qx {

// ---- Member tables -------------------------------------------------------------------

// How a sort order places the thumb: from the locator field's value through a table of
// 100 stops, or (none) at 0, 50 or 100 as the last fill met an end of the file.
enum class BrowseStops { kNone, kNumber, kText };

struct BrowseSortOrder {
  Key* key = nullptr;               // the order's key; nullptr = record order (SETfile)
  std::string locator;              // the key's first component ("STD:NAME"); "" = none
  BrowseStops stops = BrowseStops::kNone;
  std::vector<std::string> cleared; // further key components blanked before a locate
};

struct BrowseMember {
  std::string procedure;            // "BrowseStandrd": the name, for reports
  FileDecl* file = nullptr;
  std::string module;               // window description "qxmora$qxd002", label P1$QUICKWINDOW
  LONG& (*useCount)() = nullptr;    // this thread's use count of the file
  void (*updateForm)() = nullptr;   // the file's update form
  // The file fields the queue entry holds, in entry (and list column) order.
  std::vector<std::string> entryFields;
  // The first column carries colours of its own: four LONGs after the first entry field.
  bool colouredFirstColumn = false;
  // SortOrder n is orders[n - 1]. The sheet's first tab selects the highest order, tab k
  // (k from 2) order k - 1; a member that does not read the sheet always has order 1.
  std::vector<BrowseSortOrder> orders;
  bool readsSheet = true;
  LONG sheetField = 6, closeField = 12, helpField = 13;
};

// The four members. Their tables are built on first use (after the declarations exist).
const BrowseMember& StandrdBrowse();
const BrowseMember& EncryptBrowse();
const BrowseMember& VeryLongNameBrowse();
const BrowseMember& VarnameBrowse();

// Field numbers every member's window shares.
constexpr LONG kBrowseListField = 1, kInsertButtonField = 2, kChangeButtonField = 3, kDeleteButtonField = 4;
// The window label of every browse description.
inline constexpr const char* kBrowseWindowLabel = "P1$QUICKWINDOW";

// ---- The procedure -------------------------------------------------------------------

// One activation of a browse: its locals and routines. Run() is the whole procedure; the
// steps are public so that a browse can also be driven in-process one event at a time
// (tests, the benchmark):
//   BrowseProcedure b(StandrdBrowse());
//   b.Start();                    // window built, file opened, window opened
//   while (b.ServeEvent() != 0) { ... }
//   b.Finish();                   // file use given back, window closed and destroyed
// Must run on one program thread, the one that made it. Not copyable.
class BrowseProcedure {
 public:
  explicit BrowseProcedure(const BrowseMember& member);
  // Destroys the window if Finish did not (a procedure left by an exception).
  ~BrowseProcedure();
  BrowseProcedure(const BrowseProcedure&) = delete;
  BrowseProcedure& operator=(const BrowseProcedure&) = delete;

  // Start, the event loop, and the end steps.
  void Run();
  // Builds the window, opens the bind scope, forgets a pending right-click key code and
  // prepares (opens the file when this thread's use count is 0, opens the window). A file
  // that cannot be opened ends the program (OpenDataFile).
  void Start();
  // Serves the next event of the browse window (waiting for one): one pass of the loop.
  // Returns the event's number, 0 when the loop has ended (the window closed).
  LONG ServeEvent();
  // BrowseExit and the release steps: the use count lowered (the file closed at 0), the
  // window closed, the bind scope closed and the window destroyed. Once only.
  void Finish();

 private:
  // Storage of one queue entry: slots for the projected fields, colours, mark, position.
  struct Entry {
    std::array<LONG, 6> numbers{};
    std::array<STRING<20>, 6> texts;
    LONG NORMALFG = 0, NORMALBG = 0, SELECTEDFG = 0, SELECTEDBG = 0;
    BYTE MARK = 0;
    STRING<512> POSITION;
  };
  // Where an entry field lives in the record buffer and in the entry.
  struct EntrySlot {
    size_t offset = 0;    // in the record
    bool number = false;  // LONG (else STRING(20))
    size_t slot = 0;      // index into numbers or texts
  };
  // A field of the record buffer by name (the locator and the cleared components).
  struct RecordField {
    size_t offset = 0;
    bool number = false;
    size_t width = 0;
  };
  struct StopTable {
    std::array<LONG, 100> NumberStops{};
    std::array<STRING<20>, 100> TextStops;
    LONG LowKeyNumber = 0, HighKeyNumber = 0;
    STRING<20> LowKeyText, HighKeyText;
  };

  // Event dispatch (by event, then by control).
  void Dispatch(LONG event, LONG field);

  // The procedure's routines.
  void BrowsePrepare();
  void BrowseInit();
  void BrowseInsert();
  void BrowseChange();
  void BrowseDelete();
  void ActionTail();
  void BrowseAskRecord();
  void BrowseExit();

  // The list's routines.
  void BrowseRefresh();
  void BrowseTabChange();
  void BrowseSetSortOrder();
  void BrowseScroll(LONG event);
  void BrowseNewSelection();
  void BrowsePopup();
  void BrowseAlertKey();
  void BrowseLocate();
  void BrowseThumbDrag();
  void BrowseRereadSelected();
  void BrowseRefill();
  void BrowseResetToRecord();
  void BrowseInitStops();
  void BrowsePostNewSelection();
  void BrowseEntryToRecord();
  void BrowseRecordToEntry();
  void BrowseFillPage();
  void BrowseScrollRow();
  void BrowseScrollPage();
  void BrowseScrollEnd();
  void BrowseEndOfFile();

  // Helpers.
  const BrowseSortOrder& Order() const;
  StopTable* Stops();
  RecordField FieldOf(const std::string& name) const;
  LONG VisibleRows() const;
  bool PageFull() const;
  // The locator field's first character as text shows it ('\0' for an empty text).
  char LocatorFirstChar() const;
  void SetLocatorNumber(LONG value);
  void SetLocatorText(std::string_view value);
  void ClearFurtherComponents();
  void SetButtonsForRows();
  // Fails (kEntryNotFound) when `number` names no entry.
  LONG FetchEntry(LONG number);

  const BrowseMember& member_;
  FileDecl& file_;
  unsigned char* record_;  // this thread's record buffer of the file

  Entry entry_;
  std::vector<EntrySlot> slots_;
  std::unique_ptr<RtQueue> BrowseQueue;
  RecordView BrowseView;
  WindowRef BrowseWindow;
  ResizeRecord WindowResize;
  bool started_ = false, finished_ = false;

  LONG WindowInitialized = 0;
  LONG BrowseRequest = 0;
  LONG RowCount = 0;
  LONG SelectedRow = 0;
  LONG ScrollEvent = 0;
  BYTE SortOrder = 0;
  LONG RowsToRead = 0;
  BYTE FillDirection = 2;
  BYTE DropAtFull = 1;
  BYTE QuickScanSent = 0;
  BYTE SkipAnchor = 0;
  BYTE ThumbPosition = 0;
  BYTE NewSelectionPending = 0;
  BYTE RefillMode = 0;
  BYTE ResetMode = 0;
  BYTE PreviousSortOrder = 0;
  LONG RefreshPending = 0;
  STRING<128> PopupText;
  STRING<512> AnchorPosition;
  // One stop table per sort order that has stops (indexed by SortOrder - 1; empty
  // tables for the others are never used).
  std::vector<StopTable> stopTables_;
};

}  // namespace qx
