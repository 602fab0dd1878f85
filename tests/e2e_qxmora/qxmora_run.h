// Starting the real qxmora for a test, and what the tests check of the data files it
// leaves behind.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "demo/data_files.h"
#include "runtime/win/windows.h"
#include "tests/demo_files/fixtures.h"
#include "tests/harness/harness.h"

namespace qx::testing {

// Starts qxmora (headless, with the automation channel) in a fresh working directory.
inline std::unique_ptr<ProgramRun> StartQxmora(ProgramRun::Options options) {
  std::string error;
  auto run = ProgramRun::Start(QXMORA_PATH, options, &error);
  EXPECT_TRUE(run) << error;
  return run;
}

inline std::unique_ptr<ProgramRun> StartQxmora(std::vector<std::string> args) {
  ProgramRun::Options options;
  options.args = std::move(args);
  return StartQxmora(options);
}

// The four declarations with the old layouts their files come from.
struct DataFile {
  FileDecl* decl;
  OldFile old;
};
inline const DataFile kDataFiles[] = {{&Standrd, OldFile::kStandrd},
                                      {&Encrypt, OldFile::kEncrypt},
                                      {&VeryLongName, OldFile::kVeryLong},
                                      {&Varname, OldFile::kVarname}};

// Writes the four old-layout files into `dir` under their demonstration names, each
// holding `customers`.
inline void WriteOldFiles(const std::string& dir, const std::vector<Customer>& customers) {
  for (OldFile kind : kAllOldFiles) ASSERT_EQ(WriteOldFile(kind, dir + "/" + DemoFileName(kind), customers), 0);
}

// Expects the file of `decl` in `dir` to open under its declaration and hold `customers`
// in record order, with every value a field of both layouts had; for Encrypt, ENC:SYSID
// 1, 2, 3 ... in record order.
inline void ExpectConverted(const std::string& dir, FileDecl& decl, const std::vector<Customer>& customers) {
  SCOPED_TRACE(decl.label());
  ScopedChdir in(dir);
  std::vector<Customer> read;
  ASSERT_EQ(ReadFile(decl, &read), 0);
  ASSERT_EQ(read.size(), customers.size());
  for (size_t i = 0; i < customers.size(); ++i) {
    Customer expected = Project(customers[i], decl.layout());
    if (&decl == &Encrypt) expected.sysid = static_cast<LONG>(i) + 1;
    EXPECT_EQ(read[i], expected) << "record " << i + 1;
  }
}

// The code OPEN gives the file of `decl` in `dir` (the instance is closed again).
inline LONG OpenCode(const std::string& dir, FileDecl& decl) {
  ScopedChdir in(dir);
  OPEN(decl, 0x22);
  const LONG code = RtErrorCode();
  if (code == 0) CLOSE(decl);
  return code;
}

// How often `event` ("+VHtemp", "-VHtemp") occurs among a watch's events.
inline int Occurrences(const std::vector<std::string>& events, const std::string& event) {
  int n = 0;
  for (const std::string& e : events) n += e == event;
  return n;
}

}  // namespace qx::testing
