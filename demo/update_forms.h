// qxmora's update forms, one per data file, called by the file's browse on the browse's
// own thread. Input: CurrentRequest (1 insert, 2 change, 3 delete) and the file's record
// buffer (for a change or a delete the selected record, which is the file's current record;
// for an insert a cleared buffer and no current record). Output: CurrentResponse (1 the
// record was written or deleted, 2 cancelled or failed), the file and the record buffer
// (after a completed insert or change it holds the record as written).
//
// The four are one procedure with the member table of their file (demo/update_form.h):
// the window "P1$QUICKWINDOW" of "qxmora$qxd026" (Standrd), "qxmora$qxd027" (Encrypt),
// "qxmora$qxd028" (VeryLongName) and "qxmora$qxd029" (Varname), opened for an insert or a
// change only; a delete asks in a message box. UpdateEncrypt alone numbers its inserts
// (ENC:SYSID). Failures are reported to the user by the form and by the integrity
// routines it calls; the caller only reads CurrentResponse. Each runs on the calling
// thread and returns when the form has closed.
#pragma once

namespace qx {

void UpdateStandrd();
void UpdateEncrypt();
void UpdateVeryLongName();
void UpdateVarname();

}  // namespace qx
