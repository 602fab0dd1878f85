// Menu items; see menu_item_control.h.
#include "runtime/win/menu_item_control.h"

namespace qx {

InputResult MenuItemControl::OnPress(InputContext& window, const std::optional<std::string>& clipboard) {
  if (desc_.separator) return InputResult::kNotApplicable;
  if (desc_.standardAction != 0) {
    window.RunStandardAction(desc_.standardAction, field(), clipboard);
    return InputResult::kDone;
  }
  Event e;
  e.number = kEventAccepted;
  e.field = field();
  e.fromInput = true;
  window.Queue(e);
  return InputResult::kDone;
}

}  // namespace qx
