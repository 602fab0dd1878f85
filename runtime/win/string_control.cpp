// String controls; see string_control.h.
#include "runtime/win/string_control.h"

#include "runtime/win/picture_format.h"

namespace qx {

void StringControl::Display() {
  if (variable_.bound()) text_ = FormatForPicture(desc_.picture, variable_);
}

}  // namespace qx
