// What the benchmarks share: the clock and its figures, the peak memory of a process, the
// options of a command line, a work directory of the run's own, and a measurement run in
// a child process of its own (so that its peak memory is its own).
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <type_traits>

namespace qx::bench {

using Clock = std::chrono::steady_clock;

// The time from `from` to `to`, in seconds and in microseconds.
double Seconds(Clock::time_point from, Clock::time_point to);
double Microseconds(Clock::time_point from, Clock::time_point to);

// The peak memory of this process so far (getrusage), KiB.
long PeakKb();

// The value after `flag` ("--records 1000") on the command line, or `fallback`.
std::string Flag(int argc, char** argv, const std::string& flag, const std::string& fallback);
uint64_t NumberFlag(int argc, char** argv, const std::string& flag, uint64_t fallback);

// Makes a new directory "qx_bench_NAME_XXXXXX" in `base` and returns its path; ends the
// run with a message when it cannot.
std::string MakeWorkDirectory(const std::string& base, const std::string& name);

// Runs `measure` in a child process and gives back what it returned (a plain struct),
// through a pipe. False when the child failed or gave nothing back.
template <class Result>
bool RunInChild(const std::function<Result()>& measure, Result* out) {
  static_assert(std::is_trivially_copyable_v<Result>);
  int fds[2];
  if (::pipe(fds) != 0) return false;
  std::fflush(stdout);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    const Result r = measure();
    const bool ok = ::write(fds[1], &r, sizeof r) == static_cast<ssize_t>(sizeof r);
    ::_exit(ok ? 0 : 1);
  }
  ::close(fds[1]);
  const bool got = ::read(fds[0], out, sizeof *out) == static_cast<ssize_t>(sizeof *out);
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return got && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace qx::bench
