// Stand-ins for qxmora's four update forms, for the browse tests: the form's side of the
// request protocol without a window of its own. Each reads and clears CurrentRequest,
// counts its use of this thread's instance of the file (opening it when the count is 0),
// asks through a message box captioned with the form's name whether to complete the
// request (Yes completes, No, the default, cancels), writes on Yes (insert: ADD; change:
// PUT; delete: DELETE of the current record), and answers in CurrentResponse: 1 when the
// write succeeded, 2 otherwise.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "runtime/store/file.h"
#include "runtime/text/types.h"

namespace qx::testing {

// What one call of a stand-in saw as it began, and what became of it.
struct StandInCall {
  std::string form;             // "UpdateStandrd"
  LONG request = 0;             // CurrentRequest at entry
  LONG navigation = -1;         // NavigationRequest at entry
  LONG requestAfterEntry = -1;  // CurrentRequest once the form had taken it (0)
  std::string buffer;           // the record buffer at entry, every byte
  std::string currentPosition;  // POSITIONfile of the file at entry; "" = no current record
  LONG writeCode = -1;          // the store's code of the write; -1 when none was made
};

// Every call so far, oldest first.
std::vector<StandInCall>& StandInCalls();

// Runs on Yes, before the write of an insert or a change, with the file and the request:
// it sets the values the form writes. The default sets the file's NAME field to
// "Stand-in insert" or "Stand-in change".
using StandInEdit = std::function<void(FileDecl& file, LONG request)>;
void SetStandInEdit(StandInEdit edit);  // nullptr: the default

// The message box text of a stand-in ("UpdateStandrd: complete the delete?").
std::string StandInQuestion(const std::string& form, LONG request);

}  // namespace qx::testing
