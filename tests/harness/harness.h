// A test harness for the real programs: starts a binary in a fresh temporary directory
// with the automation channel on (headless view), sends it requests, waits for conditions
// with a time-out, and collects its exit code and what it wrote to stderr.
//
//   auto run = ProgramRun::Start(binary, {});
//   run->WaitFor({{"window", "P1$APPFRAME"}});
//   run->Request({{"op", "menu"}, {"window", "P1$APPFRAME"}, {"item", "Exit"}});
//   EXPECT_EQ(run->WaitForExit(), 0);
//
// Also: reading a reply and a window's controls.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace qx::testing {

class ProgramRun {
 public:
  struct Options {
    std::vector<std::string> args;                            // after the program name
    std::vector<std::pair<std::string, std::string>> env;     // added to the environment
    bool automation = true;                                   // open the channel and connect
    // Files to put into the working directory before the start: name -> content.
    std::vector<std::pair<std::string, std::string>> files;
  };

  // Starts `binary` with the working directory a new empty temporary directory. With
  // automation, returns once connected to the program's channel. Nothing, with `error`
  // set, when the program cannot be started or its channel does not answer in 10 s.
  static std::unique_ptr<ProgramRun> Start(const std::string& binary, const Options& options, std::string* error = nullptr);
  // Kills the program if it still runs and removes the temporary directories.
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  // The program's working directory.
  const std::string& directory() const { return work_; }
  pid_t pid() const { return pid_; }

  // Sends one request and returns its reply; {"ok": false, "error": ...} when the channel
  // fails or gives no reply within `timeoutMs`.
  nlohmann::json Request(const nlohmann::json& request, int timeoutMs = 30000);
  // A "wait" request: the reply's "match" when the condition held within `timeoutMs`,
  // null otherwise.
  nlohmann::json WaitFor(const nlohmann::json& condition, int timeoutMs = 10000);
  // Waits until the program waits for a person (the "idle" condition): what it shows then
  // is the outcome of every request so far. False when it did not within `timeoutMs`.
  bool WaitIdle(int timeoutMs = 10000);
  // The open window that `selector` names (as the channel selects), or null.
  nlohmann::json Window(const nlohmann::json& selector);

  // Waits for the program to end: its exit code, 128 + the signal when a signal ended it,
  // -1 when it still runs after `timeoutMs`.
  int WaitForExit(int timeoutMs = 10000);
  // What the program has written to stderr so far.
  std::string Stderr() const;
  // Closes the channel connection (the program then counts as having no client).
  void Disconnect();

 private:
  ProgramRun() = default;
  bool Connect(int timeoutMs);

  std::string base_, work_, socket_, stderrPath_;
  pid_t pid_ = -1;
  int fd_ = -1;
  int exitCode_ = -1;
  bool exited_ = false;
  std::string pending_;
};

// Whether a reply of the channel says "ok".
inline bool Ok(const nlohmann::json& reply) { return reply.value("ok", false); }

// The control of `window` (as the channel lists it) named `name`; null when it has none.
nlohmann::json Control(const nlohmann::json& window, const std::string& name);

}  // namespace qx::testing
