// A menu of the menu bar (or a sub-menu): a title with items. A menu with the window-list
// standard action gets the frame's open child windows appended by the view.
#pragma once

#include "runtime/win/control.h"

namespace qx {

class MenuControl : public Control {
 public:
  using Control::Control;
};

}  // namespace qx
