// The four update forms: their member tables and the procedures that run the one form
// procedure with them (demo/update_form.h), and their history records.
//
//   form                file          module           entries (control: field)
//   UpdateStandrd       Standrd       "qxmora$qxd026"  4 CUSID, 6 NAME, 8 SUBURB
//   UpdateEncrypt       Encrypt       "qxmora$qxd027"  4 CUSID, 6 NAME, 8 SUBURB, 10 PHONE,
//                                                      12 STARTDATE; numbered by ENC:SYSID
//   UpdateVeryLongName  VeryLongName  "qxmora$qxd028"  4 CUSID, 6 NAME, 8 SUBURB, 10 PHONE,
//                                                      12 STARTDATE, 14 NEWFIELD
//   UpdateVarname       Varname       "qxmora$qxd029"  4 CUSID, 6 NAME, 8 SUBURB
#include "demo/update_forms.h"

#include "demo/data_files.h"
#include "demo/integrity_delete.h"
#include "demo/integrity_update.h"
#include "demo/update_form.h"
#include "demo/use_counts.h"

namespace qx {

StandrdRecord StandrdHistory;
EncryptRecord EncryptHistory;
VeryLongNameRecord VeryLongNameHistory;
VarnameRecord VarnameHistory;

namespace {

bool StandrdHistoryCleared = false;
bool EncryptHistoryCleared = false;
bool VeryLongNameHistoryCleared = false;
bool VarnameHistoryCleared = false;

constexpr FormEntry kStandrdEntries[] = {{4, "STD:CUSID"}, {6, "STD:NAME"}, {8, "STD:SUBURB"}};
constexpr FormEntry kEncryptEntries[] = {
    {4, "ENC:CUSID"}, {6, "ENC:NAME"}, {8, "ENC:SUBURB"}, {10, "ENC:PHONE"}, {12, "ENC:STARTDATE"}};
constexpr FormEntry kVeryLongNameEntries[] = {{4, "VLN:CUSID"},  {6, "VLN:NAME"},      {8, "VLN:SUBURB"},
                                              {10, "VLN:PHONE"}, {12, "VLN:STARTDATE"}, {14, "VLN:NEWFIELD"}};
constexpr FormEntry kVarnameEntries[] = {{4, "VAR:CUSID"}, {6, "VAR:NAME"}, {8, "VAR:SUBURB"}};

// The key is reached when the form runs: the key references are bound during the
// program's start, in no fixed order with this table.
const FormNumbering kEncryptNumbering{[]() -> Key& { return ENC_BySysID; }, "ENC:SYSID", "Encrypt"};

template <class R>
unsigned char* Bytes(R& record) {
  return reinterpret_cast<unsigned char*>(&record);
}

}  // namespace

const UpdateFormMember StandrdForm{
    "qxmora$qxd026", &Standrd, []() -> LONG& { return StandrdUseCount; }, Bytes(StandrdHistory),
    &StandrdHistoryCleared, kStandrdEntries, 13, 14, 15, &IntegrityUpdateStandrd, &IntegrityDeleteStandrd, nullptr};

const UpdateFormMember EncryptForm{
    "qxmora$qxd027", &Encrypt, []() -> LONG& { return EncryptUseCount; }, Bytes(EncryptHistory),
    &EncryptHistoryCleared, kEncryptEntries, 13, 14, 15, &IntegrityUpdateEncrypt, &IntegrityDeleteEncrypt,
    &kEncryptNumbering};

const UpdateFormMember VeryLongNameForm{
    "qxmora$qxd028", &VeryLongName, []() -> LONG& { return VeryLongNameUseCount; }, Bytes(VeryLongNameHistory),
    &VeryLongNameHistoryCleared, kVeryLongNameEntries, 15, 16, 17, &IntegrityUpdateVeryLongName,
    &IntegrityDeleteVeryLongName, nullptr};

const UpdateFormMember VarnameForm{
    "qxmora$qxd029", &Varname, []() -> LONG& { return VarnameUseCount; }, Bytes(VarnameHistory),
    &VarnameHistoryCleared, kVarnameEntries, 9, 10, 11, &IntegrityUpdateVarname, &IntegrityDeleteVarname, nullptr};

void UpdateStandrd() { RunUpdateForm(StandrdForm); }
void UpdateEncrypt() { RunUpdateForm(EncryptForm); }
void UpdateVeryLongName() { RunUpdateForm(VeryLongNameForm); }
void UpdateVarname() { RunUpdateForm(VarnameForm); }

}  // namespace qx
