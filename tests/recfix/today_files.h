// Today's declarations of the four data files, as the programs declare them: typed
// records, prefixes, the owner password of Encrypt, and keys that all allow duplicates,
// are optional and case-insensitive. A conversion must produce files that open under
// these.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "runtime/store/store.h"

namespace qx::recfix_test {

struct StandrdRecord {
  LONG CUSID;
  STRING<20> NAME;
  STRING<20> SUBURB;
};

struct EncryptRecord {
  LONG CUSID;
  STRING<20> NAME;
  STRING<20> SUBURB;
  STRING<20> PHONE;
  LONG STARTDATE;
  LONG SYSID;
};

struct VeryLongNameRecord {
  LONG CUSID;
  STRING<20> NAME;
  STRING<20> SUBURB;
  STRING<20> PHONE;
  LONG STARTDATE;
  STRING<20> NEWFIELD;
};

using VarnameRecord = StandrdRecord;

enum class Today { kStandrd, kEncrypt, kVeryLongName, kVarname };

inline KeyDef TodayKey(const char* name, std::vector<std::string> components) {
  KeyDef k;
  k.name = name;
  k.components = std::move(components);
  k.dup = k.opt = k.nocase = true;
  return k;
}

// Today's declaration of `which`, under the file name `fileName` (the programs use
// "STANDRD", "ENCRYPT", "VERYLONG" and "variable.tps").
inline std::unique_ptr<FileDecl> MakeTodayDecl(Today which, const std::string& fileName) {
  FileAttributes a;
  a.create = true;
  switch (which) {
    case Today::kStandrd:
      return std::make_unique<FileDecl>(
          "Standrd", FileName(fileName), "STD", "", a,
          LayoutOf<StandrdRecord>()
              .Field("STD:CUSID", &StandrdRecord::CUSID)
              .Field("STD:NAME", &StandrdRecord::NAME)
              .Field("STD:SUBURB", &StandrdRecord::SUBURB),
          std::vector<KeyDef>{TodayKey("STD:ByName", {"STD:NAME"}), TodayKey("STD:ByID", {"STD:CUSID"})});
    case Today::kEncrypt:
      a.encrypt = true;
      return std::make_unique<FileDecl>(
          "Encrypt", FileName(fileName), "ENC", "xk", a,
          LayoutOf<EncryptRecord>()
              .Field("ENC:CUSID", &EncryptRecord::CUSID)
              .Field("ENC:NAME", &EncryptRecord::NAME)
              .Field("ENC:SUBURB", &EncryptRecord::SUBURB)
              .Field("ENC:PHONE", &EncryptRecord::PHONE)
              .Field("ENC:STARTDATE", &EncryptRecord::STARTDATE)
              .Field("ENC:SYSID", &EncryptRecord::SYSID),
          std::vector<KeyDef>{TodayKey("ENC:ByName", {"ENC:NAME"}), TodayKey("ENC:ByPhone", {"ENC:PHONE"}),
                              TodayKey("ENC:BySuburb", {"ENC:SUBURB"}), TodayKey("ENC:ByID", {"ENC:CUSID"}),
                              TodayKey("ENC:BySysID", {"ENC:SYSID"})});
    case Today::kVeryLongName:
      return std::make_unique<FileDecl>(
          "VeryLongName", FileName(fileName), "VLN", "", a,
          LayoutOf<VeryLongNameRecord>()
              .Field("VLN:CUSID", &VeryLongNameRecord::CUSID)
              .Field("VLN:NAME", &VeryLongNameRecord::NAME)
              .Field("VLN:SUBURB", &VeryLongNameRecord::SUBURB)
              .Field("VLN:PHONE", &VeryLongNameRecord::PHONE)
              .Field("VLN:STARTDATE", &VeryLongNameRecord::STARTDATE)
              .Field("VLN:NEWFIELD", &VeryLongNameRecord::NEWFIELD),
          std::vector<KeyDef>{TodayKey("VLN:ByName", {"VLN:NAME"})});
    case Today::kVarname:
      return std::make_unique<FileDecl>(
          "Varname", FileName(fileName), "VAR", "", a,
          LayoutOf<VarnameRecord>()
              .Field("VAR:CUSID", &VarnameRecord::CUSID)
              .Field("VAR:NAME", &VarnameRecord::NAME)
              .Field("VAR:SUBURB", &VarnameRecord::SUBURB),
          std::vector<KeyDef>{TodayKey("VAR:ByName", {"VAR:NAME"}), TodayKey("VAR:BySuburb", {"VAR:SUBURB"}),
                              TodayKey("VAR:ByID", {"VAR:CUSID"}),
                              TodayKey("VAR:ByNameSuburb", {"VAR:NAME", "VAR:SUBURB"}),
                              TodayKey("VAR:ByCusIDName", {"VAR:CUSID", "VAR:NAME"}),
                              TodayKey("VAR:ByCusIDNameSuburb", {"VAR:CUSID", "VAR:NAME", "VAR:SUBURB"})});
  }
  return nullptr;
}

}  // namespace qx::recfix_test
