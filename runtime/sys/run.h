// Child programs: starting a program from a command line, with or without waiting for
// it, and the search that finds a program named without a directory.
#pragma once

#include <string>
#include <string_view>

#include "runtime/text/types.h"

namespace qx {

// The program file a program name stands for. A name without a directory ("qxshift.exe",
// "RECFIX") is looked for in the running program's own directory, then in the current
// directory, then in each directory of PATH (an empty entry being the current
// directory); a name with a directory is taken relative to the current directory. In each
// place the name matches without regard to case, as written and with its ".exe" removed
// (or with ".exe" added when it has none). The first regular file that may be executed
// wins.
// Returns its path, with the error code 0; or "" with the error code 2 "File Not Found"
// when nothing of that name was found, 5 "Access Denied" when only files that may not be
// executed were.
std::string RtFindProgram(std::string_view name);

// Starts the program of `commandLine` as a child process. No shell takes part: the
// command line is split into words by the rules of RtCommand (command_line.h); the program
// name is found by RtFindProgram and the other words are the child's arguments. The child
// inherits the current directory, the environment and the standard streams (no other open
// file), and receives the command line exactly as written through kRtCommandLineVariable,
// so its own RtCommand reads the same words.
//   wait true:  returns when the child has ended; the runtime lock is given up meanwhile
//               (WaitOutsideRuntime), so other program threads go on. RtRunExitCode then
//               gives the child's exit code.
//   wait false: returns at once; the child is reaped when it ends (no zombie is left).
// Error code: 0 when the child was started; otherwise (nothing is started, nothing else
// changes) 2 when no program of that name was found (also for an empty command line),
// 3 when a directory named in front of the program is missing, 5 when the program may
// not be executed or the system refuses to start it.
void RtRun(std::string_view commandLine, bool wait);

// The exit code of the last child that RtRun waited for on this thread: the code the
// child ended with, or 128 plus the signal number when a signal ended it; 0 before any.
// A run without waiting, or one that could not start, leaves it unchanged.
LONG RtRunExitCode();

}  // namespace qx
