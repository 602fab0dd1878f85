// The check and conversion of one data file, run by both programs' frames when they open:
// a file whose stored layout no longer fits its declaration is rebuilt by RECFIX in the
// declared layout, keeping its records.
//
// A pass over the four files, on the frame's EVENT:OpenWindow:
//
//   ConversionDone = 0;
//   CheckAndConvertFile(Standrd, vars); ... Encrypt, VeryLongName, Varname;
//   if (ConversionDone != 0) RtRemoveDirectory(TempDirPath);   // result not looked at
//
// Work files of one conversion, named after the file's base name (the declared name up to
// its first "."): the sub-directory "VHtemp" of the working directory, the example file
// BASE.tpe (an empty file of the declared layout, made in VHtemp and copied up), and
// whatever RECFIX leaves under BASE.tp1 to BASE.tp9 and BASE.tp$. All of them but VHtemp
// are removed by the conversion itself; the caller removes VHtemp after the fourth file.
#pragma once

#include "demo/shared_module.h"  // KeyWindow
#include "runtime/store/file.h"
#include "runtime/text/types.h"
#include "runtime/win/windows.h"

namespace qx {

// The caller's variables for one pass over the four files. CheckAndConvertFile reads and
// writes them and keeps nothing of its own between calls. Only ConversionDone needs a
// value when the pass starts (0); the others are assigned before they are read.
struct ConversionVariables {
  STRING<32>& OwnerText;      // the owner password of the file being converted; blank if none
  STRING<32>& TempDirName;    // "VHtemp"
  STRING<255>& FileNameText;  // the declared name, with ".tps" added when it holds no "."
  STRING<255>& BaseNameText;  // the declared name up to (not including) its first "."
  STRING<255>& CurrentDir;    // the working directory in its full long form, followed by "\"
  CSTRING<256>& TempDirPath;  // CurrentDir and TempDirName, each clipped, joined
  LONG& ConversionDone;       // 1 once a conversion of this pass has begun; never reset
};

// Checks `file` (one of the four declarations) in the current directory.
//   OPEN with 22h reports 47, 90 or 36: the file is converted. An empty example file of
//     the declared layout is made in VHtemp, copied into the working directory as
//     BASE.tpe, and RECFIX runs in the working directory on the command line
//       RECFIX <FileNameText>?<owner> /K /E:<BASE>.tpe?<owner> /A
//     and is waited for; then, with KeyWindow shown, BASE.tpe, BASE.tp1 ... BASE.tp9 and
//     BASE.tp$ are removed, and Encrypt is renumbered (RenumberEncryptSysId). Once the
//     conversion has begun, no step's outcome stops the next, with two exceptions that
//     leave the data file as it was: when VHtemp cannot be entered (it is a plain file, a
//     dangling link, or not searchable), nothing more is done for this file, so no empty
//     file is made in the working directory; and a working directory whose full path,
//     with its "\" and "VHtemp", does not fit TempDirPath (255 characters) is not
//     converted at all.
//   OPEN reports 0: the file is closed again; nothing else happens.
//   Any other code (2 missing, 32 locked, 46 keys to rebuild ...): nothing happens.
// Afterwards this thread's instance of the file is closed, the current directory is the
// working directory, KeyWindow is closed, ConversionDone is 1 when this or an earlier file
// of the pass was converted, and TempDirPath names VHtemp once any file was. No outcome is
// reported: a file RECFIX could not convert keeps its old layout and reports 47 again.
void CheckAndConvertFile(FileDecl& file, const ConversionVariables& vars);

// Numbers ENC:SYSID 1, 2, 3 ... in record order over the calling thread's instance of
// Encrypt, writing every other field back as it was read; OPEN 22h, SETfile, NEXT and PUT
// until NEXT fails, CLOSE. No outcome is reported; none is tested but the end of the
// records and whether the transaction below could be had.
//
// The loop runs inside one transaction on the file (LOGOUT waiting at most 2 seconds,
// then COMMIT). Outside one, every PUT is its own write to disk, so a large file takes
// many times as long (bench/renumber times both), and a crash or a kill midway leaves
// the file numbered in part; inside it the numbering is written at once and is kept
// whole or not at all. When the transaction cannot be had (another opener holds the
// file's write lock past the wait, or this thread runs a transaction already), the PUTs
// go one by one as they would without it and nothing is committed, so no other
// transaction is touched; either way the file is left closed and usable.
void RenumberEncryptSysId();

}  // namespace qx
