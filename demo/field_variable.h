// A field of a record image as a variable of the window library: what a browse's list
// shows and an update form's entries take input into.
#pragma once

#include "runtime/store/layout.h"
#include "runtime/win/use_variable.h"

namespace qx {

// The variable of `field` inside the record image at `record` (of the field's layout).
UseVariable FieldVariable(unsigned char* record, const FieldDef& field);

}  // namespace qx
