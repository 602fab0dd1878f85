// A menu item, or a separator between items. Choosing an item runs its standard action
// when it has one (the program does not take part); an item without one raises
// EVENT:Accepted for its field.
#pragma once

#include "runtime/win/control.h"

namespace qx {

class MenuItemControl : public Control {
 public:
  using Control::Control;
  InputResult OnPress(InputContext& window, const std::optional<std::string>& clipboard) override;
};

}  // namespace qx
