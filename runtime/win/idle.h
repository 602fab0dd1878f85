// Whether the program waits for a person: for whoever acts as one (tests, the automation
// channel's "idle" condition) to know that what is shown is the outcome of everything done
// so far. idle.cpp states what it means exactly. Not for the programs themselves.
#pragma once

namespace qx {

// True when every program thread waits for a person: in its event wait with nothing to
// take, in an unanswered message box, in an open popup menu, or waiting for other threads
// that all do so. Thread-safe; never blocks on program code.
bool ProgramIdle();

// Blocks until ProgramIdle() holds or `timeoutMs` passes; returns ProgramIdle(). Never call
// it from a program thread that holds the runtime lock: that thread is not idle.
bool WaitProgramIdle(int timeoutMs);

}  // namespace qx
