// Message tables; see message_table.h.
#include "classlib/message_table.h"

#include <algorithm>

namespace qx {
namespace {

constexpr size_t kMaxText = 255;
constexpr size_t kMaxMessages = 65535;

void PutShort(std::vector<unsigned char>& out, USHORT v) {
  out.push_back(static_cast<unsigned char>(v & 0xFF));
  out.push_back(static_cast<unsigned char>(v >> 8));
}

void PutText(std::vector<unsigned char>& out, std::string_view s) {
  const size_t n = std::min(s.size(), kMaxText);
  out.push_back(static_cast<unsigned char>(n));
  out.insert(out.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n));
}

// Reads from `table` at `at`, moving `at` on; false when the table ends first.
bool GetShort(std::span<const unsigned char> table, size_t& at, USHORT* v) {
  if (table.size() - at < 2) return false;
  *v = static_cast<USHORT>(table[at] | (table[at + 1] << 8));
  at += 2;
  return true;
}

bool GetText(std::span<const unsigned char> table, size_t& at, std::string* s) {
  if (table.size() - at < 1) return false;
  const size_t n = table[at];
  if (table.size() - at - 1 < n) return false;
  s->assign(reinterpret_cast<const char*>(table.data() + at + 1), n);
  at += 1 + n;
  return true;
}

// The default messages. None of them is raised by the converter itself; they are there for
// the file operations a program may run through its managers.
const std::vector<MessageDef>& DefaultMessages() {
  static const std::vector<MessageDef> messages = {
      {kMsgOpenFailed, 3, "File Access Error", "Error: (%ErrorText) attempting to open the file %File."},
      {kMsgCreateFailed, 3, "File Access Error", "Error: (%ErrorText) attempting to create the file %File."},
      {kMsgRebuildKeys, 1, "Key Data Damaged",
       "The key data of the file %File must be rebuilt (%ErrorText).|Rebuild it now?"},
      {kMsgAddFailed, 2, "Record Not Added", "Error: (%ErrorText) adding a record to the file %File."},
      {kMsgPutFailed, 2, "Record Not Changed", "Error: (%ErrorText) writing a record of the file %File."},
      {kMsgDeleteFailed, 2, "Record Not Deleted", "Error: (%ErrorText) deleting a record of the file %File."},
      {kMsgConfirmDelete, 4, "Confirm Delete", "Are you sure you want to delete the highlighted record?"},
      {kMsgRecordChanged, 5, "Record Changed",
       "This record was changed by another station since you read it.|It is shown again as it is now."},
      {kMsgDuplicateKey, 5, "Duplicate Key", "Adding this record creates a duplicate entry for the key %Message."},
      {kMsgFieldRequired, 5, "Field Required", "%Field may not be left blank."},
      {kMsgRetryAutoNumber, 0, "Auto-number Taken", "The number given to the new record of %File was taken."},
      {kMsgProcedureFailed, 6, "Procedure Failed", "%Procedure cannot go on: %Message"},
  };
  return messages;
}

}  // namespace

std::vector<unsigned char> EncodeMessageTable(const std::vector<MessageDef>& messages) {
  const size_t count = std::min(messages.size(), kMaxMessages);
  std::vector<unsigned char> out;
  PutShort(out, static_cast<USHORT>(count));
  for (size_t i = 0; i < count; ++i) {
    const MessageDef& m = messages[i];
    PutShort(out, m.id);
    out.push_back(m.category);
    PutText(out, m.title);
    PutText(out, m.text);
  }
  return out;
}

std::vector<MessageDef> DecodeMessageTable(std::span<const unsigned char> table) {
  std::vector<MessageDef> out;
  size_t at = 0;
  USHORT count = 0;
  if (!GetShort(table, at, &count)) return out;
  for (USHORT i = 0; i < count; ++i) {
    MessageDef m;
    if (!GetShort(table, at, &m.id) || table.size() - at < 1) break;
    m.category = table[at++];
    if (!GetText(table, at, &m.title) || !GetText(table, at, &m.text)) break;
    out.push_back(std::move(m));
  }
  return out;
}

std::span<const unsigned char> DefaultMessageTable() {
  static const std::vector<unsigned char> table = EncodeMessageTable(DefaultMessages());
  return table;
}

}  // namespace qx
