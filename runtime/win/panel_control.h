// A panel: a plain rectangle, with or without a bevel, that groups other controls.
#pragma once

#include "runtime/win/control.h"

namespace qx {

class PanelControl : public Control {
 public:
  using Control::Control;
};

}  // namespace qx
