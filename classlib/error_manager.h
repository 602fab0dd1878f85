// The error manager: a program's table of messages, and how a raised message reaches the
// person: by its category, through the manager's seven virtual operations (its slots),
// with the placeholders of its text filled in.
//
//   ErrorManager errors;
//   errors.Init();                       // loads the default messages (through slot 0)
//   errors.NameCurrentProcedure("Main"); // "%Procedure" of this thread
//   errors.ThrowFile(kMsgOpenFailed, "STANDRD");   // shown by the slot its category names
//   errors.NameCurrentProcedure("", true);
//   errors.Shutdown();
//
// Dispatch of a raised message by its category (FATALITY):
//   0 Benign          slot 1 ReturnBenign     nothing shown; result 0
//   1 User, 4 Cancel  slot 6 ShowQuestion     Yes / No; result 0 for Yes, 4 otherwise
//   2 Program         slot 5 ForwardToFatal   which calls slot 2
//   3 Fatal           slot 2 Fatal            shown, then the program ends (exit code 0)
//   5 Notify          slot 3 ShowNotice       shown with OK; result 5
//   any other         slot 4 ForwardToSlot5   which calls slot 5, which calls slot 2
// Slots 4 and 5 call on through the object's own virtual operations, so a derived class's
// overrides of slots 5 and 2 run in that chain.
//
// Placeholders, replaced wherever they stand in a message's text (the inserted texts are
// not searched again):
//   %File       FILENAME: the file the message is about
//   %ErrorText  the error kept when the message was raised: the runtime's text and the
//               code in brackets ("File Not Found (2)"), and for 90 "File System Error"
//               also the file driver's message and its code; empty when the code was 0
//   %Field      FIELDNAME
//   %Message    MESSAGETEXT
//   %Procedure  the calling thread's current procedure name (blank when none)
//
// Threads: one manager serves every program thread of a program; the platform runs one
// program thread at a time (runtime/sys/runtime_lock.h), so the manager takes no lock of
// its own. The procedure names are kept per program thread.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/text/types.h"

namespace qx {

// The categories of messages, and the levels the dispatch returns.
enum ErrorLevel : BYTE {
  kLevelBenign = 0,
  kLevelUser = 1,
  kLevelProgram = 2,
  kLevelFatal = 3,
  kLevelCancel = 4,
  kLevelNotify = 5,
};

// An entry of the message list.
struct ErrorEntry {
  USHORT ID = 0;
  std::string MESSAGE;  // the text, with its placeholders
  std::string TITLE;    // the caption of its box
  BYTE FATALITY = 0;    // the category
};

// An entry of the procedure-name list: a name and the program thread that gave it.
struct ProcNameEntry {
  LONG THREAD = 0;
  std::string NAME;
};

class ErrorManager {
 public:
  ErrorManager() = default;
  virtual ~ErrorManager() = default;
  ErrorManager(const ErrorManager&) = delete;
  ErrorManager& operator=(const ErrorManager&) = delete;

  // Makes the message list and loads the default message table into it through slot 0
  // (AddMessages of the object's own class), then makes the procedure-name list. A second
  // Init starts both lists afresh.
  void Init();
  // Releases both lists; Throw then finds no message.
  void Shutdown();

  // With a name: it becomes the calling thread's current procedure name (appended to
  // PROCNAMES with the thread). With `omitted`: the thread gives its current name up (its
  // latest entry is removed, when it has one and its name is not blank), so the name
  // before it is current again; a blank latest entry stays, and so does its blank name.
  // Nothing before Init or after Shutdown.
  void NameCurrentProcedure(std::string_view name, bool omitted = false);
  // The calling thread's current procedure name; "" when it has none.
  std::string CurrentProcedureName() const;

  // ---- The seven virtual operations, in slot order -----------------------------------

  // Slot 0: appends one entry to ERRORS per message of a stored table (message_table.h).
  // Nothing before Init.
  virtual void AddMessages(std::span<const unsigned char> table);
  // Slot 1: shows nothing; returns kLevelBenign.
  virtual BYTE ReturnBenign();
  // Slot 2: shows the current message (substituted text followed by "  Press OK to end
  // this application", its title as caption, OK), then ends the program with exit code 0
  // through the runtime's halt, which shows the title in a box captioned "Halt".
  virtual void Fatal();
  // Slot 3: shows the current message with an OK button.
  virtual void ShowNotice();
  // Slot 4: calls slot 5 and returns its result.
  virtual BYTE ForwardToSlot5();
  // Slot 5: calls slot 2; returns kLevelFatal should slot 2 return.
  virtual BYTE ForwardToFatal();
  // Slot 6: shows the current message with Yes and No, Yes the default; returns
  // kLevelBenign for Yes, kLevelCancel otherwise.
  virtual BYTE ShowQuestion();

  // ---- Raising messages ---------------------------------------------------------------

  // Raises message `id`: it becomes the current message, the calling thread's error state
  // is kept (SAVEERROR ...), and the message goes to the slot its category names (above);
  // returns that slot's level (kLevelFatal for a category that ends in slot 2, should it
  // return). Of several entries with the id the one added last counts, so a program's own
  // table can replace a default message. An id without an entry (or a Throw before Init)
  // raises, as a program error, "Unknown error posted: " and the id, titled "Unknown Error".
  BYTE Throw(USHORT id);
  // FILENAME := `file` (MESSAGETEXT := `text`), then Throw.
  BYTE ThrowFile(USHORT id, std::string_view file);
  BYTE ThrowMessage(USHORT id, std::string_view text);

  void SetFile(std::string_view file) { FILENAME = file; }
  void SetField(std::string_view field) { FIELDNAME = field; }

  // The current message, and its text with the placeholders filled in.
  const ErrorEntry& CurrentMessage() const { return current_; }
  std::string SubstitutedText() const;

  // ---- State ----------------------------------------------------------------------------

  std::unique_ptr<std::vector<ErrorEntry>> ERRORS;
  CSTRING<255> FIELDNAME;
  CSTRING<255> FILENAME;
  CSTRING<255> MESSAGETEXT;
  std::unique_ptr<std::vector<ProcNameEntry>> PROCNAMES;
  CSTRING<255> SAVEERROR;          // the runtime's text of the kept error
  LONG SAVEERRORCODE = 0;          // its code
  CSTRING<255> SAVEFILEERROR;      // the file driver's message for it
  CSTRING<255> SAVEFILEERRORCODE;  // the file driver's own code, as text

 private:
  std::string ErrorText() const;

  ErrorEntry current_;
};

}  // namespace qx
