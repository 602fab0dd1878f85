// qxmora's update forms, one per data file, called by the file's browse on the browse's
// own thread. Input: CurrentRequest (1 insert, 2 change, 3 delete) and the file's record
// buffer (for a change or a delete the selected record, which is the file's current record;
// for an insert a cleared buffer and no current record). Output: CurrentResponse (1 the
// record was written or deleted, 2 cancelled or failed), the file and the record buffer.
#pragma once

namespace qx {

void UpdateStandrd();
void UpdateEncrypt();
void UpdateVeryLongName();
void UpdateVarname();

}  // namespace qx
