// Starting the real qxshift for a test (headless, with the automation channel, RECFIX
// beside it in bin/), with a configuration directory of its own for "qxshift.INI", and
// what the tests check of the data files it leaves behind.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "demo/data_files.h"
#include "runtime/sys/error_state.h"
#include "tests/demo_files/fixtures.h"
#include "tests/harness/harness.h"

namespace qx::testing {

// The frame's one text.
inline constexpr const char* kResultText = "Files converted successfully or do not need conversion";

// One run of qxshift and the configuration directory it was given.
struct QxshiftRun {
  TempDir config;
  std::unique_ptr<ProgramRun> run;
  std::string Ini() const { return config / "qxshift.INI"; }
};

// Starts qxshift with `options`, its XDG_CONFIG_HOME set to a new empty directory, after
// `prepare` has filled that directory.
template <class Prepare>
std::unique_ptr<QxshiftRun> StartQxshift(ProgramRun::Options options, Prepare&& prepare) {
  auto q = std::make_unique<QxshiftRun>();
  prepare(q->config.path());
  options.env.push_back({"XDG_CONFIG_HOME", q->config.path()});
  std::string error;
  q->run = ProgramRun::Start(QXSHIFT_PATH, options, &error);
  EXPECT_TRUE(q->run) << error;
  if (!q->run) return nullptr;
  return q;
}

inline std::unique_ptr<QxshiftRun> StartQxshift(ProgramRun::Options options) {
  return StartQxshift(std::move(options), [](const std::string&) {});
}

inline std::unique_ptr<QxshiftRun> StartQxshift(std::vector<std::string> args) {
  ProgramRun::Options options;
  options.args = std::move(args);
  return StartQxshift(options);
}

// The four declarations with the old layouts their demonstration files come from.
struct DataFile {
  FileDecl* decl;
  OldFile old;
};
inline const DataFile kDataFiles[] = {{&Standrd, OldFile::kStandrd},
                                      {&Encrypt, OldFile::kEncrypt},
                                      {&VeryLongName, OldFile::kVeryLong},
                                      {&Varname, OldFile::kVarname}};

// Writes the four old-layout files into `dir` under their demonstration names.
inline void WriteOldFiles(const std::string& dir, const std::vector<Customer>& customers) {
  for (OldFile kind : kAllOldFiles) ASSERT_EQ(WriteOldFile(kind, dir + "/" + DemoFileName(kind), customers), 0);
}

// Expects the file of `decl` in `dir` to open under its declaration and hold `customers`
// in record order, every value a field of both layouts had; for Encrypt ENC:SYSID 1, 2, 3
// ... in record order.
inline void ExpectConverted(const std::string& dir, FileDecl& decl, const std::vector<Customer>& customers) {
  SCOPED_TRACE(decl.label() + " in " + dir);
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

// The code OPEN gives the file of `decl` in `dir` (closed again).
inline LONG OpenCode(const std::string& dir, FileDecl& decl) {
  ScopedChdir in(dir);
  OPEN(decl, 0x22);
  const LONG code = RtErrorCode();
  if (code == 0) CLOSE(decl);
  return code;
}

}  // namespace qx::testing
