// Running the real RECFIX binary from the tests: in a directory of the test's own, with
// the words of a command line, its standard error captured.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/files.h"

namespace qx::recfix_test {

using testing::FileBytes;
using testing::TempDir;

// A started RECFIX process.
class RecfixProcess {
 public:
  // Starts RECFIX in `dir` with `words` after the program name; its standard error goes
  // to a pipe that Wait() reads.
  RecfixProcess(const std::string& dir, const std::vector<std::string>& words) {
    int err[2];
    if (::pipe2(err, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(err[1], 2);
      if (::chdir(dir.c_str()) != 0) ::_exit(126);
      std::vector<char*> argv;
      argv.push_back(const_cast<char*>("RECFIX"));
      for (const std::string& w : words) argv.push_back(const_cast<char*>(w.c_str()));
      argv.push_back(nullptr);
      ::execv(RECFIX_PATH, argv.data());
      ::_exit(127);
    }
    ::close(err[1]);
    err_ = err[0];
  }
  ~RecfixProcess() {
    if (pid_ > 0 && !waited_) {
      ::kill(pid_, SIGKILL);
      Wait();
    }
    if (err_ >= 0) ::close(err_);
  }
  RecfixProcess(const RecfixProcess&) = delete;
  RecfixProcess& operator=(const RecfixProcess&) = delete;

  pid_t pid() const { return pid_; }
  void Signal(int sig) const { ::kill(pid_, sig); }

  // Waits for the end; returns the wait status.
  int Wait() {
    char buf[4096];
    ssize_t n;
    while ((n = ::read(err_, buf, sizeof buf)) > 0) stderr_.append(buf, static_cast<size_t>(n));
    int status = 0;
    ::waitpid(pid_, &status, 0);
    waited_ = true;
    status_ = status;
    return status;
  }
  const std::string& stderrText() const { return stderr_; }
  // The exit code, or -1 when a signal ended the process.
  int exitCode() const { return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1; }
  bool signalled() const { return WIFSIGNALED(status_); }

 private:
  pid_t pid_ = -1;
  int err_ = -1;
  bool waited_ = false;
  int status_ = 0;
  std::string stderr_;
};

struct RunResult {
  int exitCode = -1;  // -1 when a signal ended it
  std::string stderrText;
};

// Runs RECFIX to its end.
inline RunResult RunRecfix(const std::string& dir, const std::vector<std::string>& words) {
  RecfixProcess p(dir, words);
  p.Wait();
  return {p.exitCode(), p.stderrText()};
}

}  // namespace qx::recfix_test
