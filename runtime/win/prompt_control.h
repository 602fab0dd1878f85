// A prompt: fixed text beside other controls. It takes no focus; selecting it passes the
// focus to the next control that can take it.
#pragma once

#include "runtime/win/control.h"

namespace qx {

class PromptControl : public Control {
 public:
  using Control::Control;
};

}  // namespace qx
