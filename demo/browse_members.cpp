// The member tables of qxmora's four browses and their procedure entries; see browses.h
// and browse.h.
//
// Sort orders (SortOrder n is the n-th row of a member's table; the sheet's first tab
// selects the highest order, tab k order k - 1):
//   Standrd       1, 2, 4 record order (their tabs are disabled); 3 STD:ByID, number stops
//                 on STD:CUSID; 5 STD:ByName, text stops on STD:NAME
//   Encrypt       1 ENC:BySysID without stops ("By Name" reads by SysID); 2 ENC:ByPhone,
//                 3 ENC:BySuburb (text stops); 4 ENC:ByID, 5 ENC:BySysID (number stops)
//   VeryLongName  1 VLN:ByName, text stops; the sheet is never read
//   Varname       1 VAR:BySuburb, 6 VAR:ByName (text stops); 2 VAR:ByID (number stops);
//                 3 VAR:ByNameSuburb, 4 VAR:ByCusIDName, 5 VAR:ByCusIDNameSuburb without
//                 stops, their further components blanked before a locate
#include <memory>

#include "demo/browse.h"
#include "demo/browses.h"
#include "demo/data_files.h"
#include "demo/update_forms.h"
#include "demo/use_counts.h"

namespace qx {
namespace {

LONG& StandrdCount() { return StandrdUseCount; }
LONG& EncryptCount() { return EncryptUseCount; }
LONG& VeryLongNameCount() { return VeryLongNameUseCount; }
LONG& VarnameCount() { return VarnameUseCount; }

BrowseSortOrder RecordOrder() { return BrowseSortOrder{}; }

BrowseSortOrder ByKey(Key& key, std::string locator, BrowseStops stops, std::vector<std::string> cleared = {}) {
  return BrowseSortOrder{&key, std::move(locator), stops, std::move(cleared)};
}

void RunBrowse(const BrowseMember& member) {
  // The list state lives on the heap, not on the thread's stack.
  auto procedure = std::make_unique<BrowseProcedure>(member);
  procedure->Run();
}

}  // namespace

const BrowseMember& StandrdBrowse() {
  static const BrowseMember member{
      .procedure = "BrowseStandrd",
      .file = &Standrd,
      .module = "qxmora$qxd002",
      .useCount = &StandrdCount,
      .updateForm = &UpdateStandrd,
      .entryFields = {"STD:CUSID", "STD:NAME", "STD:SUBURB"},
      .orders = {RecordOrder(), RecordOrder(), ByKey(STD_ByID, "STD:CUSID", BrowseStops::kNumber), RecordOrder(),
                 ByKey(STD_ByName, "STD:NAME", BrowseStops::kText)},
      .sheetField = 6,
      .closeField = 12,
      .helpField = 13,
  };
  return member;
}

const BrowseMember& EncryptBrowse() {
  static const BrowseMember member{
      .procedure = "BrowseEncrypt",
      .file = &Encrypt,
      .module = "qxmora$qxd008",
      .useCount = &EncryptCount,
      .updateForm = &UpdateEncrypt,
      .entryFields = {"ENC:SYSID", "ENC:CUSID", "ENC:NAME", "ENC:SUBURB", "ENC:PHONE", "ENC:STARTDATE"},
      .colouredFirstColumn = true,
      .orders = {ByKey(ENC_BySysID, "ENC:SYSID", BrowseStops::kNone), ByKey(ENC_ByPhone, "ENC:PHONE", BrowseStops::kText),
                 ByKey(ENC_BySuburb, "ENC:SUBURB", BrowseStops::kText), ByKey(ENC_ByID, "ENC:CUSID", BrowseStops::kNumber),
                 ByKey(ENC_BySysID, "ENC:SYSID", BrowseStops::kNumber)},
      .sheetField = 5,
      .closeField = 11,
      .helpField = 12,
  };
  return member;
}

const BrowseMember& VeryLongNameBrowse() {
  static const BrowseMember member{
      .procedure = "BrowseVeryLongName",
      .file = &VeryLongName,
      .module = "qxmora$qxd013",
      .useCount = &VeryLongNameCount,
      .updateForm = &UpdateVeryLongName,
      .entryFields = {"VLN:CUSID", "VLN:NAME", "VLN:SUBURB", "VLN:PHONE", "VLN:STARTDATE", "VLN:NEWFIELD"},
      .orders = {ByKey(VLN_ByName, "VLN:NAME", BrowseStops::kText)},
      .readsSheet = false,
      .sheetField = 6,
      .closeField = 15,
      .helpField = 16,
  };
  return member;
}

const BrowseMember& VarnameBrowse() {
  static const BrowseMember member{
      .procedure = "BrowseVarname",
      .file = &Varname,
      .module = "qxmora$qxd022",
      .useCount = &VarnameCount,
      .updateForm = &UpdateVarname,
      .entryFields = {"VAR:CUSID", "VAR:NAME", "VAR:SUBURB"},
      .orders = {ByKey(VAR_BySuburb, "VAR:SUBURB", BrowseStops::kText), ByKey(VAR_ByID, "VAR:CUSID", BrowseStops::kNumber),
                 ByKey(VAR_ByNameSuburb, "VAR:NAME", BrowseStops::kNone, {"VAR:SUBURB"}),
                 ByKey(VAR_ByCusIDName, "VAR:CUSID", BrowseStops::kNone, {"VAR:NAME"}),
                 ByKey(VAR_ByCusIDNameSuburb, "VAR:CUSID", BrowseStops::kNone, {"VAR:NAME", "VAR:SUBURB"}),
                 ByKey(VAR_ByName, "VAR:NAME", BrowseStops::kText)},
      .sheetField = 6,
      .closeField = 13,
      .helpField = 14,
  };
  return member;
}

void BrowseStandrd() { RunBrowse(StandrdBrowse()); }
void BrowseEncrypt() { RunBrowse(EncryptBrowse()); }
void BrowseVeryLongName() { RunBrowse(VeryLongNameBrowse()); }
void BrowseVarname() { RunBrowse(VarnameBrowse()); }

}  // namespace qx
