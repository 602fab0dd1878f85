// The integrity update routines and SavedPosition; see integrity_update.h.
#include "demo/integrity_update.h"

#include <string>

#include "demo/data_files.h"
#include "demo/warnings.h"
#include "runtime/sys/error_state.h"

namespace qx {

STRING<512> SavedPosition;

namespace {

// Where the files related to `file` would be released on the way out of an update. No
// data file has related files.
void ReleaseRelatedFiles(FileDecl& /*file*/) {}

// The update itself; the caller adds what every way out shares.
LONG UpdateInTransaction(FileDecl& file, std::string_view label) {
  LOGOUT(kIntegrityLockWaitSeconds, file);
  if (RtErrorCode() != kNoError) {
    SaveErrorState();  // the store has undone what LOGOUT began: its ROLLBACK finds nothing
    ShowWarning(34, "Update", label);
    return kIntegrityFailed;
  }
  // The re-read after 89 uses this call's own copy: the warning box before it lets other
  // threads run, and their updates set the program-wide SavedPosition to their records.
  const std::string position = POSITIONfile(file);
  SavedPosition = position;
  PUT(file);
  const LONG failure = RtErrorCode();
  if (failure == kNoError) {
    COMMIT();
    if (RtErrorCode() == kNoError) return kIntegrityDone;
    // The store has rolled the write back: nothing was changed, which the user must be
    // told rather than hear nothing.
    SaveErrorState();
    ShowWarning(15, label);
    return kIntegrityFailed;
  }
  SaveErrorState();
  if (failure == kRecordChanged) {
    ShowWarning(38);
    // The other opener's version, watched, so that writing it again detects a further change.
    WATCH(file);
    REGETfile(file, position);
    return kIntegrityChangedElsewhere;
  }
  ShowWarning(15, label);
  return kIntegrityFailed;
}

}  // namespace

LONG IntegrityUpdate(FileDecl& file, std::string_view label) {
  const LONG result = UpdateInTransaction(file, label);
  ReleaseRelatedFiles(file);
  return result;
}

LONG IntegrityUpdateStandrd() { return IntegrityUpdate(Standrd, "Standrd"); }
LONG IntegrityUpdateEncrypt() { return IntegrityUpdate(Encrypt, "Encrypt"); }
LONG IntegrityUpdateVeryLongName() { return IntegrityUpdate(VeryLongName, "VeryLongName"); }
LONG IntegrityUpdateVarname() { return IntegrityUpdate(Varname, "Varname"); }

void PrepareRelatedFiles(FileDecl& /*file*/) {}

}  // namespace qx
