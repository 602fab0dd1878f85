// The per-thread error state of the runtime: the error code of the last statement that
// sets one (0 = success), the runtime's text for each code, and the file driver's own
// detail code and message for its last failure.
//
// Every program thread has its own state, zero when the thread starts. Statements that
// act on files, directories and records set it; code reads it right after the statement
// whose outcome it acts on.
#pragma once

#include <string>
#include <string_view>

#include "runtime/text/types.h"

namespace qx {

// Error codes of the runtime and its file driver that the programs test or meet.
enum RtError : LONG {
  kNoError = 0,
  kFileNotFound = 2,           // "File Not Found"
  kPathNotFound = 3,           // "Path Not Found"
  kAccessDenied = 5,           // "Access Denied"
  kEntryNotFound = 30,         // "Entry Not Found" (a queue entry)
  kFileIsLocked = 32,          // "File Is Already Locked"
  kRecordNotAvailable = 33,    // "Record Not Available"
  kRecordNotFound = 35,        // "Record Not Found"
  kInvalidDataFile = 36,       // "Invalid Data File"
  kFileNotOpen = 37,           // "File Not Open"
  kCreatesDuplicateKey = 40,   // "Creates Duplicate Key"
  kKeyFileMustBeRebuilt = 46,  // "Key File Must Be Rebuilt"
  kInvalidRecordDeclaration = 47,  // "Invalid Record Declaration"
  kUnableToLogTransaction = 48,    // "Unable To Log Transaction"
  kFileAlreadyOpen = 52,       // "File Already Open"
  kNoCreateAttribute = 54,     // "No Create Attribute"
  kLogoutAlreadyActive = 56,   // "LOGOUT Already Active"
  kUnsupportedDriverFunction = 80,  // "Unsupported File Driver Function"
  kRecordChanged = 89,         // "Record Changed By Another Station"
  kFileSystemError = 90,       // "File System Error"
  kLogoutNotActive = 91,       // "LOGOUT Not Active"
};

// The error code of the last statement on this thread.
LONG RtErrorCode();

// The runtime's message text for the current error code (empty for 0 and for a code
// without a text). The original pushed it on the string stack; here it is returned.
std::string RtPushErrorText();

// The runtime's text for any code; empty when the code has none.
std::string_view RtErrorTextFor(LONG code);

// The file driver's own code (as text) and message for its last failure on this thread;
// empty when the driver recorded none since the error state was last set.
std::string RtPushFileErrorCode();
std::string RtPushFileErrorText();

// Set by the statements themselves. RtSetError clears the driver's detail; RtSetFileError
// sets the code together with the driver's detail code and message.
void RtSetError(LONG code);
void RtSetFileError(LONG code, std::string_view driverCode, std::string_view driverMessage);
inline void RtClearError() { RtSetError(kNoError); }

}  // namespace qx
