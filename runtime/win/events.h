// Event numbers of the window library and the event record that a window's queue holds.
//
// Numbers are the runtime's own; the programs dispatch on them. An event names the control
// it concerns by field number (0 = the window itself) and, when a person's key or mouse
// button caused it, carries that key code and character.
#pragma once

#include <string>

#include "runtime/text/types.h"

namespace qx {

enum EventNumber : LONG {
  kEventAccepted = 0x01,
  kEventNewSelection = 0x02,
  kEventScrollUp = 0x03,
  kEventScrollDown = 0x04,
  kEventPageUp = 0x05,
  kEventPageDown = 0x06,
  kEventScrollTop = 0x07,
  kEventScrollBottom = 0x08,
  kEventAlertKey = 0x0F,
  kEventScrollDrag = 0x14,
  kEventTabChanging = 0x15,
  kEventRejected = 0x1A,
  kEventSelected = 0x101,
  kEventCloseWindow = 0x201,
  kEventCloseDown = 0x202,
  kEventOpenWindow = 0x203,
  kEventGainFocus = 0x206,
  kEventCompleted = 0x225,
  kEventMoved = 0x230,
  kEventSized = 0x231,
};

// The runtime's name of an event number ("EVENT:CloseWindow"); "EVENT:" followed by the
// number in hex for numbers without a name ("EVENT:3E8h").
std::string EventName(LONG number);

struct Event {
  LONG number = 0;
  LONG field = 0;     // control the event concerns; 0 = the window
  LONG keyCode = 0;   // key code of the input that caused it; 0 = none (posted events)
  LONG keyChar = 0;   // character of that key; 0 = none
  bool fromInput = false;  // made by a person's input (so it sets the last key code)
};

}  // namespace qx
