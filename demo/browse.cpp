// The browse procedure shared by qxmora's four browses: window, event dispatch, the three
// actions and the request protocol with the update form (the procedure side), and the
// paging, scrolling, thumb, locator, refill and popup menu of its list; see browse.h.
#include "demo/browse.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "demo/field_variable.h"
#include "demo/open_data_file.h"
#include "demo/program_module.h"
#include "demo/scroll_bar_stops.h"
#include "demo/warnings.h"
#include "runtime/store/layout.h"
#include "runtime/sys/error_state.h"
#include "runtime/text/strings.h"
#include "runtime/win/win.h"

namespace qx {
namespace {

constexpr BYTE kBackward = 1, kForward = 2;

// Colours of the first column of a member with colouredFirstColumn (00BBGGRR; -1 the
// list's own colour for a selected row).
constexpr LONG kColumnForeground = 0x00FFFFFF;  // white text
constexpr LONG kColumnBackground = 0x00808080;  // grey background
constexpr LONG kListOwnColour = -1;

// Alert keys of BrowseList: index and key code.
constexpr struct {
  LONG index, code;
} kAlertKeys[] = {{252, kKeyMouseLeft2}, {253, kKeyCtrlEnter}, {254, kKeyDelete}, {255, kKeyInsert}};

constexpr const char kQuickScanOn[] = "QUICKSCAN=on";
constexpr const char kQuickScanOff[] = "QUICKSCAN=off";

LONG ReadLong(const unsigned char* p) {
  LONG v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

void WriteLong(unsigned char* p, LONG v) { std::memcpy(p, &v, sizeof v); }

bool SamePosition(std::string_view a, std::string_view b) { return RtCompareStrings(a, b) == 0; }

char Upper(char c) {
  const std::string u = RtUpper(std::string_view(&c, 1));
  return u.empty() ? c : u[0];
}

}  // namespace

// ---- Construction ---------------------------------------------------------------------

BrowseProcedure::BrowseProcedure(const BrowseMember& member)
    : member_(member), file_(*member.file), record_(member.file->RecordBuffer()), BrowseView(*member.file) {
  // The queue's fields: the projected file fields in entry order (the colours after the
  // first when its column is coloured), then MARK and POSITION.
  const RecordLayout& layout = file_.layout();
  std::vector<QueueField> fields;
  size_t numbers = 0, texts = 0;
  for (size_t i = 0; i < member_.entryFields.size(); ++i) {
    const std::string& name = member_.entryFields[i];
    const FieldDef& f = layout.fields().at(static_cast<size_t>(layout.FindField(name)));
    EntrySlot s;
    s.offset = f.offset;
    s.number = f.type == FieldType::kLong;
    s.slot = s.number ? numbers++ : texts++;
    slots_.push_back(s);
    if (s.number) {
      fields.push_back({"BRW1::" + name, entry_.numbers.at(s.slot)});
    } else {
      fields.push_back({"BRW1::" + name, entry_.texts.at(s.slot)});
    }
    if (i == 0 && member_.colouredFirstColumn) {
      fields.push_back({"BRW1::" + name + ":NORMALFG", entry_.NORMALFG});
      fields.push_back({"BRW1::" + name + ":NORMALBG", entry_.NORMALBG});
      fields.push_back({"BRW1::" + name + ":SELECTEDFG", entry_.SELECTEDFG});
      fields.push_back({"BRW1::" + name + ":SELECTEDBG", entry_.SELECTEDBG});
    }
  }
  fields.push_back({"BRW1::MARK", entry_.MARK});
  fields.push_back({"BRW1::POSITION", entry_.POSITION});
  BrowseQueue = std::make_unique<RtQueue>(std::move(fields));
  stopTables_.resize(member_.orders.size());
}

BrowseProcedure::~BrowseProcedure() {
  // The window's list reads the queue: the window goes first.
  if (BrowseWindow) RtDisposeWindow(BrowseWindow);
}

// ---- The procedure ----------------------------------------------------------------------

void BrowseProcedure::Run() {
  Start();
  while (ServeEvent() != 0) {
  }
  Finish();
}

void BrowseProcedure::Start() {
  started_ = true;
  RtNewMdiWindow(BrowseWindow, member_.module, kBrowseWindowLabel, {*BrowseQueue});
  RtPushScope(0);
  // A right click that is still the last key code must not open a popup menu on the first
  // EVENT:NewSelection.
  if (RtKeyCode() == kKeyRightMouse) RtSetKeyCode(0);
  BrowsePrepare();
}

LONG BrowseProcedure::ServeEvent() {
  if (!RtAccept()) return 0;
  const LONG event = RtEvent();
  Dispatch(event, RtField());
  RtEndAcceptPass(0);
  return event;
}

void BrowseProcedure::Finish() {
  if (!started_ || finished_) return;
  finished_ = true;
  BrowseExit();
  // The release steps.
  RtExitAccept(0);
  RtDisposeWindow(BrowseWindow);
  AnchorPosition.clear();
  stopTables_.clear();
  RtQueueRelease(*BrowseQueue);
  if (BrowseView.isOpen()) CLOSE(BrowseView);
}

void BrowseProcedure::BrowsePrepare() {
  LONG& useCount = member_.useCount();
  if (useCount == 0) OpenDataFile(file_, 1, 0, 0, 1);  // returns only with the file open
  ++useCount;
  GroupRef group;
  for (const FieldDef& f : file_.layout().fields())
    group.fields.emplace_back(f.name, FieldVariable(record_, f));
  RtBindGroup(group);
  RtOpenWindow(BrowseWindow);
  // Never smaller than it opened.
  RtSetProperty(BrowseWindow, 0, kPropMinWidth, RtGetProperty(BrowseWindow, 0, kPropWidth));
  RtSetProperty(BrowseWindow, 0, kPropMinHeight, RtGetProperty(BrowseWindow, 0, kPropHeight));
  ResizeInit(WindowResize, 2);
  DropAtFull = 1;
  RowCount = 0;
  for (const auto& k : kAlertKeys)
    RtSetProperty(BrowseWindow, kBrowseListField, kPropAlertKeys, std::to_string(k.code), k.index);
}

void BrowseProcedure::Dispatch(LONG event, LONG field) {
  switch (event) {
    case kEventCloseDown:
      ResizeKill(WindowResize);
      break;
    case kEventOpenWindow:
      if (WindowInitialized == 0) {
        BrowseInit();
        WindowInitialized = 1;
      }
      RtSelect(kBrowseListField);
      break;
    case kEventGainFocus:
      RefreshPending = 1;
      if (WindowInitialized == 0) {
        BrowseInit();
        WindowInitialized = 1;
      } else {
        BrowseRefresh();
      }
      break;
    case kEventSized:
      ResizeWindow(WindowResize);
      RefreshPending = 1;
      BrowseRefresh();
      break;
    case kEventRejected:
      RtBeep(150, 0);
      RtDisplay(field, 0);
      RtSelect(field);
      break;
    default:
      break;
  }

  if (field == kBrowseListField) {
    switch (event) {
      case kEventNewSelection: BrowseNewSelection(); break;
      case kEventScrollUp:
      case kEventScrollDown:
      case kEventPageUp:
      case kEventPageDown:
      case kEventScrollTop:
      case kEventScrollBottom: BrowseScroll(event); break;
      case kEventAlertKey: BrowseAlertKey(); break;
      case kEventScrollDrag: BrowseThumbDrag(); break;
      default: break;
    }
  } else if (field == kInsertButtonField && event == kEventAccepted) {
    BrowseRereadSelected();
    BrowseInsert();
  } else if (field == kChangeButtonField && event == kEventAccepted) {
    BrowseRereadSelected();
    BrowseChange();
  } else if (field == kDeleteButtonField && event == kEventAccepted) {
    BrowseRereadSelected();
    BrowseDelete();
  } else if (field == member_.sheetField) {
    if (event == kEventAccepted || event == kEventNewSelection || event == kEventTabChanging ||
        event == kEventSelected)
      BrowseRefresh();
  } else if (field == member_.closeField && event == kEventAccepted) {
    BrowseRereadSelected();
    RtPost(kEventCloseWindow, 0, 0, 0);
  } else if (field == member_.helpField && event == kEventAccepted) {
    BrowseRereadSelected();  // the help itself is the button's standard action
  }
}

void BrowseProcedure::BrowseInit() { BrowseRefresh(); }

void BrowseProcedure::BrowseInsert() {
  GETfileptr(file_, 0);  // no current record from here on
  RtClearGroup(record_, file_.layout(), 0);
  BrowseRequest = 1;
  BrowseAskRecord();
  if (CurrentResponse == 1) {
    ResetMode = 3;  // the page at the record the form wrote
    BrowseResetToRecord();
  } else {
    RefillMode = 2;  // the page where it stood
    BrowseRefill();
  }
  ActionTail();
}

void BrowseProcedure::BrowseChange() {
  BrowseRequest = 2;
  BrowseAskRecord();
  if (CurrentResponse == 1) {
    ResetMode = 3;
    BrowseResetToRecord();
  } else {
    RefillMode = 2;
    BrowseRefill();
  }
  ActionTail();
}

void BrowseProcedure::BrowseDelete() {
  BrowseRequest = 3;
  BrowseAskRecord();
  // The row goes from the page only when it was deleted, and only if the queue still has
  // it, so that RowCount stays the number of entries.
  if (CurrentResponse == 1 && RowCount != 0 && FetchEntry(SelectedRow) == 0 && RtQueueDelete(*BrowseQueue) == 0)
    --RowCount;
  RefillMode = 2;  // the row now in its place is selected, or the last row
  BrowseRefill();
  ActionTail();
}

void BrowseProcedure::ActionTail() {
  BrowseInitStops();
  BrowsePostNewSelection();
  RtSelect(kBrowseListField);
  BrowseRefresh();
}

void BrowseProcedure::BrowseAskRecord() {
  CLOSE(BrowseView);
  CurrentRequest = BrowseRequest;
  NavigationRequest = 0;
  member_.updateForm();
  BrowseSetSortOrder();
}

void BrowseProcedure::BrowseExit() {
  LONG& useCount = member_.useCount();
  if (--useCount == 0) CLOSE(file_);
  RtCloseWindow(BrowseWindow);
  RtPopScope();
}

// ---- Sort order and refresh --------------------------------------------------------------

const BrowseSortOrder& BrowseProcedure::Order() const {
  const size_t n = SortOrder >= 1 && SortOrder <= member_.orders.size() ? SortOrder : 1;
  return member_.orders.at(n - 1);
}

BrowseProcedure::StopTable* BrowseProcedure::Stops() {
  if (Order().stops == BrowseStops::kNone) return nullptr;
  return &stopTables_.at(static_cast<size_t>(SortOrder >= 1 ? SortOrder - 1 : 0));
}

void BrowseProcedure::BrowseRefresh() {
  if (!RtClip(RtGetProperty(BrowseWindow, 0, kPropAcceptAll)).empty()) return;
  BrowseTabChange();
  RtSetProperty(BrowseWindow, kBrowseListField, kPropThumb, std::to_string(ThumbPosition));
  RtDisplay(0, 0);
  RefreshPending = 0;
}

void BrowseProcedure::BrowseTabChange() {
  PreviousSortOrder = SortOrder;
  if (member_.readsSheet) {
    const LONG tab = RtChoice(member_.sheetField);
    SortOrder = static_cast<BYTE>(tab <= 1 ? member_.orders.size() : tab - 1);
  } else if (SortOrder == 0) {
    SortOrder = 1;
  }
  if (SortOrder == PreviousSortOrder && RefreshPending == 0) {
    if (RowCount != 0) {
      FetchEntry(SelectedRow);
      BrowseEntryToRecord();
    }
    return;
  }
  BrowseRereadSelected();
  BrowseSetSortOrder();
  if (PreviousSortOrder == 0) {
    RtQueueFree(*BrowseQueue);
    RowCount = 0;
    RefillMode = 3;  // the first page of the order
    BrowseRefill();
    BrowsePostNewSelection();
  } else {
    ResetMode = 2;  // at the selected record's place in the (new) order
    BrowseResetToRecord();
  }
  if (RowCount != 0) {
    FetchEntry(SelectedRow);
    BrowseEntryToRecord();
  }
  BrowseInitStops();
}

void BrowseProcedure::BrowseSetSortOrder() {
  CLOSE(BrowseView);
  if (Key* key = Order().key) {
    SETkey(*key);
  } else {
    SETfile(file_);
  }
  if (RtErrorCode() != 0) ShowWarning(36);
  OPEN(BrowseView, 0x22);
  if (RtErrorCode() != 0) ShowWarning(36);
}

// ---- Entries -----------------------------------------------------------------------------

LONG BrowseProcedure::FetchEntry(LONG number) { return RtQueueGet(*BrowseQueue, number); }

void BrowseProcedure::BrowseRecordToEntry() {
  for (const EntrySlot& s : slots_) {
    if (s.number) {
      entry_.numbers[s.slot] = ReadLong(record_ + s.offset);
    } else {
      entry_.texts[s.slot] = std::string_view(reinterpret_cast<const char*>(record_ + s.offset), 20);
    }
  }
  if (member_.colouredFirstColumn) {
    entry_.NORMALFG = kColumnForeground;
    entry_.NORMALBG = kColumnBackground;
    entry_.SELECTEDFG = kListOwnColour;
    entry_.SELECTEDBG = kListOwnColour;
  }
  entry_.POSITION = POSITIONfile(BrowseView);
}

void BrowseProcedure::BrowseEntryToRecord() {
  for (const EntrySlot& s : slots_) {
    if (s.number) {
      WriteLong(record_ + s.offset, entry_.numbers[s.slot]);
    } else {
      std::memcpy(record_ + s.offset, entry_.texts[s.slot].data(), 20);
    }
  }
}

// ---- Filling a page ------------------------------------------------------------------------

LONG BrowseProcedure::VisibleRows() const {
  return std::atoi(RtGetProperty(BrowseWindow, kBrowseListField, kPropVisibleRows).c_str());
}

// Rows beyond the visible ones can be held only for the moment between a window made
// smaller and the refresh that follows; such a page counts as full.
bool BrowseProcedure::PageFull() const { return RowCount >= VisibleRows(); }

void BrowseProcedure::BrowseEndOfFile() {}

void BrowseProcedure::BrowseFillPage() {
  const bool forward = FillDirection != kBackward;
  if (RowsToRead > 1) {
    SEND(file_, kQuickScanOn);
    QuickScanSent = 1;
  }
  if (RowCount != 0) {
    // Go on from the row at the end being extended.
    FetchEntry(forward ? RowCount : 1);
    RESETfile(BrowseView, entry_.POSITION.view());
    SkipAnchor = 1;
  } else {
    SkipAnchor = 0;
  }
  while (RowsToRead != 0) {
    if (forward) {
      NEXT(BrowseView);
    } else {
      PREVIOUS(BrowseView);
    }
    const LONG code = RtErrorCode();
    if (code == kRecordNotAvailable) {
      BrowseEndOfFile();
      break;
    }
    if (code != 0) {
      ShowWarning(35, file_.label());
      RtPost(kEventCloseWindow, 0, 0, 0);
      return;
    }
    if (SkipAnchor != 0) {
      SkipAnchor = 0;
      if (SamePosition(POSITIONfile(BrowseView), entry_.POSITION.view())) continue;  // the anchor row itself
    }
    if (DropAtFull != 0 && PageFull()) {
      FetchEntry(forward ? 1 : RowCount);
      RtQueueDelete(*BrowseQueue);
      --RowCount;
    }
    BrowseRecordToEntry();
    if (forward) {
      RtQueueAdd(*BrowseQueue);
    } else {
      RtQueueAdd(*BrowseQueue, 1);
    }
    ++RowCount;
    --RowsToRead;
  }
  if (QuickScanSent != 0) {
    SEND(file_, kQuickScanOff);
    QuickScanSent = 0;
  }
  DropAtFull = 1;
}

// ---- Scrolling -------------------------------------------------------------------------------

void BrowseProcedure::BrowseScrollRow() {
  if (ScrollEvent == kEventScrollUp && SelectedRow > 1) {
    --SelectedRow;
  } else if (ScrollEvent == kEventScrollDown && SelectedRow < RowCount) {
    ++SelectedRow;
  } else {
    RowsToRead = 1;
    FillDirection = ScrollEvent == kEventScrollUp ? kBackward : kForward;
    BrowseFillPage();
  }
}

void BrowseProcedure::BrowseScrollPage() {
  RowsToRead = VisibleRows();
  FillDirection = ScrollEvent == kEventPageUp ? kBackward : kForward;
  BrowseFillPage();
  if (RowsToRead != 0) {
    // The file ended first: the highlight moves by the rows left unscrolled.
    if (ScrollEvent == kEventPageUp) {
      SelectedRow = std::max<LONG>(SelectedRow - RowsToRead, 1);
    } else {
      SelectedRow = std::min<LONG>(SelectedRow + RowsToRead, RowCount);
    }
  }
}

void BrowseProcedure::BrowseScrollEnd() {
  RtQueueFree(*BrowseQueue);
  RowCount = 0;
  BrowseSetSortOrder();
  RowsToRead = VisibleRows();
  FillDirection = ScrollEvent == kEventScrollTop ? kForward : kBackward;
  BrowseFillPage();
  SelectedRow = ScrollEvent == kEventScrollTop ? 1 : RowCount;
}

void BrowseProcedure::BrowseScroll(LONG event) {
  if (RowCount == 0) return;
  ScrollEvent = event;
  switch (event) {
    case kEventScrollUp:
    case kEventScrollDown: BrowseScrollRow(); break;
    case kEventPageUp:
    case kEventPageDown: BrowseScrollPage(); break;
    default: BrowseScrollEnd(); break;
  }
  RtSetProperty(BrowseWindow, kBrowseListField, kPropSelectedRow, std::to_string(SelectedRow));
  BrowsePostNewSelection();
  if (Order().stops == BrowseStops::kNone) {
    // Three positions: the middle, or the end of the file the most recent fill met (the
    // start when it read backward, the end when it read forward).
    ThumbPosition = 50;
    if (PageFull()) {
      if (RowsToRead != 0) ThumbPosition = FillDirection == kBackward ? 0 : 100;
    } else {
      ThumbPosition = 0;
    }
  }
}

// ---- Selection, popup, keys and thumb -----------------------------------------------------------

void BrowseProcedure::BrowsePostNewSelection() {
  if (NewSelectionPending != 0) return;
  NewSelectionPending = 1;
  RtPost(kEventNewSelection, kBrowseListField, 0, 0);
}

void BrowseProcedure::BrowseNewSelection() {
  NewSelectionPending = 0;
  if (RtKeyCode() == kKeyRightMouse) {
    BrowsePopup();
    return;
  }
  if (RowCount == 0) return;
  SelectedRow = RtChoice(kBrowseListField);
  FetchEntry(SelectedRow);
  BrowseEntryToRecord();
  const bool barOn = RtGetProperty(BrowseWindow, kBrowseListField, kPropScrollBar) == "1";
  if (PageFull()) {
    if (!barOn) RtSetProperty(BrowseWindow, kBrowseListField, kPropScrollBar, "1");
    if (StopTable* t = Stops()) {
      const RecordField f = FieldOf(Order().locator);
      LONG i = 1;
      if (f.number) {
        const LONG value = ReadLong(record_ + f.offset);
        while (i <= 100 && t->NumberStops[static_cast<size_t>(i - 1)] < value) ++i;
      } else {
        const std::string value = RtUpper(std::string_view(reinterpret_cast<const char*>(record_ + f.offset), f.width));
        while (i <= 100 && RtCompareStrings(t->TextStops[static_cast<size_t>(i - 1)].view(), value) < 0) ++i;
      }
      ThumbPosition = static_cast<BYTE>(i == 1 ? 0 : i);  // 101: above the last stop
    }
  } else if (barOn) {
    RtSetProperty(BrowseWindow, kBrowseListField, kPropScrollBar, "0");
  }
  BrowseRefresh();
}

void BrowseProcedure::BrowsePopup() {
  PopupText = RowCount != 0 ? "&Insert|&Change|&Delete" : "&Insert|~&Change|~&Delete";
  switch (RtPopup(PopupText.clipped())) {
    case 1: RtPost(kEventAccepted, kInsertButtonField, 0, 0); break;
    case 2: RtPost(kEventAccepted, kChangeButtonField, 0, 0); break;
    case 3: RtPost(kEventAccepted, kDeleteButtonField, 0, 0); break;
    default: break;
  }
}

void BrowseProcedure::BrowseAlertKey() {
  const LONG code = RtKeyCode();
  if (RowCount != 0) {
    switch (code) {
      case kKeyMouseLeft2:
        RtPost(kEventAccepted, kChangeButtonField, 0, 0);
        BrowseEntryToRecord();
        break;
      case kKeyInsert: RtPost(kEventAccepted, kInsertButtonField, 0, 0); break;
      case kKeyDelete: RtPost(kEventAccepted, kDeleteButtonField, 0, 0); break;
      case kKeyCtrlEnter: RtPost(kEventAccepted, kChangeButtonField, 0, 0); break;
      default:
        if (!Order().locator.empty()) BrowseLocate();
        break;
    }
  } else if (code == kKeyInsert) {
    RtPost(kEventAccepted, kInsertButtonField, 0, 0);
  }
  BrowsePostNewSelection();
}

BrowseProcedure::RecordField BrowseProcedure::FieldOf(const std::string& name) const {
  const RecordLayout& layout = file_.layout();
  const FieldDef& f = layout.fields().at(static_cast<size_t>(layout.FindField(name)));
  return RecordField{f.offset, f.type == FieldType::kLong, f.width};
}

char BrowseProcedure::LocatorFirstChar() const {
  const RecordField f = FieldOf(Order().locator);
  if (f.number) return std::to_string(ReadLong(record_ + f.offset))[0];
  return static_cast<char>(record_[f.offset]);
}

void BrowseProcedure::SetLocatorNumber(LONG value) { WriteLong(record_ + FieldOf(Order().locator).offset, value); }

void BrowseProcedure::SetLocatorText(std::string_view value) {
  const RecordField f = FieldOf(Order().locator);
  std::memset(record_ + f.offset, ' ', f.width);
  std::memcpy(record_ + f.offset, value.data(), std::min(value.size(), f.width));
}

void BrowseProcedure::ClearFurtherComponents() {
  for (const std::string& name : Order().cleared) {
    const RecordField f = FieldOf(name);
    if (f.number) {
      WriteLong(record_ + f.offset, 0);
    } else {
      std::memset(record_ + f.offset, ' ', f.width);
    }
  }
}

void BrowseProcedure::BrowseLocate() {
  const LONG typed = RtKeyChar();
  if (typed <= ' ' || typed > 0xFF) return;  // a blank (or no character) locates nothing
  const char c = Upper(static_cast<char>(typed));
  if (Upper(LocatorFirstChar()) == c) {
    // The selected row starts with it: one row down.
    ScrollEvent = kEventScrollDown;
    BrowseScrollRow();
    FetchEntry(SelectedRow);
    BrowseEntryToRecord();
  }
  if (Upper(LocatorFirstChar()) == c) {
    RtSetProperty(BrowseWindow, kBrowseListField, kPropSelectedRow, std::to_string(SelectedRow));
    return;
  }
  // The first record at or after the character.
  if (FieldOf(Order().locator).number) {
    SetLocatorNumber(typed >= '0' && typed <= '9' ? typed - '0' : 0);
  } else {
    SetLocatorText(std::string(1, static_cast<char>(typed)));
  }
  ClearFurtherComponents();
  ResetMode = 2;
  BrowseResetToRecord();
}

void BrowseProcedure::BrowseThumbDrag() {
  const LONG t = std::atoi(RtGetProperty(BrowseWindow, kBrowseListField, kPropThumb).c_str());
  if (t <= 1) {
    RtPost(kEventScrollTop, kBrowseListField, 0, 0);
  } else if (t >= 100) {
    RtPost(kEventScrollBottom, kBrowseListField, 0, 0);
  } else if (StopTable* table = Stops()) {
    const size_t i = static_cast<size_t>(t - 1);
    if (FieldOf(Order().locator).number) {
      SetLocatorNumber(table->NumberStops[i]);
    } else {
      SetLocatorText(table->TextStops[i].view());
    }
    ClearFurtherComponents();
    ResetMode = 2;
    BrowseResetToRecord();
  }
}

// ---- Rebuilding the page ---------------------------------------------------------------------------

void BrowseProcedure::BrowseRereadSelected() {
  if (RowCount == 0) return;
  SelectedRow = RtChoice(kBrowseListField);
  FetchEntry(SelectedRow);
  WATCH(BrowseView);
  REGETfile(BrowseView, entry_.POSITION.view());
}

void BrowseProcedure::SetButtonsForRows() {
  const char* disabled = RowCount != 0 ? "" : "1";
  RtSetProperty(BrowseWindow, kChangeButtonField, kPropDisabled, disabled);
  RtSetProperty(BrowseWindow, kDeleteButtonField, kPropDisabled, disabled);
}

void BrowseProcedure::BrowseRefill() {
  RtSetCursor(kCursorWait);
  if (RefillMode == 1) {
    // From the record the view has just read.
    AnchorPosition = POSITIONfile(BrowseView);
    RESETfile(BrowseView, AnchorPosition.clipped());
    RefillMode = 3;
  } else if (RtQueueRecords(*BrowseQueue) != 0) {
    // Around the selected row, from the same top row.
    if (FetchEntry(SelectedRow) != 0) FetchEntry(RtQueueRecords(*BrowseQueue));
    AnchorPosition = entry_.POSITION;
    FetchEntry(1);
    RESETfile(BrowseView, entry_.POSITION.view());
    if (RefillMode == 4) RefillMode = 2;
  } else {
    AnchorPosition.clear();
    BrowseSetSortOrder();
  }
  RtQueueFree(*BrowseQueue);
  RowCount = 0;
  RowsToRead = VisibleRows();
  FillDirection = RefillMode == 4 ? kBackward : kForward;
  BrowseFillPage();
  if (!AnchorPosition.blank() && RowsToRead != 0) {
    // The file ended below the anchor before the page was full: the rows above it.
    if (RowCount == 0) BrowseSetSortOrder();
    FillDirection = kBackward;
    BrowseFillPage();
  }
  if (RowCount != 0) {
    if (!AnchorPosition.blank()) {
      SelectedRow = RowCount;
      for (LONG i = 1; i <= RowCount; ++i) {
        FetchEntry(i);
        if (SamePosition(entry_.POSITION.view(), AnchorPosition.view())) {
          SelectedRow = i;
          break;
        }
      }
    } else {
      SelectedRow = RefillMode == 4 ? RowCount : 1;
    }
    RtSetProperty(BrowseWindow, kBrowseListField, kPropSelectedRow, std::to_string(SelectedRow));
    FetchEntry(SelectedRow);
    BrowseEntryToRecord();
  } else {
    RtClearGroup(record_, file_.layout(), 0);
    SelectedRow = 0;
  }
  SetButtonsForRows();
  RtSetCursor(0);
  RefillMode = 0;
}

void BrowseProcedure::BrowseResetToRecord() {
  if (ResetMode == 1) ResetMode = 3;
  CLOSE(BrowseView);
  if (Key* key = Order().key) {
    if (ResetMode == 3) {
      RESETkey(*key, POSITIONkey(*key));  // the record last read or written through the file
    } else {
      SETkeykey(*key, *key);  // the first record at or after the key value in the buffer
    }
  } else if (ResetMode == 3) {
    RESETfile(file_, POSITIONfile(file_));
  } else {
    const std::string at = POSITIONfile(file_);
    if (!RtClipView(at).empty()) {
      RESETfile(file_, at);
    } else {
      SETfile(file_);
    }
  }
  if (RtErrorCode() != 0) ShowWarning(36);
  OPEN(BrowseView, 0x22);
  if (RtErrorCode() != 0) ShowWarning(36);
  RtQueueFree(*BrowseQueue);
  RowCount = 0;
  RowsToRead = 1;
  FillDirection = kForward;
  DropAtFull = 0;
  BrowseFillPage();  // the record at or after the position
  DropAtFull = 1;
  // None there: the last page, its last row selected. Otherwise the page from the record
  // read, completed from above it when the file ends first.
  RefillMode = RowsToRead != 0 ? 4 : 1;
  BrowseRefill();
  BrowsePostNewSelection();
  ResetMode = 0;
}

void BrowseProcedure::BrowseInitStops() {
  SEND(file_, kQuickScanOn);
  StopTable* table = Stops();
  const BrowseSortOrder& order = Order();
  // The last record of the order, then the first.
  for (int pass = 0; pass < 2; ++pass) {
    BrowseSetSortOrder();
    if (pass == 0) {
      PREVIOUS(BrowseView);
    } else {
      NEXT(BrowseView);
    }
    const LONG code = RtErrorCode();
    if (code == kRecordNotAvailable) {
      BrowseEndOfFile();
      return;  // an empty file: the table keeps its values
    }
    if (code != 0) {
      ShowWarning(35, file_.label());
      RtPost(kEventCloseWindow, 0, 0, 0);
      return;
    }
    if (table == nullptr) continue;
    const RecordField f = FieldOf(order.locator);
    if (f.number) {
      (pass == 0 ? table->HighKeyNumber : table->LowKeyNumber) = ReadLong(record_ + f.offset);
    } else {
      (pass == 0 ? table->HighKeyText : table->LowKeyText) =
          std::string_view(reinterpret_cast<const char*>(record_ + f.offset), f.width);
    }
  }
  if (table != nullptr) {
    if (FieldOf(order.locator).number) {
      InitNumberStops(table->LowKeyNumber, table->HighKeyNumber);
      for (LONG& stop : table->NumberStops) stop = static_cast<LONG>(NextNumberStop());  // toward zero
    } else {
      InitTextStops(table->LowKeyText.view(), table->HighKeyText.view(), 20, kStopUpperLetters, 0);
      for (STRING<20>& stop : table->TextStops) stop = NextTextStop();
    }
  }
  SEND(file_, kQuickScanOff);
}

}  // namespace qx
