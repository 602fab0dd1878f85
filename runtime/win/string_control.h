// A string control: the value of its USE variable through its display picture; the
// programs' strings are display only. Without a variable it shows its description text.
#pragma once

#include "runtime/win/control.h"

namespace qx {

class StringControl : public Control {
 public:
  using Control::Control;
  bool ConsumesVariable() const override { return true; }
  void Display() override;
};

}  // namespace qx
