// Starting the real qxshift for a test (headless, with the automation channel, RECFIX
// beside it in bin/), with a configuration directory of its own for "qxshift.INI"; what
// the tests check of the data files it leaves behind is in
// tests/demo_files/converted_files.h.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "demo/data_files.h"
#include "runtime/sys/error_state.h"
#include "tests/demo_files/converted_files.h"
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

}  // namespace qx::testing
