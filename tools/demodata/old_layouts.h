// The old record layouts of the four demonstration files, the layouts the files had
// before today's declarations: what the demonstration's reset restores and a conversion
// starts from. Prefixes and key attributes are those of today's declarations: every key
// allows duplicates, is optional and case-insensitive, and none is primary.
//
//   Standrd   STD:CUSID LONG, NAME STRING(20), SUBURB STRING(20), PHONE STRING(20),
//             STARTDATE LONG (date), ADDRESS STRING(40); keys ByName, ByStartDateName,
//             ByPhone, ByID, ByAddress
//   Encrypt   ENC:CUSID, NAME, SUBURB, PHONE, STARTDATE; keys ByName, ByPhone, BySuburb,
//             ByID; enciphered under "xk"
//   VeryLong  VLN: the six fields of today's VeryLongName (CUSID, NAME, SUBURB, PHONE,
//             STARTDATE, NEWFIELD STRING(20)); keys ByName, ByComplKey (SUBURB, NAME,
//             CUSID), ByNewField, ByStartDateName, ByPhone, BySuburb, ByID, ByPhoneSub
//             (PHONE, SUBURB)
//   Var       VAR:CUSID, NAME, SUBURB; keys ByName, BySuburb, ByID ("Var.TPS" and
//             "variable.tps")
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/store/file.h"

namespace qx::demodata {

enum class OldFile { kStandrd, kEncrypt, kVeryLong, kVar };

// The owner password of the old Encrypt file.
inline constexpr const char* kEncryptOwner = "xk";

// The kind named "standrd", "encrypt", "verylong" or "var" (without regard to case);
// nullopt for another name.
std::optional<OldFile> OldFileFromName(std::string_view name);
// The name OldFileFromName takes.
std::string_view OldFileName(OldFile kind);
// The name of the kind's file in the demonstration directories ("Standrd.TPS",
// "Encrypt.TPS", "VeryLong.TPS", "Var.TPS").
std::string_view DemoFileName(OldFile kind);

// A declaration of the kind's old layout for the data file `fileName` (resolved against
// the current directory; ".TPS" added when it has no extension), with the create and
// thread attributes, and for Encrypt the encrypt attribute with its owner password.
std::unique_ptr<FileDecl> MakeOldDecl(OldFile kind, const std::string& fileName);

}  // namespace qx::demodata
