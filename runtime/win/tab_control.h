// A tab of a sheet (sheet_control.h): its text, state and colours, and the controls that
// lie on it (its children). Selecting a tab with RtSelect makes it the sheet's selected tab.
#pragma once

#include "runtime/win/control.h"

namespace qx {

class TabControl : public Control {
 public:
  using Control::Control;
};

}  // namespace qx
