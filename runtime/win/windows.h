// Window objects: built from a module's description, opened on the calling program
// thread, drawn from their USE variables, closed and destroyed; and their properties.
//
// A window object names a window by number. It may be copied (it is a reference, like
// the programs' window variables); once the window is disposed every copy names nothing,
// and operations on such a reference do nothing.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "runtime/win/use_variable.h"

namespace qx {

struct WindowRef {
  LONG id = 0;
  explicit operator bool() const { return id != 0; }
};

// Builds a window object, not yet open, from the description `label` of module `module`
// (both without regard to case), binding `variables` to the controls that take a USE
// variable, in creation order (menus, then toolbar controls, then the window's controls);
// surplus variables are ignored, controls left without one show their description text.
// RtNewWindow makes a plain window, RtNewAppFrame the application (MDI) frame,
// RtNewMdiWindow a child window of the frame (when no frame is open as it opens, it opens
// without one and is asked to close at once: EVENT:OpenWindow, then EVENT:CloseWindow). An unknown module or label leaves `window` naming nothing and is reported on
// stderr. A control of a kind the library does not know is kept as a plain control.
void RtNewWindow(WindowRef& window, std::string_view module, std::string_view label,
                 std::initializer_list<UseVariable> variables = {});
void RtNewAppFrame(WindowRef& window, std::string_view module, std::string_view label,
                   std::initializer_list<UseVariable> variables = {});
void RtNewMdiWindow(WindowRef& window, std::string_view module, std::string_view label,
                    std::initializer_list<UseVariable> variables = {});

// Opens and shows the window on the calling program thread, whose current window it
// becomes (the one opened last); the thread's earlier windows take no input while it is
// open. Its controls are drawn from their variables and EVENT:OpenWindow is its first
// event, followed by EVENT:GainFocus as it becomes the active window. An MDI child without
// a position (and not described as centred) is placed as windows cascade, a step right and
// down from the frame's child opened last. Returns once the view has drawn it. Nothing for
// a window that is open already.
void RtOpenWindow(const WindowRef& window);
// Closes the window; its waiting events are dropped and no more come. Nothing for a window
// that is not open.
void RtCloseWindow(const WindowRef& window);
// Closes the window if it is open and destroys it; `window` then names nothing.
void RtDisposeWindow(WindowRef& window);

// Redraws controls of the calling thread's current window from their variables: (0, 0)
// every control, (n, 0) control n, (m, n) the controls from m to n in creation order.
// Returns once the view has drawn the window. Nothing when the thread has no window.
void RtDisplay(LONG first = 0, LONG last = 0);

// Properties (properties.h). `field` 0 is the window itself, otherwise one of its controls.
// Without a window argument they act on the calling thread's current window. Reading a
// property that the target lacks, or of a target that does not exist, gives "".
std::string RtGetProperty(const WindowRef& window, LONG field, LONG property, LONG index = 0);
std::string RtGetProperty(LONG field, LONG property, LONG index = 0);
void RtSetProperty(const WindowRef& window, LONG field, LONG property, std::string_view value, LONG index = 0);
void RtSetProperty(LONG field, LONG property, std::string_view value, LONG index = 0);
// The property from the variable's value, as its text.
void RtSetPropertyFromVar(LONG field, LONG property, const UseVariable& value, LONG index = 0);
void RtSetPropertyFromVar(const WindowRef& window, LONG field, LONG property, const UseVariable& value,
                          LONG index = 0);

// The choice of control `field` of the calling thread's current window (0: the control of
// the current event): a list's selected row (its entry number), a sheet's selected tab
// (1 = the first); 0 for other controls, an empty list, or no such control.
LONG RtChoice(LONG field = 0);

// The window the calling thread opened last and that is still open (0 = none).
WindowRef RtCurrentWindow();

}  // namespace qx
