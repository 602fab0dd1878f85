// Message boxes, the beep and the cursor.
#pragma once

#include <string_view>

#include "runtime/win/description.h"
#include "runtime/win/presentation.h"

namespace qx {

// Shows a message box and waits (outside the runtime lock) until it is answered; returns
// the value of the button pressed. `text`: "|" starts a new line. `icon`: a system icon
// number (kIconInformation ...), 0 for none. `buttons`: a sum of kButton* values, 0 for
// one OK button. `defaultButton`: the button Enter presses and that a box without an
// automation client takes; 0 or a value that is not among the buttons means the first
// button (in the order OK, Yes, No, Abort, Retry, Ignore, Cancel). `style` is kept for
// the programs' calls; every box is application-modal: the calling thread's windows take
// no input until it is answered, other threads' windows do.
LONG RtMessage(std::string_view text, std::string_view caption = {}, LONG icon = 0, LONG buttons = 0,
               LONG defaultButton = 0, LONG style = 0);

// The platform's beep (`sound` 150 is the default beep; `flags` kept for the calls).
void RtBeep(LONG sound = 150, LONG flags = 0);

// Makes `cursor` the current cursor: kCursorWait shows the wait cursor, 0 (or any other
// value) restores the normal one.
constexpr LONG kCursorWait = 32514;
void RtSetCursor(LONG cursor);

}  // namespace qx
