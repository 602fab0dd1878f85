// Main, qxshift's one window procedure: it builds the application frame "P1$APPFRAME"
// (module "qxshift$qxc001", title "Quorvane Converter", one fixed text) and runs it
// through a window manager of the class library whose initialisation, window-event
// handler and shut-down are the converter's own (MainWindowInit, MainWindowEvent,
// MainWindowShutdown; each calls the base operation it replaces).
//
//   MainWindowInit      names the procedure "Main" to ProgramErrors, closes the welcome
//                       window, makes the first command-line argument (when not blank)
//                       the current directory, and opens the frame;
//   MainWindowEvent     on EVENT:OpenWindow, after the base handling: CheckAndConvertFile
//                       for Standrd, Encrypt, VeryLongName and Varname; VHtemp removed
//                       when a file was converted; EVENT:CloseWindow posted to the frame
//                       when the first argument named a directory it changed into;
//   MainWindowShutdown  after the base shut-down, gives the procedure name up.
//
// Started with a directory it can change into, the frame converts there and closes itself;
// otherwise it converts the directory it was started in and stays open, showing "Files
// converted successfully or do not need conversion" whatever the pass did, until the user
// closes it. Nothing is reported to the user in either case.
#pragma once

namespace qx {

// Runs the frame from its creation to its disposal; leaves CurrentResponse = 2. Main
// thread only; ProgramErrors must be initialised.
void Main();

}  // namespace qx
