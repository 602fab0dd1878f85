// Test support for the standard functions: the in-process support of tests/support (the
// recording view, the program-thread fixture, another opener, a temporary directory) and
// the small declaration the tests open.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/store/file.h"  // not store.h: its record View and the window library's View share a name
#include "tests/support/files.h"
#include "tests/support/program_thread.h"
#include "tests/support/views.h"

namespace qx::sftest {

using testing::Box;
using testing::ExpectBoxes;
using testing::HaltBox;
using testing::OtherOpener;
using testing::ProgramThreadTest;
using testing::TempDir;

// The test files' record: a number and a name, 24 bytes.
struct Customer {
  LONG ID;
  STRING<20> NAME;
};

inline KeyDef MakeKey(std::string name, std::vector<std::string> components, bool dup) {
  KeyDef k;
  k.name = std::move(name);
  k.components = std::move(components);
  k.dup = dup;
  k.opt = k.nocase = true;
  return k;
}

// Keys: CUS:ByName (duplicates allowed) and CUS:ByID (no duplicates, so that a rebuild of
// key data holding the same ID twice fails).
inline std::vector<KeyDef> CustomerKeys() {
  return {MakeKey("CUS:ByName", {"CUS:NAME"}, true), MakeKey("CUS:ByID", {"CUS:ID"}, false)};
}

inline std::unique_ptr<FileDecl> MakeCustomers(FileName name, std::vector<KeyDef> keys = CustomerKeys(),
                                               bool create = true) {
  FileAttributes a;
  a.create = create;
  return std::make_unique<FileDecl>(
      "Customers", std::move(name), "CUS", "", a,
      LayoutOf<Customer>().Field("CUS:ID", &Customer::ID).Field("CUS:NAME", &Customer::NAME), std::move(keys));
}

inline LONG AddCustomer(FileDecl& f, LONG id, std::string_view name, bool append = false) {
  auto& r = f.Record<Customer>();
  r.ID = id;
  r.NAME = name;
  if (append) {
    APPEND(f);
  } else {
    ADD(f);
  }
  return RtErrorCode();
}

}  // namespace qx::sftest
