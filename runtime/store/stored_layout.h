// The layout a data file holds: its fields, keys and attributes, as a program that
// builds declarations at run time reads them (a conversion, a data maker).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/store/layout.h"
#include "runtime/sys/error_state.h"

namespace qx {

struct StoredLayout {
  RecordLayout layout;
  std::vector<KeyDef> keys;
  bool encrypted = false;
};

// Reads the stored layout of the data file `name` (".TPS" added when it has no extension,
// matched without regard to case), deciphering it with `owner` when that is not empty.
// Reads only; while it reads it counts as a reader that denies nothing. Returns the code it sets: 0; 2 missing; 5 wrong owner
// password; 36 not a data file of ours; 90 damaged; 32 locked past the wait.
LONG ReadStoredLayout(std::string_view name, std::string_view owner, StoredLayout* out);

}  // namespace qx
