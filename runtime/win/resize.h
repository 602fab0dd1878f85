// Resize support: what a window's controls do when the person resizes it.
//
//   ResizeRecord WindowResize;
//   RtOpenWindow(w); ResizeInit(WindowResize, 2);     // records the window as it opened
//   ... on EVENT:Sized: ResizeWindow(WindowResize);   // moves and sizes the controls
//   ... on EVENT:CloseDown: ResizeKill(WindowResize);
//
// Strategy by control kind: a button keeps its size and its distance from the nearer
// vertical edge and the nearer horizontal edge of the window as it opened (nearer to the
// button's centre); every other control keeps its position and size in proportion to the
// window's width and height. A control without a size of its own (a prompt sized to its
// text) keeps that and only moves. Positions and sizes are dialog units, rounded to whole
// units. Controls of the toolbar and the menu bar, and tabs, are left alone.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "runtime/text/types.h"

namespace qx {

struct ResizeWindowSize {
  LONG width = 0, height = 0;
};

struct ResizeControl {
  LONG field = 0;
  bool keepsSize = false;  // a button: keeps its size and its distance from the nearer edges
  LONG x = 0, y = 0;
  std::optional<LONG> width, height;
};

struct ResizeRecord {
  LONG window = 0;                         // the window recorded; 0 = none
  LONG mode = 0;                           // as ResizeInit was given it
  ResizeWindowSize ORIGWIN;                // the window's size at ResizeInit
  ResizeWindowSize PREVIOUSWIN;            // its size after the last ResizeWindow
  std::vector<ResizeControl> CONTROLQUEUE; // every control with a position, as at ResizeInit
};

// Records the calling thread's current window: its size and the position and size of each
// of its controls with the strategy of the control's kind. `mode` is kept (the programs
// pass 2: a strategy chosen by the control's kind). Nothing recorded when the thread has
// no open window.
void ResizeInit(ResizeRecord& record, LONG mode);
// Moves and sizes the recorded controls for the window's size now, and redraws it. Nothing
// when the record holds no window or the window is gone.
void ResizeWindow(ResizeRecord& record);
// Forgets what ResizeInit recorded.
void ResizeKill(ResizeRecord& record);

}  // namespace qx
