// qxmora's warnings and its saved error state.
//
// Every report of a failed file operation, every question to the user and every fatal
// error of the browses, the update forms, the integrity routines and OpenDataFile goes
// through ShowWarning: a warning number picks one of 38 boxes (text, caption, icon,
// buttons, default button), the caller's texts and the text of the error in effect are
// put into it, and the box either returns the user's answer or ends the program.
//
// SaveErrorState keeps the error of a failed statement inside a transaction before it
// rolls the transaction back, so that the warning shown next reports that error and not
// what the rollback left behind.
//
// Threads: the saved error state is one set of globals for the whole program, shared by
// every browse thread without a lock of its own. The runtime lock (runtime/sys/
// runtime_lock.h) runs one program thread at a time and switches only while a thread waits
// inside the platform; SaveErrorState and the ShowWarning that consumes its state run one
// right after the other on the same thread with no such wait between them, and ShowWarning
// takes and clears the state before its box waits. Code outside the program threads must
// not touch the state while program threads may.
#pragma once

#include <string_view>

#include "runtime/text/types.h"

namespace qx {

// The saved error state: zero and empty at start and after every ShowWarning.
// SavedErrorCode 0 means nothing is kept; the next warning then reports the calling
// thread's current error state instead.
extern LONG SavedErrorCode;               // the code of the failed operation
extern CSTRING<255> SavedErrorText;       // the runtime's text for that code (at most 254)
extern LONG SavedFileErrorCode;           // the file driver's own code, as a number
extern CSTRING<255> SavedFileErrorText;   // the file driver's message (at most 254)

// Keeps the calling thread's current error: its code, the runtime's text for it, the file
// driver's code (its text form read as a whole number; 0 when it is none, such as the
// store's own "qx") and the driver's message; then ROLLBACK. The rollback's own outcome
// (91 "LOGOUT Not Active" when no transaction runs) is neither examined nor kept, and it
// becomes the thread's current error state.
void SaveErrorState();

// Values of the buttons a warning returns.
constexpr LONG kWarningOk = 1, kWarningYes = 2, kWarningNo = 4, kWarningRetry = 16, kWarningCancel = 64;

// Shows warning `number` (1 to 38) with the inserted texts `firstText` and `secondText`
// (each shown without its trailing blanks; leading blanks stay) and returns the value of
// the button pressed.
//
// The error text E of the warnings that name an error is the kept error when one is kept,
// else the calling thread's current one: the runtime's text and the code in brackets
// ("File Not Found (2)"); for code 90 "File System Error" the file driver's message and
// the driver's own code in brackets instead. E is cut to 150 characters and used without
// trailing blanks; a code without a text gives an E that begins with " (".
//
// Every call empties the saved error state, before its box is shown, whatever the number.
// A number without a warning (0, negative, above 38) shows nothing and returns 0.
// Warnings 34, 35 and 36 return 0 whatever is pressed: no caller reads their answer.
//
// Warnings 1, 3, 4, 5 and 22 end the program after their box, and warning 2 answered No:
// RtHalt with exit code 0 and the warning's halt text (runtime/win/program.h); they do not
// return then. Warning 2 answered Yes returns 2.
LONG ShowWarning(LONG number, std::string_view firstText = {}, std::string_view secondText = {});

}  // namespace qx
