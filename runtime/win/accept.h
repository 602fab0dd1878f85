// The ACCEPT loop and the events of the calling thread's windows.
//
//   RtOpenWindow(w);
//   while (RtAccept()) {          // the next event of the thread's current window
//     switch (RtEvent()) { ... }
//     RtEndAcceptPass(0);         // 0: accepted, 1: refused
//   }
//   ...; RtExitAccept(0);
//
// Each window has one event queue; its events go to the program thread that opened it.
// Default actions at the end of a pass: an accepted EVENT:CloseWindow closes the window,
// EVENT:CloseDown is then the loop's last event, and the loop ends. A refused event has no
// default action. The loop also ends when the program closes the window itself.
#pragma once

#include "runtime/text/types.h"

namespace qx {

// Waits (outside the runtime lock) for the next event of the calling thread's current
// window and makes it the current event; true when there is one, false when the window's
// loop has ended (or the thread has no open window). A pass still open is ended as
// accepted first. A nested loop (a window opened inside a pass of an earlier one) runs on
// the later window; when it ends, RtExitAccept hands the events back to the earlier loop.
bool RtAccept();
// Ends the current pass: 0 accepts the event, any other value refuses it.
void RtEndAcceptPass(LONG result);
// Leaves the loop context of the procedure (at its exit): the calling thread's events are
// again those of the loop it was inside, if any.
void RtExitAccept(LONG result);

// The current event: its number, the field of its control (0 = the window), and that
// field when the event is EVENT:Accepted (else 0). All 0 outside a loop.
LONG RtEvent();
LONG RtField();
LONG RtAccepted();
// The field of the control that has the focus in the calling thread's current window.
LONG RtFocus();

// The last key code and character of a person's input that any loop of the program took
// (2 = the right mouse button); events posted by the program leave them as they were.
LONG RtKeyCode();
LONG RtKeyChar();
void RtSetKeyCode(LONG keyCode);

// Moves the focus in the calling thread's current window to control `field`; a control
// that cannot take the focus passes it to the next one that can. `field` 0 starts the
// accept-all pass: every control that takes part is accepted in turn (EVENT:Accepted for
// each, PropAcceptAll true meanwhile) and EVENT:Completed follows; a refused event stops
// the pass. `start` and `end` are kept for the list and entry controls (unused here).
void RtSelect(LONG field, LONG start = 0, LONG end = 0);

// Queues `event` for control `field` (0 = the window) of thread `thread`'s current window
// (thread 0 = the calling thread): at the back of its queue, or ahead of the waiting
// events when `front` is not 0. Nothing when that thread has no open window.
void RtPost(LONG event, LONG field = 0, LONG thread = 0, LONG front = 0);

}  // namespace qx
