// Running a check in a child process of the test, as the test's user or as an
// unprivileged one, and getting back what it returned: for checks that change the process
// (limits, user) or that must see permissions enforced when the tests run as root.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

namespace qx::testing {

// Runs `check` in a child process and returns what it returned (0..255), or 255 when
// the child could not be started or did not end normally.
inline int InChildProcess(const std::function<int()>& check) {
  const pid_t pid = ::fork();
  if (pid < 0) return 255;
  if (pid == 0) ::_exit(check() & 0xff);
  int status = 0;
  pid_t waited;
  do {
    waited = ::waitpid(pid, &status, 0);
  } while (waited < 0 && errno == EINTR);
  return waited == pid && WIFEXITED(status) ? WEXITSTATUS(status) : 255;
}

// Runs `check` in a child process as the user "nobody" when the tests run as root (as
// themselves otherwise), so that permissions are enforced, and returns what it returned;
// 254 when the child could not become that user.
inline int AsUnprivileged(const std::function<int()>& check) {
  return InChildProcess([&] {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 254;
    return check();
  });
}

}  // namespace qx::testing
