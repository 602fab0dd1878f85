// Starting the real qxmora for a test; what the tests check of the data files it leaves
// behind is in tests/demo_files/converted_files.h.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "demo/data_files.h"
#include "runtime/win/windows.h"
#include "tests/demo_files/converted_files.h"
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

}  // namespace qx::testing
