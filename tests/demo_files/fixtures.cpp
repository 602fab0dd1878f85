// Fixtures for the data-file tests; see fixtures.h.
#include "tests/demo_files/fixtures.h"

#include <algorithm>
#include <cstring>

#include "runtime/store/layout.h"
#include "runtime/sys/error_state.h"
#include "tools/demodata/old_layouts.h"

namespace qx::testing {
namespace {

// Writes a field given by its name without prefix; nothing when the layout lacks it.
void SetLong(unsigned char* buffer, const RecordLayout& layout, const std::string& prefix, const char* name, LONG v) {
  const int i = layout.FindField(prefix + ":" + name);
  if (i < 0) return;
  std::memcpy(buffer + layout.fields()[i].offset, &v, sizeof v);
}

void SetText(unsigned char* buffer, const RecordLayout& layout, const std::string& prefix, const char* name,
             const std::string& v) {
  const int i = layout.FindField(prefix + ":" + name);
  if (i < 0) return;
  const FieldDef& f = layout.fields()[i];
  std::memset(buffer + f.offset, ' ', f.width);
  std::memcpy(buffer + f.offset, v.data(), std::min(v.size(), f.width));
}

LONG GetLong(const unsigned char* buffer, const RecordLayout& layout, const std::string& prefix, const char* name) {
  const int i = layout.FindField(prefix + ":" + name);
  if (i < 0) return 0;
  LONG v;
  std::memcpy(&v, buffer + layout.fields()[i].offset, sizeof v);
  return v;
}

std::string GetText(const unsigned char* buffer, const RecordLayout& layout, const std::string& prefix,
                    const char* name) {
  const int i = layout.FindField(prefix + ":" + name);
  if (i < 0) return {};
  const FieldDef& f = layout.fields()[i];
  return std::string(RtClipView(std::string_view(reinterpret_cast<const char*>(buffer) + f.offset, f.width)));
}

void Fill(FileDecl& decl, const Customer& c) {
  unsigned char* b = decl.RecordBuffer();
  const RecordLayout& l = decl.layout();
  const std::string& p = decl.prefix();
  RtClearGroup(b, l);
  SetLong(b, l, p, "CUSID", c.cusid);
  SetText(b, l, p, "NAME", c.name);
  SetText(b, l, p, "SUBURB", c.suburb);
  SetText(b, l, p, "PHONE", c.phone);
  SetLong(b, l, p, "STARTDATE", c.startdate);
  SetText(b, l, p, "ADDRESS", c.address);
  SetText(b, l, p, "NEWFIELD", c.newfield);
  SetLong(b, l, p, "SYSID", c.sysid);
}

}  // namespace

Customer BufferedCustomer(FileDecl& decl) {
  const unsigned char* b = decl.RecordBuffer();
  const RecordLayout& l = decl.layout();
  const std::string& p = decl.prefix();
  Customer c;
  c.cusid = GetLong(b, l, p, "CUSID");
  c.name = GetText(b, l, p, "NAME");
  c.suburb = GetText(b, l, p, "SUBURB");
  c.phone = GetText(b, l, p, "PHONE");
  c.startdate = GetLong(b, l, p, "STARTDATE");
  c.address = GetText(b, l, p, "ADDRESS");
  c.newfield = GetText(b, l, p, "NEWFIELD");
  c.sysid = GetLong(b, l, p, "SYSID");
  return c;
}

const std::vector<Customer>& SampleCustomers() {
  static const std::vector<Customer> customers = {
      {1, "Smith", "Richmond", "03 9428 1234", 4, "1 High Street", "first", 0},
      {2, "SMITH", "richmond", "", 2994626, "", "", 0},
      {0, "", "Only A Suburb", "", 0, "", "", 0},
      {-17, "O'Brien-Larkhill Joh", "Fitzroy North Easte", "+61 400 000 000", 80000, std::string(40, 'A'), "x", 0},
      {2, "J\xC3\xBCrgen", "", "12", 73000, "Stra\xC3\x9F" "e 5", "", 0},
      {2147483647, "zed", "Zillmere", "999", -1, "", "last field", 0},
  };
  return customers;
}

std::string DemoFileName(OldFile kind) {
  switch (kind) {
    case OldFile::kStandrd: return "Standrd.TPS";
    case OldFile::kEncrypt: return "Encrypt.TPS";
    case OldFile::kVeryLong: return "VeryLong.TPS";
    case OldFile::kVarname: return "variable.tps";
  }
  return {};
}

std::unique_ptr<FileDecl> OldDecl(OldFile kind, const std::string& path) {
  switch (kind) {
    case OldFile::kStandrd: return demodata::MakeOldDecl(demodata::OldFile::kStandrd, path);
    case OldFile::kEncrypt: return demodata::MakeOldDecl(demodata::OldFile::kEncrypt, path);
    case OldFile::kVeryLong: return demodata::MakeOldDecl(demodata::OldFile::kVeryLong, path);
    case OldFile::kVarname: return demodata::MakeOldDecl(demodata::OldFile::kVar, path);
  }
  return nullptr;
}

LONG WriteFile(FileDecl& decl, const std::vector<Customer>& customers) {
  CREATE(decl);
  if (RtErrorCode() != 0) return RtErrorCode();
  OPEN(decl, 0x12);
  if (RtErrorCode() != 0) return RtErrorCode();
  for (const Customer& c : customers) {
    Fill(decl, c);
    ADD(decl);
    if (RtErrorCode() != 0) {
      const LONG code = RtErrorCode();
      CLOSE(decl);
      return code;
    }
  }
  CLOSE(decl);
  return 0;
}

LONG WriteOldFile(OldFile kind, const std::string& path, const std::vector<Customer>& customers) {
  auto decl = OldDecl(kind, path);
  return WriteFile(*decl, customers);
}

Customer GeneratedCustomer(int i) {
  Customer c;
  c.cusid = i + 1;
  c.name = "Name " + std::to_string((i * 7919) % 100003);
  c.suburb = "Suburb " + std::to_string(i % 97);
  c.phone = std::to_string(1000000 + i);
  c.startdate = 4 + (i * 31) % 80000;
  c.address = std::to_string(i) + " Long Road";
  c.newfield = "n" + std::to_string(i % 13);
  return c;
}

LONG WriteGeneratedOldFile(OldFile kind, const std::string& path, int count) {
  auto decl = OldDecl(kind, path);
  CREATE(*decl);
  if (RtErrorCode() != 0) return RtErrorCode();
  OPEN(*decl, 0x12);
  if (RtErrorCode() != 0) return RtErrorCode();
  LOCK(*decl);
  LOGOUT(10, *decl);
  for (int i = 0; i < count; ++i) {
    Fill(*decl, GeneratedCustomer(i));
    APPEND(*decl);
    if (RtErrorCode() != 0) break;
  }
  LONG code = RtErrorCode();
  COMMIT();
  if (code == 0) code = RtErrorCode();
  BUILDfile(*decl);
  if (code == 0) code = RtErrorCode();
  CLOSE(*decl);
  return code;
}

LONG ReadFile(FileDecl& decl, std::vector<Customer>* out) {
  out->clear();
  OPEN(decl, 0x22);
  const LONG code = RtErrorCode();
  if (code != 0) return code;
  SETfile(decl);
  for (;;) {
    NEXT(decl);
    if (RtErrorCode() != 0) break;
    out->push_back(BufferedCustomer(decl));
  }
  CLOSE(decl);
  return 0;
}

Customer Project(const Customer& c, const RecordLayout& layout) {
  auto cut = [&](const char* field, const std::string& v) -> std::string {
    for (const FieldDef& f : layout.fields()) {
      const std::string& n = f.name;
      if (n.size() > 4 && n.compare(4, std::string::npos, field) == 0) {
        return std::string(RtClipView(std::string_view(v).substr(0, std::min(v.size(), f.width))));
      }
    }
    return {};
  };
  auto has = [&](const char* field) {
    for (const FieldDef& f : layout.fields()) {
      if (f.name.size() > 4 && f.name.compare(4, std::string::npos, field) == 0) return true;
    }
    return false;
  };
  Customer p;
  p.cusid = has("CUSID") ? c.cusid : 0;
  p.name = cut("NAME", c.name);
  p.suburb = cut("SUBURB", c.suburb);
  p.phone = cut("PHONE", c.phone);
  p.startdate = has("STARTDATE") ? c.startdate : 0;
  p.address = cut("ADDRESS", c.address);
  p.newfield = cut("NEWFIELD", c.newfield);
  p.sysid = has("SYSID") ? c.sysid : 0;
  return p;
}

}  // namespace qx::testing
