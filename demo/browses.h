// qxmora's four browse procedures, one per data file. The frame starts each with
// RtStart(procedure, 50000) on a thread of its own; a browse takes no arguments, gives
// nothing back, and its thread ends when its window has closed. The algorithm is the one
// of demo/browse.h with the member tables of demo/browse_members.cpp.
//
//   procedure            file          window description  title
//   BrowseStandrd        Standrd       "qxmora$qxd002"      "Browse Standard File"
//   BrowseEncrypt        Encrypt       "qxmora$qxd008"      "Browse Encrypted File"
//   BrowseVeryLongName   VeryLongName  "qxmora$qxd013"      "Browse Very-Long-Named File"
//   BrowseVarname        Varname       "qxmora$qxd022"      "Browse Named with Variable File"
//
// Each opens this thread's instance of its file with OpenDataFile (created when missing;
// a file that cannot be opened, such as one still in an older layout, ends the program)
// and calls the file's update form (demo/update_forms.h) for Insert, Change and Delete.
#pragma once

namespace qx {

void BrowseStandrd();
void BrowseEncrypt();
void BrowseVeryLongName();
void BrowseVarname();

}  // namespace qx
