// The old layouts of the demonstration files; see old_layouts.h.
#include "tools/demodata/old_layouts.h"

#include <vector>

#include "runtime/text/strings.h"

namespace qx::demodata {

namespace {

struct Kind {
  OldFile kind;
  const char* name;
  const char* demoFile;
};

constexpr Kind kKinds[] = {
    {OldFile::kStandrd, "standrd", "Standrd.TPS"},
    {OldFile::kEncrypt, "encrypt", "Encrypt.TPS"},
    {OldFile::kVeryLong, "verylong", "VeryLong.TPS"},
    {OldFile::kVar, "var", "Var.TPS"},
};

// A key as today's declarations carry them: DUP, OPT, NOCASE, not primary.
KeyDef Key(const std::string& prefix, const char* name, std::vector<const char*> fields) {
  KeyDef k;
  k.name = prefix + ":" + name;
  for (const char* f : fields) k.components.push_back(prefix + ":" + f);
  k.dup = k.opt = k.nocase = true;
  return k;
}

void Add(RecordLayout& layout, const std::string& prefix, const char* field, FieldType type, size_t width = 0) {
  layout.AddField(prefix + ":" + field, type, width);
}

}  // namespace

std::optional<OldFile> OldFileFromName(std::string_view name) {
  for (const Kind& k : kKinds) {
    if (RtSameIgnoringCase(name, k.name)) return k.kind;
  }
  return std::nullopt;
}

std::string_view OldFileName(OldFile kind) { return kKinds[static_cast<int>(kind)].name; }
std::string_view DemoFileName(OldFile kind) { return kKinds[static_cast<int>(kind)].demoFile; }

std::unique_ptr<FileDecl> MakeOldDecl(OldFile kind, const std::string& fileName) {
  RecordLayout layout;
  std::vector<KeyDef> keys;
  FileAttributes attrs;
  attrs.create = true;
  std::string owner;
  std::string prefix;
  std::string label;
  switch (kind) {
    case OldFile::kStandrd:
      label = "Standrd";
      prefix = "STD";
      Add(layout, prefix, "CUSID", FieldType::kLong);
      Add(layout, prefix, "NAME", FieldType::kString, 20);
      Add(layout, prefix, "SUBURB", FieldType::kString, 20);
      Add(layout, prefix, "PHONE", FieldType::kString, 20);
      Add(layout, prefix, "STARTDATE", FieldType::kLong);
      Add(layout, prefix, "ADDRESS", FieldType::kString, 40);
      keys = {Key(prefix, "ByName", {"NAME"}), Key(prefix, "ByStartDateName", {"STARTDATE", "NAME"}),
              Key(prefix, "ByPhone", {"PHONE"}), Key(prefix, "ByID", {"CUSID"}),
              Key(prefix, "ByAddress", {"ADDRESS"})};
      break;
    case OldFile::kEncrypt:
      label = "Encrypt";
      prefix = "ENC";
      owner = kEncryptOwner;
      attrs.encrypt = true;
      Add(layout, prefix, "CUSID", FieldType::kLong);
      Add(layout, prefix, "NAME", FieldType::kString, 20);
      Add(layout, prefix, "SUBURB", FieldType::kString, 20);
      Add(layout, prefix, "PHONE", FieldType::kString, 20);
      Add(layout, prefix, "STARTDATE", FieldType::kLong);
      keys = {Key(prefix, "ByName", {"NAME"}), Key(prefix, "ByPhone", {"PHONE"}),
              Key(prefix, "BySuburb", {"SUBURB"}), Key(prefix, "ByID", {"CUSID"})};
      break;
    case OldFile::kVeryLong:
      label = "VeryLongName";
      prefix = "VLN";
      Add(layout, prefix, "CUSID", FieldType::kLong);
      Add(layout, prefix, "NAME", FieldType::kString, 20);
      Add(layout, prefix, "SUBURB", FieldType::kString, 20);
      Add(layout, prefix, "PHONE", FieldType::kString, 20);
      Add(layout, prefix, "STARTDATE", FieldType::kLong);
      Add(layout, prefix, "NEWFIELD", FieldType::kString, 20);
      keys = {Key(prefix, "ByName", {"NAME"}),
              Key(prefix, "ByComplKey", {"SUBURB", "NAME", "CUSID"}),
              Key(prefix, "ByNewField", {"NEWFIELD"}),
              Key(prefix, "ByStartDateName", {"STARTDATE", "NAME"}),
              Key(prefix, "ByPhone", {"PHONE"}),
              Key(prefix, "BySuburb", {"SUBURB"}),
              Key(prefix, "ByID", {"CUSID"}),
              Key(prefix, "ByPhoneSub", {"PHONE", "SUBURB"})};
      break;
    case OldFile::kVar:
      label = "Varname";
      prefix = "VAR";
      Add(layout, prefix, "CUSID", FieldType::kLong);
      Add(layout, prefix, "NAME", FieldType::kString, 20);
      Add(layout, prefix, "SUBURB", FieldType::kString, 20);
      keys = {Key(prefix, "ByName", {"NAME"}), Key(prefix, "BySuburb", {"SUBURB"}), Key(prefix, "ByID", {"CUSID"})};
      break;
  }
  return std::make_unique<FileDecl>(label, FileName(fileName), prefix, owner, attrs, std::move(layout),
                                    std::move(keys));
}

}  // namespace qx::demodata
