// Message tables of the error manager: the stored form in which a table of messages is
// handed to ErrorManager::AddMessages, and the class library's default table.
//
// Stored form (all numbers little-endian):
//   USHORT count
//   count times: USHORT id, BYTE category, title, text
// where title and text are each a length byte followed by that many characters (so at most
// 255 characters each). A category (the message's FATALITY) picks how the error manager
// shows the message; see ErrorLevel in error_manager.h.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/text/types.h"

namespace qx {

// One message of a table.
struct MessageDef {
  USHORT id = 0;
  BYTE category = 0;
  std::string title;
  std::string text;
};

// The stored form of `messages`. A title or text longer than 255 characters is cut to 255;
// more than 65535 messages are cut to the first 65535.
std::vector<unsigned char> EncodeMessageTable(const std::vector<MessageDef>& messages);

// The messages of a stored table, in order. A table that ends inside a message yields the
// messages before it; nothing is read past `table`'s end.
std::vector<MessageDef> DecodeMessageTable(std::span<const unsigned char> table);

// Ids of the class library's default messages.
enum DefaultMessage : USHORT {
  kMsgOpenFailed = 1,       // a file could not be opened (fatal)
  kMsgCreateFailed = 2,     // a file could not be created (fatal)
  kMsgRebuildKeys = 3,      // a file's key data must be rebuilt: rebuild now? (question)
  kMsgAddFailed = 4,        // a record could not be added (program error)
  kMsgPutFailed = 5,        // a record could not be written (program error)
  kMsgDeleteFailed = 6,     // a record could not be deleted (program error)
  kMsgConfirmDelete = 7,    // delete the highlighted record? (question, may cancel)
  kMsgRecordChanged = 8,    // the record was changed by another station (notice)
  kMsgDuplicateKey = 9,     // the record would make a duplicate key (notice)
  kMsgFieldRequired = 10,   // a field may not be left blank (notice)
  kMsgRetryAutoNumber = 11, // an auto-number was taken meanwhile; the next is tried (benign)
  kMsgProcedureFailed = 12, // a procedure could not go on (of its own category: ends the program)
};

// The class library's default message table, in its stored form; ErrorManager::Init
// loads it.
std::span<const unsigned char> DefaultMessageTable();

}  // namespace qx
