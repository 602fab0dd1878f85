// Popup menus: a menu built from a text, shown by the view at the pointer, and the number
// of the item the person chose.
#pragma once

#include <string_view>
#include <vector>

#include "runtime/win/presentation.h"

namespace qx {

// The items of a popup text: "|" separates items, a leading "~" greys an item (it shows
// but cannot be chosen; the "~" is not part of its text). "&Insert|~&Change" is two items.
std::vector<PopupItemPresentation> ParsePopupText(std::string_view text);

// Shows the menu over the calling thread's current window and waits (outside the runtime
// lock) until the person chooses an item or dismisses the menu; returns the item's number
// (1 = the first) or 0 for none. The thread's windows take no input meanwhile. The last key
// code (RtKeyCode) becomes that of the person's answer: the left button for an item, Esc
// for none, so that a right click that opened the menu does not count again. 0 at once
// when the text has no item or no view is installed (written to stderr as "qxrt popup:").
LONG RtPopup(std::string_view text);

}  // namespace qx
