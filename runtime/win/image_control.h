// An image control: a system icon by number, or an icon, BMP or JPEG image of the
// program's resources (decoded by the views through image.h). Without a size it takes the
// image's own size.
#pragma once

#include "runtime/win/control.h"

namespace qx {

class ImageControl : public Control {
 public:
  using Control::Control;
  void Present(ControlPresentation& out) const override {
    Control::Present(out);
    if (out.icon.empty() && !desc_.text.empty()) out.icon.resource = desc_.text;
  }
};

}  // namespace qx
