// Filling and describing data files; see data_writer.h.
#include "tools/demodata/data_writer.h"

#include <cstring>
#include <iomanip>
#include <sstream>

#include "recfix/stored_decl.h"
#include "runtime/store/stored_layout.h"
#include "runtime/sys/paths.h"

namespace qx::demodata {

namespace {

std::string_view BareName(std::string_view name) {
  const size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

void PutText(const FieldDef& f, std::string_view text, unsigned char* record) {
  const size_t n = std::min(text.size(), f.width);
  std::memcpy(record + f.offset, text.data(), n);
  std::memset(record + f.offset + n, ' ', f.width - n);
}

// Ends the bulk fill after a failed step: the transaction undone, the file closed, the
// step's code kept.
LONG Fail(FileDecl& decl, bool inTransaction) {
  const LONG code = RtErrorCode();
  const std::string driverCode = RtPushFileErrorCode(), driverText = RtPushFileErrorText();
  if (inTransaction) ROLLBACK();
  CLOSE(decl);
  RtSetFileError(code, driverCode, driverText);
  return code;
}

}  // namespace

void FillRecord(const RecordLayout& layout, const Customer& c, unsigned char* record) {
  RtClearGroup(record, layout);
  for (const FieldDef& f : layout.fields()) {
    const std::string_view n = BareName(f.name);
    const LONG* number = n == "CUSID" ? &c.cusid : n == "STARTDATE" ? &c.startDate : nullptr;
    const std::string* text = n == "NAME"       ? &c.name
                              : n == "SUBURB"   ? &c.suburb
                              : n == "PHONE"    ? &c.phone
                              : n == "ADDRESS"  ? &c.address
                              : n == "NEWFIELD" ? &c.newField
                                                : nullptr;
    if (number && f.type == FieldType::kLong) std::memcpy(record + f.offset, number, sizeof(LONG));
    if (text && f.type == FieldType::kString) PutText(f, *text, record);
  }
}

LONG WriteDataFile(FileDecl& decl, uint64_t count, const std::function<Customer(uint64_t)>& customer) {
  CREATE(decl);
  if (RtErrorCode() != 0) return RtErrorCode();
  OPEN(decl, 0x12);
  if (RtErrorCode() != 0) return RtErrorCode();
  LOCK(decl);
  if (RtErrorCode() != 0) return Fail(decl, false);
  LOGOUT(10, decl);
  if (RtErrorCode() != 0) return Fail(decl, false);
  unsigned char* record = decl.RecordBuffer();
  for (uint64_t i = 0; i < count; ++i) {
    FillRecord(decl.layout(), customer(i), record);
    APPEND(decl);
    if (RtErrorCode() != 0) return Fail(decl, true);
  }
  COMMIT();
  if (RtErrorCode() != 0) return Fail(decl, false);
  BUILDfile(decl);
  if (RtErrorCode() != 0) return Fail(decl, false);
  CLOSE(decl);
  return RtErrorCode();
}

LONG DescribeDataFile(std::string_view name, std::string_view owner, std::ostream& out) {
  StoredLayout stored;
  if (const LONG code = ReadStoredLayout(name, owner, &stored); code != 0) return code;
  auto decl = recfix::MakeStoredDecl(std::string(name), std::string(owner), stored);
  OPEN(*decl, 0x40);
  if (RtErrorCode() != 0) return RtErrorCode();
  SEND(*decl, "QUICKSCAN=on");
  SETfile(*decl);
  uint64_t records = 0;
  for (NEXT(*decl); RtErrorCode() == 0; NEXT(*decl)) ++records;
  const LONG end = RtErrorCode();
  CLOSE(*decl);
  if (end != kRecordNotAvailable) {
    RtSetError(end);
    return end;
  }
  std::ostringstream s;
  s << "file: " << RtResolvePath(decl->StoreName()) << "\n";
  s << "encrypted: " << (stored.encrypted ? "yes" : "no") << "\n";
  s << "record length: " << stored.layout.length() << "\n";
  s << "fields:\n";
  int no = 1;
  for (const FieldDef& f : stored.layout.fields()) {
    std::string type(FieldTypeName(f.type));
    if (f.type == FieldType::kString || f.type == FieldType::kCString) type += "(" + std::to_string(f.width) + ")";
    s << "  " << std::setw(2) << no++ << " " << std::left << std::setw(16) << f.name << " " << std::setw(12) << type
      << std::right << " offset " << f.offset << "\n";
  }
  s << "keys:\n";
  no = 1;
  for (const KeyDef& k : stored.keys) {
    std::string components;
    for (const std::string& c : k.components) components += (components.empty() ? "" : ", ") + c;
    s << "  " << std::setw(2) << no++ << " " << std::left << std::setw(20) << k.name << std::right << " ("
      << components << ")" << (k.dup ? " DUP" : "") << (k.opt ? " OPT" : "") << (k.nocase ? " NOCASE" : "")
      << (k.primary ? " PRIMARY" : "") << "\n";
  }
  s << "records: " << records << "\n";
  out << s.str();
  RtClearError();
  return 0;
}

}  // namespace qx::demodata
