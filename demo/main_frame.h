// MainFrame, qxmora's frame procedure: it creates and opens the application frame
// "P1$APPFRAME", checks and converts the four data files when the frame opens, runs the
// frame's event loop, and returns when the frame has closed.
//
// Started with a first command-line argument naming a directory it can change into, the
// frame works there and closes itself once the check is done (batch mode); otherwise it
// checks the directory it was started in and stays open until the user closes it.
#pragma once

namespace qx {

// The frame procedure. Clears CurrentRequest and CurrentResponse at entry and leaves
// CurrentResponse = 2 at its end. Runs on the main thread.
void MainFrame();

}  // namespace qx
