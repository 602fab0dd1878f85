// The use counts of qxmora's data files; see use_counts.h.
#include "demo/use_counts.h"

#include "runtime/win/threads.h"

namespace qx {

QX_THREAD_GLOBAL(LONG, StandrdUseCount);
QX_THREAD_GLOBAL(LONG, EncryptUseCount);
QX_THREAD_GLOBAL(LONG, VeryLongNameUseCount);
QX_THREAD_GLOBAL(LONG, VarnameUseCount);

}  // namespace qx
