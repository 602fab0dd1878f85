// The use counts of qxmora's four data files: thread globals (one copy per program thread,
// zero when the thread starts) that count the procedures of a thread using that thread's
// instance of the file. The first of them opens the file, the last closes it: a browse
// and the update form it calls on the same thread share one open instance.
#pragma once

#include "runtime/text/types.h"

namespace qx {

extern thread_local LONG StandrdUseCount;
extern thread_local LONG EncryptUseCount;
extern thread_local LONG VeryLongNameUseCount;
extern thread_local LONG VarnameUseCount;

}  // namespace qx
