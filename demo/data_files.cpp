// The four data-file declarations; see data_files.h.
#include "demo/data_files.h"

#include <memory>
#include <string>
#include <vector>

#include "runtime/store/layout.h"

namespace qx {
namespace {

// Every key of the four files: duplicates allowed, optional, case-insensitive, ascending.
KeyDef DupOptNocase(std::string name, std::vector<std::string> components) {
  KeyDef k;
  k.name = std::move(name);
  k.components = std::move(components);
  k.dup = true;
  k.opt = true;
  k.nocase = true;
  return k;
}

constexpr FileAttributes kCreateThread{.create = true, .thread = true, .encrypt = false};
constexpr FileAttributes kEncryptCreateThread{.create = true, .thread = true, .encrypt = true};

}  // namespace

STRING<256> VarnameFileName = "variable.tps";

FileDecl Standrd("Standrd", "STANDRD", "STD", "", kCreateThread,
                 LayoutOf<StandrdRecord>()
                     .Field("STD:CUSID", &StandrdRecord::CUSID)
                     .Field("STD:NAME", &StandrdRecord::NAME)
                     .Field("STD:SUBURB", &StandrdRecord::SUBURB),
                 {DupOptNocase("STD:BYNAME", {"STD:NAME"}), DupOptNocase("STD:BYID", {"STD:CUSID"})});

FileDecl Encrypt("Encrypt", "ENCRYPT", "ENC", "xk", kEncryptCreateThread,
                 LayoutOf<EncryptRecord>()
                     .Field("ENC:CUSID", &EncryptRecord::CUSID)
                     .Field("ENC:NAME", &EncryptRecord::NAME)
                     .Field("ENC:SUBURB", &EncryptRecord::SUBURB)
                     .Field("ENC:PHONE", &EncryptRecord::PHONE)
                     .Field("ENC:STARTDATE", &EncryptRecord::STARTDATE)
                     .Field("ENC:SYSID", &EncryptRecord::SYSID),
                 {DupOptNocase("ENC:BYNAME", {"ENC:NAME"}), DupOptNocase("ENC:BYPHONE", {"ENC:PHONE"}),
                  DupOptNocase("ENC:BYSUBURB", {"ENC:SUBURB"}), DupOptNocase("ENC:BYID", {"ENC:CUSID"}),
                  DupOptNocase("ENC:BYSYSID", {"ENC:SYSID"})});

FileDecl VeryLongName("VeryLongName", "VERYLONG", "VLN", "", kCreateThread,
                      LayoutOf<VeryLongNameRecord>()
                          .Field("VLN:CUSID", &VeryLongNameRecord::CUSID)
                          .Field("VLN:NAME", &VeryLongNameRecord::NAME)
                          .Field("VLN:SUBURB", &VeryLongNameRecord::SUBURB)
                          .Field("VLN:PHONE", &VeryLongNameRecord::PHONE)
                          .Field("VLN:STARTDATE", &VeryLongNameRecord::STARTDATE)
                          .Field("VLN:NEWFIELD", &VeryLongNameRecord::NEWFIELD),
                      {DupOptNocase("VLN:BYNAME", {"VLN:NAME"})});

FileDecl Varname("Varname", &VarnameFileName, "VAR", "", kCreateThread,
                 LayoutOf<VarnameRecord>()
                     .Field("VAR:CUSID", &VarnameRecord::CUSID)
                     .Field("VAR:NAME", &VarnameRecord::NAME)
                     .Field("VAR:SUBURB", &VarnameRecord::SUBURB),
                 {DupOptNocase("VAR:BYNAME", {"VAR:NAME"}), DupOptNocase("VAR:BYSUBURB", {"VAR:SUBURB"}),
                  DupOptNocase("VAR:BYID", {"VAR:CUSID"}),
                  DupOptNocase("VAR:BYNAMESUBURB", {"VAR:NAME", "VAR:SUBURB"}),
                  DupOptNocase("VAR:BYCUSIDNAME", {"VAR:CUSID", "VAR:NAME"}),
                  DupOptNocase("VAR:BYCUSIDNAMESUBURB", {"VAR:CUSID", "VAR:NAME", "VAR:SUBURB"})});

// Defined after their declarations in this file, so they are bound in order.
Key& STD_ByName = Standrd.key(0);
Key& STD_ByID = Standrd.key(1);
Key& ENC_ByName = Encrypt.key(0);
Key& ENC_ByPhone = Encrypt.key(1);
Key& ENC_BySuburb = Encrypt.key(2);
Key& ENC_ByID = Encrypt.key(3);
Key& ENC_BySysID = Encrypt.key(4);
Key& VLN_ByName = VeryLongName.key(0);
Key& VAR_ByName = Varname.key(0);
Key& VAR_BySuburb = Varname.key(1);
Key& VAR_ByID = Varname.key(2);
Key& VAR_ByNameSuburb = Varname.key(3);
Key& VAR_ByCusIDName = Varname.key(4);
Key& VAR_ByCusIDNameSuburb = Varname.key(5);

std::unique_ptr<FileDecl> DeclarationNamed(const FileDecl& file, const std::string& name) {
  return std::make_unique<FileDecl>(file.label(), FileName(name), file.prefix(), file.owner(), file.attributes(),
                                    file.layout(), file.keyDefs());
}

}  // namespace qx
