// Standard actions: what a menu item or button does by itself, without the program taking
// part, by the number the window description stores.
#pragma once

#include "runtime/text/types.h"

namespace qx {

enum StandardAction : LONG {
  kStdNone = 0,
  kStdWindowList = 0x01,    // a menu: the library appends the frame's open child windows
  kStdTile = 0x02,
  kStdCascade = 0x03,
  kStdArrangeIcons = 0x04,
  kStdHelpContents = 0x05,
  kStdHelpOnHelp = 0x06,
  kStdHelpSearch = 0x07,
  kStdContextHelp = 0x08,   // help on the window's help id
  kStdCut = 0x0A,           // on the control that has the focus
  kStdCopy = 0x0B,
  kStdPaste = 0x0C,
  kStdClose = 0x0F,         // EVENT:CloseWindow to the window (for a frame's menu: the frame)
  kStdPrintSetup = 0x10,    // the printer set-up dialog
};

// The message a help action shows while the program has set no help file.
inline constexpr const char* kNoHelpFileText = "No help file is available for this program.";
inline constexpr const char* kNoHelpFileCaption = "Help";

}  // namespace qx
