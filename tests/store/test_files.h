// Declarations shared by the store's tests: the Standrd shape (LONG, STRING(20),
// STRING(20); keys by name and by id, both DUP OPT NOCASE) and the Varname shape with its
// composite keys; their temporary directory is the one of tests/support.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>
#include <string>

#include "runtime/store/store.h"
#include "tests/support/files.h"

namespace qx::testing {

struct StandrdRecord {
  LONG CUSID;
  STRING<20> NAME;
  STRING<20> SUBURB;
};

inline RecordLayout StandrdLayout(const char* prefix = "STD") {
  const std::string p = std::string(prefix) + ":";
  return LayoutOf<StandrdRecord>()
      .Field(p + "CUSID", &StandrdRecord::CUSID)
      .Field(p + "NAME", &StandrdRecord::NAME)
      .Field(p + "SUBURB", &StandrdRecord::SUBURB);
}

inline KeyDef DupOptNocase(std::string name, std::vector<std::string> components) {
  KeyDef k;
  k.name = std::move(name);
  k.components = std::move(components);
  k.dup = k.opt = k.nocase = true;
  return k;
}

inline std::vector<KeyDef> StandrdKeys() {
  return {DupOptNocase("STD:ByName", {"STD:NAME"}), DupOptNocase("STD:ByID", {"STD:CUSID"})};
}

inline std::vector<KeyDef> VarnameKeys() {
  return {DupOptNocase("VAR:ByName", {"VAR:NAME"}),
          DupOptNocase("VAR:BySuburb", {"VAR:SUBURB"}),
          DupOptNocase("VAR:ByID", {"VAR:CUSID"}),
          DupOptNocase("VAR:ByNameSuburb", {"VAR:NAME", "VAR:SUBURB"}),
          DupOptNocase("VAR:ByCusIDName", {"VAR:CUSID", "VAR:NAME"}),
          DupOptNocase("VAR:ByCusIDNameSuburb", {"VAR:CUSID", "VAR:NAME", "VAR:SUBURB"})};
}

inline FileAttributes CreateThread() {
  FileAttributes a;
  a.create = true;
  return a;
}

inline std::unique_ptr<FileDecl> MakeStandrd(const std::string& name, std::vector<KeyDef> keys = StandrdKeys(),
                                             std::string owner = "", FileAttributes attrs = CreateThread()) {
  return std::make_unique<FileDecl>("Standrd", FileName(name), "STD", std::move(owner), attrs, StandrdLayout(),
                                    std::move(keys));
}

// Sets the Standrd buffer and adds it; returns the error code.
inline LONG AddStandrd(FileDecl& f, LONG id, std::string_view name, std::string_view suburb = "") {
  auto& r = f.Record<StandrdRecord>();
  r.CUSID = id;
  r.NAME = name;
  r.SUBURB = suburb;
  ADD(f);
  return RtErrorCode();
}

// Reads on with `read` until it fails; returns the CUSIDs read, in order.
template <class Read>
std::vector<LONG> ReadAll(FileDecl& f, Read read) {
  std::vector<LONG> ids;
  for (int guard = 0; guard < 100000; ++guard) {
    read();
    if (RtErrorCode() != 0) break;
    ids.push_back(f.Record<StandrdRecord>().CUSID);
  }
  return ids;
}

// The CUSIDs of every record in record order.
inline std::vector<LONG> RecordOrderIds(FileDecl& f) {
  SETfile(f);
  return ReadAll(f, [&] { NEXT(f); });
}

}  // namespace qx::testing
