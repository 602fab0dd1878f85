// Key codes as the window library reports them (RtKeyCode, PropAlertKeys).
//
// A key code is the key's number with modifier bits added: Shift 100h, Ctrl 200h, Alt 400h.
// Mouse buttons have codes of their own (right button 2, double click of the left button 5).
#pragma once

#include "runtime/text/types.h"

namespace qx {

enum KeyCode : LONG {
  kKeyLeftMouse = 0x01,
  kKeyRightMouse = 0x02,
  kKeyMouseLeft2 = 0x05,  // double click of the left button
  kKeyMouseRight2 = 0x06, // double click of the right button
  kKeyBackspace = 0x08,
  kKeyTab = 0x09,
  kKeyEnter = 0x0D,
  kKeyEscape = 0x1B,
  kKeySpace = 0x20,
  kKeyPageUp = 0x21,
  kKeyPageDown = 0x22,
  kKeyEnd = 0x23,
  kKeyHome = 0x24,
  kKeyLeft = 0x25,
  kKeyUp = 0x26,
  kKeyRight = 0x27,
  kKeyDown = 0x28,
  kKeyInsert = 0x2D,
  kKeyDelete = 0x2E,
  kKeyA = 0x41,           // letters A to Z are 41h to 5Ah, digits 0 to 9 are 30h to 39h
  kKeyF1 = 0x70,
  kKeyQuote = 0xDE,  // the ' key

  kKeyShiftBit = 0x100,
  kKeyCtrlBit = 0x200,
  kKeyAltBit = 0x400,

  kKeyCtrlEnter = kKeyCtrlBit | kKeyEnter,  // 20Dh
  kKeyCtrlPageUp = kKeyCtrlBit | kKeyPageUp,      // 221h
  kKeyCtrlPageDown = kKeyCtrlBit | kKeyPageDown,  // 222h
  kKeyCtrlQuote = kKeyCtrlBit | kKeyQuote,  // 2DEh, the ditto key
};

}  // namespace qx
