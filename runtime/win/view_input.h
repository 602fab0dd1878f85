// The one entry point through which a person's input reaches the model, used by both views
// and by the automation channel. Thread-safe; never takes the runtime lock, never waits for
// program code: each call changes what the model shows and queues model events on the
// queue of the window concerned, whose own program thread then handles them.
//
// Windows are named by their id (WindowPresentation::id), controls by field number.
// Input to a window that takes no input (a later window of its thread or any message box
// is open) is refused, as is input to a hidden or disabled control.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "runtime/text/types.h"

namespace qx {

enum class InputResult {
  kDone,
  kNoSuchWindow,
  kNoSuchControl,
  kNoSuchMessage,
  kNoSuchPopup,
  kTakesNoInput,   // window blocked by a later window of its thread or a message box
  kDisabled,       // control disabled or hidden
  kNotApplicable,  // the control does not take this kind of input
  kBadValue,       // e.g. an answer that is not one of the box's buttons
};
const char* InputResultName(InputResult r);

// The parts of a vertical scroll bar a person clicks: the arrows (a line) and the shaft
// above or below the thumb (a page).
enum class ScrollPart { kLineUp, kLineDown, kPageUp, kPageDown };

class ViewInput {
 public:
  // A button pressed or a menu item chosen: its standard action, if it has one, and for
  // buttons and items without one EVENT:Accepted. `clipboard`: the system clipboard's text
  // when the view has one (used by the paste action).
  static InputResult Press(LONG window, LONG field, std::optional<std::string> clipboard = {});
  // Text typed into an editable control, replacing its text; the control gets the focus
  // first (an edited entry that had it is accepted). With `accept`, the control is then
  // accepted (EVENT:Accepted) as when the person leaves it.
  static InputResult Type(LONG window, LONG field, std::string_view text, bool accept);
  // A key pressed while `field` has the focus (0: the window's focused control): an alert
  // key raises EVENT:AlertKey; Enter accepts an edited entry and presses the default
  // button; Tab and Shift+Tab move the focus to the next or the previous control that can
  // take it; otherwise the control's own handling (a list's keys, an entry's typing).
  static InputResult Key(LONG window, LONG field, LONG keyCode, LONG keyChar);
  // A click on an item of a list (a row, by its entry number) or of a sheet (a tab, by its
  // number; a list's item 0 is the space below its rows, which reports the click without
  // changing the selection) with `button` kKeyLeftMouse or kKeyRightMouse; `clicks` 2 is a
  // double click,
  // of which the view has reported the first click as a click of its own. A list selects
  // the row and reports EVENT:NewSelection with the key code 1, 2 (right button) or 5
  // (double click), followed by EVENT:AlertKey when that code is one of its alert keys. A
  // sheet selects the tab and queues EVENT:TabChanging and EVENT:NewSelection (nothing when
  // it is selected already); a disabled tab is refused (kDisabled). An item the control does not
  // have is kBadValue. The click gives the control the focus (an edited entry that had it
  // is accepted; a sheet reports EVENT:Selected).
  static InputResult Click(LONG window, LONG field, LONG item, LONG button = 1, LONG clicks = 1);
  // A list's vertical scroll bar: an arrow or the shaft clicked. A list in immediate mode
  // reports EVENT:ScrollUp, ScrollDown, PageUp or PageDown and moves nothing; another list
  // scrolls its rows (the selection stays).
  static InputResult Scroll(LONG window, LONG field, ScrollPart part);
  // A list's thumb dropped at `position` (0 to 100). In immediate mode PropThumb takes the
  // position and EVENT:ScrollDrag follows; another list scrolls to that place.
  static InputResult Thumb(LONG window, LONG field, LONG position);
  // The person dragged the right edge of a list's column `column` (1 = the first) to
  // `width` dialog units; only columns marked resizable take it (else kNotApplicable).
  static InputResult ColumnWidth(LONG window, LONG field, LONG column, LONG width);
  // The close box, the system menu's Close, Alt+F4: EVENT:CloseWindow, appended.
  static InputResult Close(LONG window);
  // The person resized or moved the window (dialog units). The size never goes below the
  // window's minimum; EVENT:Sized (EVENT:Moved) follows when the window reports them.
  static InputResult Resize(LONG window, LONG width, LONG height);
  static InputResult Move(LONG window, LONG x, LONG y);
  // The person made the window the active one (clicked it, chose it in the window list):
  // EVENT:GainFocus when it was not active.
  static InputResult Activate(LONG window);
  // The person selected characters `start` up to `end` of an editable control's text
  // (start == end: the caret moved there); the control gets the focus first. The Edit
  // menu's cut, copy and paste act on the selection.
  static InputResult Select(LONG window, LONG field, LONG start, LONG end);
  // The focus moved to a control (clicked or tabbed to it).
  static InputResult Focus(LONG window, LONG field);
  // The pointer rests on a control or menu item (0 = on none): its message goes to the
  // status bar.
  static InputResult Hover(LONG window, LONG field);
  // Not a person's act: what the view's caption and border add to the width and height of
  // MDI child `window`, in its dialog units (rounded up), so that the frame's tile fits its
  // children, border and all, into the workspace. Taken while the window is open.
  static InputResult Decoration(LONG window, LONG width, LONG height);
  // A message box answered with one of its buttons.
  static InputResult AnswerMessage(LONG message, LONG button);
  // A popup menu answered: the number of the chosen item, or 0 when dismissed. A greyed
  // item is refused (kDisabled), a number beyond the items is kBadValue.
  static InputResult AnswerPopup(LONG popup, LONG item);
};

}  // namespace qx
