// The data files of the end-to-end tests; see converted_files.h.
#include "tests/demo_files/converted_files.h"

#include <gtest/gtest.h>

#include "demo/data_files.h"
#include "runtime/sys/error_state.h"

namespace qx::testing {

const DataFile kDataFiles[4] = {{&Standrd, OldFile::kStandrd},
                                {&Encrypt, OldFile::kEncrypt},
                                {&VeryLongName, OldFile::kVeryLong},
                                {&Varname, OldFile::kVarname}};

void WriteOldFiles(const std::string& dir, const std::vector<Customer>& customers) {
  for (OldFile kind : kAllOldFiles) ASSERT_EQ(WriteOldFile(kind, dir + "/" + DemoFileName(kind), customers), 0);
}

std::string OldStandrdBytes(int generated) {
  TempDir stage;
  const LONG code = generated ? WriteGeneratedOldFile(OldFile::kStandrd, stage / "Standrd.TPS", generated)
                              : WriteOldFile(OldFile::kStandrd, stage / "Standrd.TPS", SampleCustomers());
  EXPECT_EQ(code, 0);
  return FileBytes(stage / "Standrd.TPS");
}

void ExpectConverted(const std::string& dir, FileDecl& decl, const std::vector<Customer>& customers) {
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

LONG OpenCode(const std::string& dir, FileDecl& decl) {
  ScopedChdir in(dir);
  OPEN(decl, 0x22);
  const LONG code = RtErrorCode();
  if (code == 0) CLOSE(decl);
  return code;
}

int Occurrences(const std::vector<std::string>& events, const std::string& event) {
  int n = 0;
  for (const std::string& e : events) n += e == event;
  return n;
}

}  // namespace qx::testing
