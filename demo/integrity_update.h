// qxmora's integrity update routines (module "qxmora$qxd_ru"): the changes the update
// forms write, each framed in a transaction over its one data file, every failure reported
// to the user here through ShowWarning (demo/warnings.h), and a result code for the form.
// A change refused because another opener changed the record since it was read is
// answered by reading that opener's version into the record buffer, for the form to show.
//
// The four routines are one algorithm, IntegrityUpdate, given the file and the label its
// warnings name:
//
//   routine                       file          label
//   IntegrityUpdateStandrd        Standrd       "Standrd"
//   IntegrityUpdateEncrypt        Encrypt       "Encrypt"
//   IntegrityUpdateVeryLongName   VeryLongName  "VeryLongName"
//   IntegrityUpdateVarname        Varname       "Varname"
//
// No data file has related files, so nothing cascades; PrepareRelatedFiles marks where the
// forms would prepare them.
//
// Threads: a routine runs on the calling form's thread, on that thread's instance of the
// file, and returns with no transaction open on it. While it waits for the file's lock
// and while its warning box is shown other program threads may run (and update too).
#pragma once

#include <string_view>

#include "demo/integrity_delete.h"
#include "runtime/store/file.h"
#include "runtime/text/types.h"

namespace qx {

// Result of an update refused because another opener changed the record since it was
// read (besides kIntegrityDone and kIntegrityFailed, demo/integrity_delete.h).
constexpr LONG kIntegrityChangedElsewhere = 2;

// The record position (in record order) of the record the last update wrote or tried to
// write: one for the whole program, set by every update before its PUT and kept until the
// next one, on whatever thread. Blank until the first update.
extern STRING<512> SavedPosition;

// Writes the record buffer over the file's current record on the calling thread's open
// instance of `file`:
//   LOGOUT (waiting at most 2 seconds for the file's lock); SavedPosition := the current
//   record's position; PUT; COMMIT.
// Result kIntegrityDone: written and committed; the record stays the current record.
// Result kIntegrityFailed, nothing written, the transaction rolled back (SaveErrorState)
// and one warning shown, which reports the error of the failed step:
//   LOGOUT failed (48: the lock not had in time, the file not open on this thread or
//     opened without write access)  warning 34 "Transaction Framing Error" with "Update"
//     and `label`
//   PUT failed other than with 89 (33 no current record, or the record is gone and was
//     read without WATCH; 5, 32, 40, 90)  warning 15 "Update Operation Error" with `label`
//   COMMIT failed (90: the engine could not commit, and has undone the write; there is no
//     current record then)  warning 15 as for PUT
// Result kIntegrityChangedElsewhere: PUT reported 89 (the record was read under WATCH and
// another opener changed or deleted it since): nothing written, rolled back, warning 38
// "Record Was Not Updated"; then WATCH and the record is read again by the position taken
// before the PUT, so the buffer holds the other opener's version, watched, for a second
// update. When the other opener deleted the record the re-read finds nothing: the buffer
// keeps the caller's values and there is no current record.
LONG IntegrityUpdate(FileDecl& file, std::string_view label);

// IntegrityUpdate of the file's current record, with the file and label of the table
// above; no arguments, the new values in the file's record buffer on the calling thread.
LONG IntegrityUpdateStandrd();
LONG IntegrityUpdateEncrypt();
LONG IntegrityUpdateVeryLongName();
LONG IntegrityUpdateVarname();

// Called by each update form right after it has opened its file, where files related to
// `file` would be prepared for the integrity routines. No data file has related files:
// it does nothing.
void PrepareRelatedFiles(FileDecl& file);

}  // namespace qx
