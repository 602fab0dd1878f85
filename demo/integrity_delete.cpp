// The integrity delete routines; see integrity_delete.h.
#include "demo/integrity_delete.h"

#include <memory>

#include "demo/data_files.h"
#include "demo/warnings.h"
#include "runtime/sys/error_state.h"

namespace qx {
namespace {

// Where the files related to `file` would be released on the way out of a delete. No data
// file has related files.
void ReleaseRelatedFiles(FileDecl& /*file*/) {}

// The delete itself; the caller adds what every way out shares.
LONG DeleteInTransaction(FileDecl& file, Key& key, std::string_view label) {
  // A key position is at most 512 characters; taken on the heap, as the browse threads
  // that run the forms have small stacks. Trailing blanks are not part of a position.
  auto position = std::make_unique<STRING<512>>();
  *position = POSITIONkey(key);

  LOGOUT(kIntegrityLockWaitSeconds, file);
  if (RtErrorCode() != kNoError) {
    SaveErrorState();  // the store has undone what LOGOUT began: its ROLLBACK finds nothing
    ShowWarning(34, "Delete", label);
    return kIntegrityFailed;
  }
  // Read again inside the transaction, so that the deletion acts on the record as it is
  // stored now; when another opener deleted it there is no current record and DELETE says so.
  REGETkey(key, position->view());
  DELETE(file);
  if (RtErrorCode() != kNoError) {
    SaveErrorState();
    ShowWarning(17, label);
    return kIntegrityFailed;
  }
  COMMIT();
  if (RtErrorCode() != kNoError) {
    // The store has rolled the deletion back: the record is still there, which the user
    // must be told rather than hear nothing.
    SaveErrorState();
    ShowWarning(17, label);
    return kIntegrityFailed;
  }
  return kIntegrityDone;
}

}  // namespace

LONG IntegrityDelete(FileDecl& file, Key& key, std::string_view label) {
  const LONG result = DeleteInTransaction(file, key, label);
  ReleaseRelatedFiles(file);
  return result;
}

LONG IntegrityDeleteStandrd() { return IntegrityDelete(Standrd, STD_ByName, "Standrd"); }
LONG IntegrityDeleteEncrypt() { return IntegrityDelete(Encrypt, ENC_ByName, "Encrypt"); }
LONG IntegrityDeleteVeryLongName() { return IntegrityDelete(VeryLongName, VLN_ByName, "VeryLongName"); }
LONG IntegrityDeleteVarname() { return IntegrityDelete(Varname, VAR_ByName, "Varname"); }

}  // namespace qx
