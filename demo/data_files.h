// The four data files both programs keep: their declarations, record layouts, keys and
// record buffers, and the variable that holds the file name of `Varname`.
//
// The declarations are program-wide and live for the whole run; every file carries the
// thread attribute, so each thread that uses one works on its own instance of it, with
// its own record buffer (reached through STD(), ENC(), VLN() and VAR()). Every key allows
// duplicates, is optional (a record whose key components are all empty has no entry in
// it) and compares text without regard to case; none is primary.
//
//   file           name on disk        owner  attributes              record  keys
//   Standrd        "STANDRD"           -      create, thread          44      2
//   Encrypt        "ENCRYPT"           "xk"   encrypt, create, thread 72      5
//   VeryLongName   "VERYLONG"          -      create, thread          88      1
//   Varname        VarnameFileName     -      create, thread          44      6
//
// A name without an extension gets ".TPS" from the store ("STANDRD" is STANDRD.TPS in the
// current directory); names match existing files without regard to case.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "runtime/store/file.h"
#include "runtime/text/types.h"

namespace qx {

// ---- Record layouts: the stored form of a record, fields packed in declared order ----

struct StandrdRecord {
  LONG CUSID;         // STD:CUSID, offset 0
  STRING<20> NAME;    // STD:NAME, offset 4
  STRING<20> SUBURB;  // STD:SUBURB, offset 24
};

struct EncryptRecord {
  LONG CUSID;         // ENC:CUSID, offset 0
  STRING<20> NAME;    // ENC:NAME, offset 4
  STRING<20> SUBURB;  // ENC:SUBURB, offset 24
  STRING<20> PHONE;   // ENC:PHONE, offset 44
  LONG STARTDATE;     // ENC:STARTDATE, offset 64: a day number (1 January 1801 is day 4)
  LONG SYSID;         // ENC:SYSID, offset 68: 1, 2, 3 ... in record order after a conversion
};

struct VeryLongNameRecord {
  LONG CUSID;           // VLN:CUSID, offset 0
  STRING<20> NAME;      // VLN:NAME, offset 4
  STRING<20> SUBURB;    // VLN:SUBURB, offset 24
  STRING<20> PHONE;     // VLN:PHONE, offset 44
  LONG STARTDATE;       // VLN:STARTDATE, offset 64: a day number
  STRING<20> NEWFIELD;  // VLN:NEWFIELD, offset 68
};

// Same layout as StandrdRecord, with the prefix VAR.
struct VarnameRecord {
  LONG CUSID;         // VAR:CUSID, offset 0
  STRING<20> NAME;    // VAR:NAME, offset 4
  STRING<20> SUBURB;  // VAR:SUBURB, offset 24
};

static_assert(sizeof(StandrdRecord) == 44 && offsetof(StandrdRecord, SUBURB) == 24);
static_assert(sizeof(EncryptRecord) == 72 && offsetof(EncryptRecord, STARTDATE) == 64 &&
              offsetof(EncryptRecord, SYSID) == 68);
static_assert(sizeof(VeryLongNameRecord) == 88 && offsetof(VeryLongNameRecord, NEWFIELD) == 68);
static_assert(sizeof(VarnameRecord) == 44 && offsetof(VarnameRecord, SUBURB) == 24);

// ---- The file name of Varname -----------------------------------------------------------

// "variable.tps" followed by blanks; nothing in either program assigns it. The store reads
// it (without trailing blanks) each time it needs the name of Varname.
extern STRING<256> VarnameFileName;

// ---- Declarations -------------------------------------------------------------------------

extern FileDecl Standrd;
extern FileDecl Encrypt;
extern FileDecl VeryLongName;
extern FileDecl Varname;

// ---- Keys, in declared order (the store keeps their names upper case: "STD:BYNAME") ----

extern Key& STD_ByName;              // STD:NAME
extern Key& STD_ByID;                // STD:CUSID
extern Key& ENC_ByName;              // ENC:NAME
extern Key& ENC_ByPhone;             // ENC:PHONE
extern Key& ENC_BySuburb;            // ENC:SUBURB
extern Key& ENC_ByID;                // ENC:CUSID
extern Key& ENC_BySysID;             // ENC:SYSID
extern Key& VLN_ByName;              // VLN:NAME
extern Key& VAR_ByName;              // VAR:NAME
extern Key& VAR_BySuburb;            // VAR:SUBURB
extern Key& VAR_ByID;                // VAR:CUSID
extern Key& VAR_ByNameSuburb;        // VAR:NAME, VAR:SUBURB
extern Key& VAR_ByCusIDName;         // VAR:CUSID, VAR:NAME
extern Key& VAR_ByCusIDNameSuburb;   // VAR:CUSID, VAR:NAME, VAR:SUBURB

// ---- Record buffers: the calling thread's buffer of each file, as its record ------------

inline StandrdRecord& STD() { return Standrd.Record<StandrdRecord>(); }
inline EncryptRecord& ENC() { return Encrypt.Record<EncryptRecord>(); }
inline VeryLongNameRecord& VLN() { return VeryLongName.Record<VeryLongNameRecord>(); }
inline VarnameRecord& VAR() { return Varname.Record<VarnameRecord>(); }

// ---- The same declaration for another file ----------------------------------------------

// A declaration like `file` (one of the four) in everything but its file name: for the
// tools, tests and benchmarks that work on a file of today's layout under another name.
std::unique_ptr<FileDecl> DeclarationNamed(const FileDecl& file, const std::string& name);

}  // namespace qx
