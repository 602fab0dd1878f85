// Buttons; see button_control.h.
#include "runtime/win/button_control.h"

namespace qx {

InputResult ButtonControl::OnPress(InputContext& window, const std::optional<std::string>& clipboard) {
  if (desc_.standardAction != 0) window.RunStandardAction(desc_.standardAction, field(), clipboard);
  Event e;
  e.number = kEventAccepted;
  e.field = field();
  e.keyCode = 0x01;  // the left mouse button
  e.fromInput = true;
  window.Queue(e);
  return InputResult::kDone;
}

}  // namespace qx
