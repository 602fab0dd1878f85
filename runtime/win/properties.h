// Property numbers of windows and controls (RtGetProperty, RtSetProperty).
//
// Values travel as text: numbers in decimal, truth as "1" or "" (empty text is false, as
// the runtime tests a text for truth). Sizes and positions are in dialog units of the
// window's font. Numbers 7C00h to 7DFFh are the runtime's.
#pragma once

#include "runtime/text/types.h"

namespace qx {

enum PropertyNumber : LONG {
  kPropText = 0x7C00,        // window title; control text
  kPropXPos = 0x7C02,
  kPropYPos = 0x7C03,
  kPropWidth = 0x7C04,
  kPropHeight = 0x7C05,
  kPropDisabled = 0x7C11,    // control: "1" when it takes no input
  kPropHidden = 0x7C12,      // control: "1" when it is not shown
  kPropReadOnly = 0x7C13,    // control: "1" when its text cannot be edited
  kPropStatusText = 0x7C20,  // window: text of a status bar section (index 1 = first)
  kPropSelectedRow = 0x7C41, // list: the highlighted row (entry number, 0 = none);
                             // sheet: the selected tab (1 = the first)
  kPropVisibleRows = 0x7C42, // list, read only: how many rows its height shows
  kPropScrollBar = 0x7C43,   // list: "1" shows the vertical scroll bar (range 0 to 100), ""
                             // or "0" hides it
  kPropThumb = 0x7C44,       // list: the vertical scroll bar's thumb, 0 to 100 (101 and more
                             // are kept and drawn at the end)
  kPropFormat = 0x7C45,      // list, read only: its FORMAT string
  kPropAcceptAll = 0x7C9A,   // window, read only: "1" while the accept-all pass runs
  kPropMinWidth = 0x7CAD,
  kPropMinHeight = 0x7CAE,
  kPropAlertKeys = 0x7D06,   // control: key code of alert key `index` (1 to 255); 0 = none
};

}  // namespace qx
