// What a view shows: copies of the model's windows, controls and message boxes, made under
// the model's own mutex and handed to the views and the automation channel. A view never
// reads the model directly and never takes the runtime lock; it draws these copies and
// turns a person's input into calls of ViewInput (view_input.h).
//
// Positions and sizes are dialog units of the window's font (description.h). Every copy
// carries the model's revision at the time it was made, so a view can drop a copy that is
// older than the one it already shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/win/description.h"

namespace qx {

// Where a control lives in its window.
enum class ControlArea { kClient, kToolbar, kMenuBar };

// ---- Lists -------------------------------------------------------------------------
//
// A list shows rows of a queue (queue.h) in columns (list_format.h). The copy holds only
// the rows the list shows now: `visibleRows` rows from entry `topRow` on (fewer at the end
// of the queue). From the top of the control down, in dialog units: its border
// (kListBorderUnits), the header (when `header`, `headerHeight` units), the rows
// (`rowHeight` units each), the horizontal scroll bar (when `hScroll`,
// kListScrollBarHeight units) and the border again. `visibleRows` is the number of whole
// rows between header and scroll bar. A widget places each edge at its position in dialog
// units converted to pixels (row i's top at border + header + i * rowHeight), never adding
// up rounded row heights, so every row the program counts on is wholly shown.
//
// Colours are 00BBGGRR (description.h); kNoColour in a cell means the list's own colour:
// `colour`/`background` of the control for a row that is not selected, `selectedColour`/
// `selectedBackground` of the list (kNoColour: the system's highlight) for the selected one.
//
// The widget never moves the selection or the rows by itself; it reports, and the next
// copy shows the outcome:
//   a press on a row             ViewInput::Click(window, field, row.entry, kKeyLeftMouse
//                                or kKeyRightMouse, 1); a double click: that, then the
//                                same with clicks 2
//   every key while it has the   ViewInput::Key(window, field, key code, character): the
//   focus                        arrows, PageUp/PageDown, Home/End, Ctrl+PageUp/PageDown,
//                                Enter, and typed characters (with their character)
//   a scroll-bar arrow, a click  ViewInput::Scroll(window, field, ScrollPart); a wheel turn
//   in the shaft, a wheel turn   as an arrow
//   the thumb dropped            ViewInput::Thumb(window, field, 0 to 100); while it is
//                                dragged the widget draws it, nothing is reported
//   a column's edge dragged      ViewInput::ColumnWidth(window, field, column, width)

// Dialog units of a list's horizontal scroll bar.
constexpr LONG kListScrollBarHeight = 10;
// Dialog units of a list's sunken border, on each side.
constexpr LONG kListBorderUnits = 1;

struct ListColumnPresentation {
  LONG width = 0;                        // dialog units
  Justify justify = Justify::kLeft;      // kDecimal: as kRight
  LONG indent = 0;                       // dialog units in from the justified edge
  std::string header;                    // "" = no header text
  Justify headerJustify = Justify::kLeft;
  LONG headerIndent = 0;
  bool rightBorder = false;              // a line at the column's right edge
  bool resizable = false;                // the person may drag its width
  bool colours = false;                  // its cells carry colours of their own
  std::string picture;                   // how the cells were formatted ("@n-14")
};

struct ListCellPresentation {
  std::string text;                      // formatted by the column's picture, not padded
  ULONG colour = kNoColour;              // text of a row that is not selected
  ULONG background = kNoColour;
  ULONG selectedColour = kNoColour;      // text of the selected row
  ULONG selectedBackground = kNoColour;
};

struct ListRowPresentation {
  LONG entry = 0;                        // the queue entry it shows (1 = the first)
  bool selected = false;
  std::vector<ListCellPresentation> cells;  // one per column
};

struct ListPresentation {
  std::vector<ListColumnPresentation> columns;
  bool header = false;                   // a header row above the rows
  LONG headerHeight = 0;                 // dialog units
  LONG rowHeight = 0;                    // dialog units
  std::vector<ListRowPresentation> rows; // the rows shown, top first
  LONG rowCount = 0;                     // entries in the queue
  LONG topRow = 1;                       // entry of the first row shown
  LONG visibleRows = 0;                  // rows the height shows (PropVisibleRows)
  LONG selectedRow = 0;                  // the highlighted entry; 0 = none
  bool immediate = false;                // the program pages the rows itself (its queue holds
                                         // one page; the scroll bar is the program's)
  bool vScroll = false;                  // the vertical scroll bar is shown, range 0 to 100
  LONG thumb = 0;                        // PropThumb as the program set it (0 to 101)
  LONG thumbDrawn = 0;                   // where to draw the thumb: 0 to 100 (101 at the end)
  bool hScroll = false;                  // a horizontal scroll bar (the widget scrolls the
                                         // columns sideways by itself)
  ULONG selectedColour = kNoColour;      // the list's own colours of the selected row
  ULONG selectedBackground = kNoColour;
  std::string formatError;               // why the FORMAT could not be read ("" = it could);
                                         // the list then shows the first field in one column
};

// ---- Sheets --------------------------------------------------------------------------
//
// A sheet is a tabbed page. Its tabs are controls of kind "tab" (parentField = the
// sheet's field); controls that lie on a tab have parentField = the tab's field and show
// only while their tab is the selected one (`visible` says so). Controls of the window
// that lie on the sheet's face without being on a tab show over whichever tab is selected:
// a sheet is drawn beneath every control that is not on one of its tabs. A person picking
// a tab is reported with ViewInput::Click (item = the tab's number); the widget shows the
// new tab only when the next copy selects it, and never selects a disabled tab.

struct TabPresentation {
  LONG field = 0;
  std::string text;                      // "&" marks the access key
  bool disabled = false;                 // the person cannot select it; drawn greyed
  bool hidden = false;                   // not shown among the tabs
  ULONG colour = kNoColour;              // the tab's text colour
  ULONG background = kNoColour;          // the tab's background (8000000Nh: system colour N)
};

struct SheetPresentation {
  std::vector<TabPresentation> tabs;     // in order; tab n is tabs[n - 1]
  LONG selected = 0;                     // the selected tab's number; 0 = none
};

// ---- Entries -------------------------------------------------------------------------
//
// An entry shows `text`, justified by `justify` (kDefault: left) and `justifyOffset`
// dialog units in from that edge; `picture` says what it takes ("@n-14" a number, "@s20"
// and "@S20" up to 20 characters, "@d17" a date in the locale's short form), but the
// widget does not check it: the model reads the text with the picture when the entry is
// accepted and answers EVENT:Rejected, keeping the person's text, when it refuses it. The
// widget edits the text itself and tells the model: ViewInput::Type(window, field, text,
// false) after each edit, ViewInput::Focus when a control gets the focus (the entry the
// person leaves is then accepted), ViewInput::Key for Enter and for its `alertKeys`.
// A `readOnly` entry takes no typing.

struct ControlPresentation {
  LONG field = 0;
  std::string name;          // the program's name for it ("ExitItem"), may be empty
  std::string kind;          // "button", "prompt", "string", "panel", "image", "menu", "item",
                             // "list", "sheet", "tab", "entry"
  ControlArea area = ControlArea::kClient;
  LONG parentField = 0;      // the menu a menu item or sub-menu belongs to, the sheet of a
                             // tab, the tab a control lies on; 0 = top level
  DialogRect at;             // as described, or as the program or the resize support set it
  std::string text;          // what the control shows now (a string: its formatted value; an
                             // entry: its text as edited, which the picture reads when the
                             // entry is accepted)
  std::string picture;       // strings and entries: their picture ("@n-14"), "" = none
  std::string message, tip;
  ImageSource icon;          // button icon; the image of an image control
  FontDescription font;      // the control's own font; empty = the window's
  ULONG colour = kNoColour, background = kNoColour;
  Justify justify = Justify::kDefault;
  LONG justifyOffset = 0;
  LONG attributes = 0;
  LONG standardAction = 0;
  LONG bevel = -1;
  bool isDefault = false, transparent = false, readOnly = false;
  bool disabled = false, hidden = false, separator = false;
  bool focused = false;
  bool editable = false;     // takes typed text (entries; not display-only strings)
  LONG selectionStart = 0;   // editable: the selected characters of `text`, from start up
  LONG selectionEnd = 0;     // to end, the caret at end (start == end: none selected)
  bool visible = true;       // shown now: not hidden, and on no tab or on the selected one
  std::vector<LONG> alertKeys;  // key codes the control reports as EVENT:AlertKey
                                // (PropAlertKeys): a widget passes these keys to
                                // ViewInput::Key instead of handling them itself
  std::optional<ListPresentation> list;    // kind "list"
  std::optional<SheetPresentation> sheet;  // kind "sheet"
};

struct ChildWindowEntry {
  LONG window = 0;
  std::string title;
};

struct WindowPresentation {
  std::uint64_t revision = 0;
  LONG id = 0;
  std::string module, label;
  std::string kind;          // "window", "application", "mdi"
  LONG thread = 0;           // program thread whose events it gets
  LONG parent = 0;           // MDI child: the frame it opens in; 0 = none
  std::string title;
  std::optional<LONG> x, y;  // omitted: the view places it (centred when `centred`)
  LONG width = 0, height = 0, minWidth = 0, minHeight = 0;
  bool centred = false;
  FontDescription font;
  FrameDescription frame;
  ULONG background = kNoColour;
  ImageSource icon;
  WallpaperDescription wallpaper;
  std::vector<LONG> statusWidths;
  std::vector<std::string> statusTexts;  // one per section
  DialogRect toolbar;        // valid when hasToolbar
  bool hasToolbar = false;
  std::vector<ControlPresentation> controls;  // creation order: menus, toolbar, client
  std::vector<ChildWindowEntry> children;     // frame: its open MDI children, opening order
  std::vector<LONG> arrangedOrder;  // frame: its children from back to front as it last
                                    // arranged them (cascade), some may have closed since;
  std::uint64_t arrangement = 0;    // the view stacks them so when this count grows
  LONG focus = 0;            // field of the control with the focus; 0 = none
  bool takesInput = false;   // false while a later window of its thread, a popup menu of
                             // its thread, or any message box is open
  bool active = false;       // the window the person works in
  bool waitCursor = false;   // the program's wait cursor (RtSetCursor): shown over every
                             // window of the program while set
};

struct MessagePresentation {
  std::uint64_t revision = 0;
  LONG id = 0;
  LONG thread = 0;           // 0 for a notice of the library's own (nobody waits for it)
  std::string text;          // "|" already turned into line breaks ("\n")
  std::string caption;
  ImageSource icon;
  LONG buttons = 0;          // sum of kButton* values; never 0
  LONG defaultButton = 0;    // one of `buttons`
};

// Message box buttons: a box's buttons are a sum of these; the box answers with one.
enum MessageButton : LONG {
  kButtonOk = 1,
  kButtonYes = 2,
  kButtonNo = 4,
  kButtonAbort = 8,
  kButtonRetry = 16,
  kButtonIgnore = 32,
  kButtonCancel = 64,
};
// The button's English name ("OK", "Yes" ...), empty for a value that is no single button.
const char* MessageButtonName(LONG button);
// The value of the named button (case-insensitive), 0 when none has that name.
LONG MessageButtonByName(std::string_view name);

// A popup menu (RtPopup), shown by the view at the pointer over `window` and answered with
// ViewInput::AnswerPopup: the number of the chosen item, or 0 when the person dismissed it.
// Greyed items cannot be chosen. While it is open the thread's windows take no input.
struct PopupItemPresentation {
  std::string text;          // "&" marks the access key
  bool greyed = false;
};

struct PopupPresentation {
  std::uint64_t revision = 0;
  LONG id = 0;
  LONG thread = 0;
  LONG window = 0;           // the thread's current window; 0 = none
  LONG field = 0;            // the control of the event being handled (where the click was)
  std::vector<PopupItemPresentation> items;  // item n is items[n - 1]
};

// Something that may leave nothing to see afterwards: a beep, the print set-up dialog,
// arranging icons, the wait cursor, a window opening or closing (a window open only for
// a moment), the program's end. Kept in a short log for the automation channel.
struct PresentationLogEntry {
  std::uint64_t sequence = 0;
  std::string what;          // "beep", "print-setup", "tile", "cascade", "arrange-icons",
                             // "cursor", "clipboard", "open", "close", "end"
  LONG window = 0;
  std::string detail;        // "end": the exit code
  // "open" and "close": the window's thread, label and title at that moment.
  LONG thread = 0;
  std::string label, title;
};

struct PresentationState {
  std::uint64_t revision = 0;
  std::vector<WindowPresentation> windows;   // open windows, opening order
  std::vector<MessagePresentation> messages; // open message boxes, oldest first
  std::vector<PopupPresentation> popups;     // open popup menus, oldest first
  std::vector<PresentationLogEntry> log;     // newest last, at most 200 entries
};

// A copy of everything shown now. Thread-safe; never blocks on program code.
PresentationState ReadPresentation();
// The model's current revision; it grows with every visible change.
std::uint64_t PresentationRevision();
// Blocks until the revision exceeds `seen` or `timeoutMs` passes; returns the revision.
std::uint64_t WaitPresentationChange(std::uint64_t seen, int timeoutMs);

}  // namespace qx
