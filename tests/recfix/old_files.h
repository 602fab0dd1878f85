// Old data files as a caller may leave them for RECFIX, beyond those the demonstration
// data writer makes whole: here, one whose bulk fill ended before its keys were built.
#pragma once

#include <gtest/gtest.h>

#include "runtime/store/store.h"
#include "tools/demodata/customers.h"
#include "tools/demodata/data_writer.h"

namespace qx::recfix_test {

// Makes a new file of `old` holding the demonstration customers, APPENDed in one
// transaction and never followed by BUILDfile, so its keys must be rebuilt: OPEN reports
// 46, as the last step checks.
inline void WriteWithKeysUnbuilt(FileDecl& old) {
  CREATE(old);
  OPEN(old, 0x12);
  LOGOUT(10, old);
  for (const demodata::Customer& c : demodata::DemoCustomers()) {
    demodata::FillRecord(old.layout(), c, old.RecordBuffer());
    APPEND(old);
    ASSERT_EQ(RtErrorCode(), 0);
  }
  COMMIT();
  CLOSE(old);
  OPEN(old, 0x22);
  ASSERT_EQ(RtErrorCode(), kKeyFileMustBeRebuilt);
}

}  // namespace qx::recfix_test
