// qxmora's integrity delete routines (module "qxmora$qxd_rd"): the deletions the update
// forms make, each framed in a transaction over its one data file, every failure reported
// to the user here through ShowWarning (demo/warnings.h), and a result code for the form.
//
// The four routines are one algorithm, IntegrityDelete, given the file, the key whose
// position finds the record again inside the transaction (the file's first declared key)
// and the label its warnings name:
//
//   routine                       file          key          label
//   IntegrityDeleteStandrd        Standrd       STD:ByName   "Standrd"
//   IntegrityDeleteEncrypt        Encrypt       ENC:ByName   "Encrypt"
//   IntegrityDeleteVeryLongName   VeryLongName  VLN:ByName   "VeryLongName"
//   IntegrityDeleteVarname        Varname       VAR:ByName   "Varname"
//
// No data file has related files, so nothing cascades.
//
// Threads: a routine runs on the calling form's thread, on that thread's instance of the
// file, and returns with no transaction open on it. While it waits for the file's lock
// and while its warning box is shown other program threads may run.
#pragma once

#include <string_view>

#include "runtime/store/file.h"
#include "runtime/text/types.h"

namespace qx {

// Results of the integrity routines (the update routines add kIntegrityChangedElsewhere,
// demo/integrity_update.h).
constexpr LONG kIntegrityDone = 0;    // written or deleted, and committed
constexpr LONG kIntegrityFailed = 1;  // nothing written or deleted; the user was warned

// How long a routine waits for another opener's lock on the file before it gives up.
constexpr LONG kIntegrityLockWaitSeconds = 2;

// Deletes the file's current record, which the caller read into the record buffer, on
// the calling thread's open instance of `file`:
//   the record's position in `key` is taken; LOGOUT (waiting at most 2 seconds for the
//   file's lock); the record is read again by that position (REGETkey) and DELETEd;
//   COMMIT.
// Result kIntegrityDone: the record is gone and the deletion committed; there is no
// current record afterwards.
// Result kIntegrityFailed, nothing deleted, the transaction rolled back (SaveErrorState)
// and one warning shown, which reports the error of the failed step:
//   LOGOUT failed (48: the lock not had in time, the file not open on this thread or
//     opened without write access)  warning 34 "Transaction Framing Error" with "Delete"
//     and `label`
//   DELETE failed (33 when another opener deleted the record since it was read, or there
//     is no current record; 5, 32, 90)  warning 17 "Delete Operation Error" with `label`
//   COMMIT failed (90: the engine could not commit, and has undone the deletion; there is
//     no current record then)  warning 17 as for DELETE
// The record's new state as another opener may have left it is what is deleted: the
// re-read inside the transaction does not compare it with the version the caller read.
LONG IntegrityDelete(FileDecl& file, Key& key, std::string_view label);

// IntegrityDelete of the file's current record, with the file, key and label of the table
// above; no arguments, the record in the file's record buffer on the calling thread.
LONG IntegrityDeleteStandrd();
LONG IntegrityDeleteEncrypt();
LONG IntegrityDeleteVeryLongName();
LONG IntegrityDeleteVarname();

}  // namespace qx
