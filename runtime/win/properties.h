// Property numbers of windows and controls (RtGetProperty, RtSetProperty).
//
// Values travel as text: numbers in decimal, truth as "1" or "" (empty text is false, as
// the runtime tests a text for truth). Sizes and positions are in dialog units of the
// window's font. Numbers 7C00h to 7DFFh are the runtime's; the list control's properties
// (thumb, selected row, visible rows, scroll bar) take numbers in the same range when the
// list arrives, beside the ones below.
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
  kPropAcceptAll = 0x7C9A,   // window, read only: "1" while the accept-all pass runs
  kPropMinWidth = 0x7CAD,
  kPropMinHeight = 0x7CAE,
  kPropAlertKeys = 0x7D06,   // control: key code of alert key `index` (1 to 255); 0 = none
};

}  // namespace qx
