// A button: text and/or icon, font, colours and justification of its own. Pressing it runs
// its standard action, if it has one, and raises EVENT:Accepted for it; Enter presses the
// window's default button.
#pragma once

#include "runtime/win/control.h"

namespace qx {

class ButtonControl : public Control {
 public:
  using Control::Control;
  bool TakesFocus() const override { return true; }
  InputResult OnPress(InputContext& window, const std::optional<std::string>& clipboard) override;
};

}  // namespace qx
