// The process entry of a program built on the runtime.
#pragma once

namespace qx {

// Environment variable that forces the view: "headless" or "qt".
inline constexpr const char* kViewVariable = "QXRT_VIEW";
// How long (milliseconds) a program with the automation channel on waits for its first
// client before it starts; default 10000.
inline constexpr const char* kAutomationWaitVariable = "QXRT_AUTOMATION_WAIT_MS";

// Runs a program: gives the process the user's locale for dates only (RtUseUserDateLocale,
// runtime/text/date_layout.h), records the command line, chooses the view (QXRT_VIEW
// forces one; otherwise Qt when it is linked in and a display is there, else headless),
// opens the automation channel when QXRT_AUTOMATION names a socket (and waits for its
// first client), runs the view on the calling (the process's main) thread and
// `programEntry` as program thread 1. The process ends through RtTerminate (also when
// `programEntry` returns: exit code 0); this function returns only when the view fails to
// start, with exit code 1.
int RtRunProgram(int argc, char** argv, void (*programEntry)());

}  // namespace qx
