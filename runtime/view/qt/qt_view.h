// The Qt view: the window library's windows as Qt 6 Widgets on a display (DESIGN §7).
//
// Every View call copies what it gets and posts it to the GUI thread (the process's main
// thread, where Run runs the Qt event loop); it never touches a widget itself and never
// waits, except SaveScreenshot, which waits for the GUI thread. A window the program opens
// or redraws is acknowledged (DrawnAck) once it has been painted on the screen.
#pragma once

#include <memory>

#include "runtime/win/view.h"

namespace qx {

// Creates the QApplication (on the calling thread, which must be the process's main thread
// and the one that calls Run) and the view. Nothing when no display can be reached: the Qt
// platform would end the process, so the caller falls back to the headless view. `argc`
// and `argv` must outlive the view (Qt keeps them).
std::unique_ptr<View> CreateQtView(int& argc, char** argv);

}  // namespace qx
