// Opening one of qxmora's data files for use: the one routine through which the browses
// and the update forms open their file. It turns each way the opening can fail into one
// repair step or a warning (demo/warnings.h): a file held locked gets the driver's
// lock-recovery option and one more attempt, a missing file is created when the caller
// allows it, a file whose key data must be rebuilt is rebuilt once the user agrees, and
// every failure it cannot repair ends the program.
#pragma once

#include "runtime/store/file.h"
#include "runtime/text/types.h"

namespace qx {

// Opens the calling thread's instance of `file` and returns only with it open (OPEN
// reported 0, or 52 "File Already Open"); every other outcome ends the program (RtHalt,
// exit code 0) after its warning, each warning naming the file by NAME(file).
//
// Every OPEN here uses the mode M: 42h (read and write, others may read and write) when
// `SharedAccess` is not 0, otherwise `AccessMode` (access modes: runtime/store/file.h).
//
//   32 "File Is Already Locked"  SEND "Recover=10" (the next OPEN waits up to 10 seconds
//                                for the holder), then OPEN once more; never a second time
//   2 "File Not Found"           `MissingIsError` not 0: reported as below ("File Access
//                                Error"), whatever `CreateAllowed` says; else with
//                                `CreateAllowed` 1: CREATE then OPEN, warning 4 "File
//                                Creation Error" when CREATE fails and warning 5 when the
//                                OPEN after it fails (the created file stays); any other
//                                `CreateAllowed`: warning 4
//   47 "Invalid Record Declaration"  warning 1 "Invalid File"
//   46 "Key File Must Be Rebuilt"    warning 2 "Invalid Key" asks; No ends the program;
//                                Yes: BUILDfile (warning 3 "Key Rebuild Error" when it
//                                fails), then OPEN, whose failure is reported as below
//   any other code (5, 36, 90, 32 again ...)  warning 30 "File Access Error" with the
//                                error of the last OPEN, then the halt "Disk Error"
//
// Every caller of this program passes CreateAllowed 1, MissingIsError 0, AccessMode 0 and
// SharedAccess 1.
void OpenDataFile(FileDecl& file, BYTE CreateAllowed, BYTE MissingIsError, BYTE AccessMode, BYTE SharedAccess);

}  // namespace qx
