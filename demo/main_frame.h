// MainFrame, qxmora's frame procedure: it creates and opens the application frame
// "P1$APPFRAME", checks and converts the four data files when the frame opens, runs the
// frame's event loop, and returns when the frame has closed.
//
// Started with a first command-line argument naming a directory it can change into, the
// frame works there and closes itself once the check is done (batch mode); otherwise it
// checks the directory it was started in and stays open until the user closes it.
//
// What the frame does for its Browse menu and toolbar (the other menu items are the
// window library's standard actions):
//   Browse menu items           each choice starts the file's browse (demo/browses.h) on a
//                               new thread with a 50,000-byte stack; a further choice
//                               starts a further browse, also of the same file
//   "Reset Old Data Files"      copies Orig/Encrypt.TPS, Standrd.TPS, Var.TPS and
//                               VeryLong.TPS of the start directory over those in the start
//                               directory and its Data sub-directory, then says so in a
//                               message box; a file that could not be copied (its Orig copy
//                               missing, say) is left as it was, and the box then names it
//                               and why instead; variable.tps is left alone
//   "1. Change Working ..."     makes the current directory's Data sub-directory the working
//                               directory, unless the current directory is named "Data"
//   "2. Convert Data ..."       starts "qxshift.exe <working directory>" without waiting,
//                               the directory quoted as the converter's first word
//   "Close"                     closes the frame
// Reset, change and convert first post EVENT:CloseWindow to threads 2 to 64 (the browses,
// or the update form a browse has open) and do not wait for them. Nothing is reported
// when the change of directory or the start of a program fails.
#pragma once

namespace qx {

// The frame procedure. Clears CurrentRequest and CurrentResponse at entry and leaves
// CurrentResponse = 2 at its end. Runs on the main thread.
void MainFrame();

}  // namespace qx
