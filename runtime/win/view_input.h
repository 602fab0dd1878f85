// The one entry point through which a person's input reaches the model, used by both views
// and by the automation channel. Thread-safe; never takes the runtime lock, never waits for
// program code: each call changes what the model shows and queues model events on the
// queue of the window concerned, whose own program thread then handles them.
//
// Windows are named by their id (WindowPresentation::id), controls by field number.
// Input to a window that takes no input (a later window of its thread or a message box of
// its thread is open) is refused, as is input to a hidden or disabled control.
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
  kTakesNoInput,   // window blocked by a later window or message box of its thread
  kDisabled,       // control disabled or hidden
  kNotApplicable,  // the control does not take this kind of input
  kBadValue,       // e.g. an answer that is not one of the box's buttons
};
const char* InputResultName(InputResult r);

class ViewInput {
 public:
  // A button pressed or a menu item chosen: its standard action, if it has one, and for
  // buttons and items without one EVENT:Accepted. `clipboard`: the system clipboard's text
  // when the view has one (used by the paste action).
  static InputResult Press(LONG window, LONG field, std::optional<std::string> clipboard = {});
  // Text typed into an editable control, replacing its text; with `accept`, the control is
  // then accepted (EVENT:Accepted) as when the person leaves it.
  static InputResult Type(LONG window, LONG field, std::string_view text, bool accept);
  // A key pressed while `field` has the focus (0: the window's focused control): an alert
  // key raises EVENT:AlertKey; Enter presses the default button; otherwise the control's
  // own handling (none for the controls of this issue).
  static InputResult Key(LONG window, LONG field, LONG keyCode, LONG keyChar);
  // The close box, the system menu's Close, Alt+F4: EVENT:CloseWindow, appended.
  static InputResult Close(LONG window);
  // The person resized or moved the window (dialog units). The size never goes below the
  // window's minimum; EVENT:Sized (EVENT:Moved) follows when the window reports them.
  static InputResult Resize(LONG window, LONG width, LONG height);
  static InputResult Move(LONG window, LONG x, LONG y);
  // The person made the window the active one (clicked it, chose it in the window list):
  // EVENT:GainFocus when it was not active.
  static InputResult Activate(LONG window);
  // The focus moved to a control (clicked or tabbed to it).
  static InputResult Focus(LONG window, LONG field);
  // The pointer rests on a control or menu item (0 = on none): its message goes to the
  // status bar.
  static InputResult Hover(LONG window, LONG field);
  // A message box answered with one of its buttons.
  static InputResult AnswerMessage(LONG message, LONG button);
};

}  // namespace qx
