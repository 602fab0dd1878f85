// qxshift's main code and process entry.
#pragma once

namespace qx {

// The main code: ProgramErrors initialised (the welcome window comes up), ProgramIni
// initialised with "qxshift.INI" (read), the file set built, Main run; then ProgramIni
// shut down (written), the file set torn down and ProgramErrors shut down.
void ProgramMain();

// The process entry: registers the file-manager module and the program module (their
// initialisers run with phase 0, in that order), checks the runtime release (105h, 2, 0),
// runs ProgramMain unless the release is not supported, waits for the other threads and
// ends the process, with exit code 0 on every path.
[[noreturn]] void ProgramEntry();

}  // namespace qx
