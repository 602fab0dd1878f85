// Program search and child processes; see run.h.
#include "runtime/sys/run.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

#include "runtime/sys/command_line.h"
#include "runtime/sys/error_state.h"
#include "runtime/sys/os_error.h"
#include "runtime/sys/paths.h"
#include "runtime/sys/runtime_lock.h"
#include "runtime/text/strings.h"

extern char** environ;

namespace qx {
namespace {

thread_local LONG tLastExitCode = 0;

// The spellings a program name is tried under: as written, and with ".exe" taken off
// (or put on).
std::vector<std::string> NameVariants(const std::string& name) {
  std::vector<std::string> out{name};
  const size_t n = name.size();
  if (n > 4 && RtSameIgnoringCase(std::string_view(name).substr(n - 4), ".exe")) {
    out.push_back(name.substr(0, n - 4));
  } else {
    out.push_back(name + ".exe");
  }
  return out;
}

std::string OwnDirectory() {
  std::vector<char> buf(4096);
  const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return {};
  return RtDirectoryOf(std::string(buf.data(), static_cast<size_t>(n)));
}

enum class Probe { kMissing, kNotExecutable, kFound };

Probe ProbeFile(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return Probe::kMissing;
  if (!S_ISREG(st.st_mode) || ::access(path.c_str(), X_OK) != 0) return Probe::kNotExecutable;
  return Probe::kFound;
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  return dir.back() == '/' ? dir + name : dir + "/" + name;
}

// The environment of a child: this process's, less any inherited command line, plus the
// child's own.
std::vector<std::string> ChildEnvironment(std::string_view commandLine) {
  const std::string prefix = std::string(kRtCommandLineVariable) + "=";
  std::vector<std::string> env;
  for (char** e = environ; e && *e; ++e) {
    if (std::strncmp(*e, prefix.c_str(), prefix.size()) != 0) env.emplace_back(*e);
  }
  env.push_back(prefix + std::string(commandLine));
  return env;
}

std::vector<char*> PointersTo(std::vector<std::string>& strings) {
  std::vector<char*> out;
  for (auto& s : strings) out.push_back(s.data());
  out.push_back(nullptr);
  return out;
}

LONG ExitCodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return 0;
}

int WaitFor(pid_t pid, int* status) {
  for (;;) {
    if (::waitpid(pid, status, 0) == pid) return 0;
    if (errno != EINTR) return errno;
  }
}

}  // namespace

std::string RtFindProgram(std::string_view name) {
  const std::string written = RtNativePath(RtClipView(name));
  if (written.empty()) {
    RtSetError(kFileNotFound);
    return {};
  }
  std::vector<std::string> dirs;
  const bool hasDirectory = written.find('/') != std::string::npos;
  if (hasDirectory) {
    dirs.emplace_back();
  } else {
    dirs.push_back(OwnDirectory());
    dirs.emplace_back();  // the current directory
    const char* path = std::getenv("PATH");
    const std::string entries = path ? path : "";
    size_t start = 0;
    while (path && start <= entries.size()) {
      size_t colon = entries.find(':', start);
      if (colon == std::string::npos) colon = entries.size();
      dirs.push_back(entries.substr(start, colon - start));
      start = colon + 1;
    }
  }
  bool sawNotExecutable = false;
  for (const std::string& dir : dirs) {
    for (const std::string& variant : NameVariants(written)) {
      const std::string candidate = RtResolvePath(JoinPath(dir, variant));
      switch (ProbeFile(candidate)) {
        case Probe::kFound:
          RtClearError();
          return candidate;
        case Probe::kNotExecutable:
          sawNotExecutable = true;
          break;
        case Probe::kMissing:
          break;
      }
    }
  }
  if (sawNotExecutable) {
    RtSetError(kAccessDenied);
  } else if (hasDirectory) {
    RtSetError(RtFileErrorFromErrno(ENOENT, RtResolvePath(written)));
  } else {
    RtSetError(kFileNotFound);
  }
  return {};
}

void RtRun(std::string_view commandLine, bool wait) {
  // The command line is a C string on the original platform: a NUL ends it.
  std::string_view line = commandLine.substr(0, commandLine.find('\0'));
  line = RtClipView(line);
  const RtCommandWords split = RtSplitCommandLine(line);
  const std::string program = RtFindProgram(split.program);
  if (program.empty()) return;  // RtFindProgram set the error code

  std::vector<std::string> args{split.program};
  args.insert(args.end(), split.words.begin(), split.words.end());
  std::vector<std::string> env = ChildEnvironment(line);
  std::vector<char*> argv = PointersTo(args);
  std::vector<char*> envp = PointersTo(env);

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attr;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawnattr_init(&attr);
  // Only the standard streams are inherited: record files, sockets and pipes of this
  // process stay its own.
  ::posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  // The child starts with no signal blocked and every handler at its default, whatever
  // this thread (a view or a program thread) has set.
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  sigdelset(&all, SIGKILL);
  sigdelset(&all, SIGSTOP);
  ::posix_spawnattr_setsigmask(&attr, &none);
  ::posix_spawnattr_setsigdefault(&attr, &all);
  ::posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  pid_t pid = 0;
  const int err = ::posix_spawn(&pid, program.c_str(), &actions, &attr, argv.data(), envp.data());
  ::posix_spawnattr_destroy(&attr);
  ::posix_spawn_file_actions_destroy(&actions);
  if (err != 0) {
    RtSetError(RtFileErrorFromErrno(err, program));
    return;
  }
  RtClearError();

  if (!wait) {
    // A reaper per child: it waits for this one pid only, so it never takes the exit
    // status of a child that someone else waits for.
    try {
      std::thread([pid] {
        int status = 0;
        WaitFor(pid, &status);
      }).detach();
    } catch (const std::system_error&) {
      // No thread to be had: the child is left to be reaped when this process ends.
    }
    return;
  }
  int status = 0;
  int waitErr;
  {
    WaitOutsideRuntime outside;
    waitErr = WaitFor(pid, &status);
  }
  if (waitErr == 0) tLastExitCode = ExitCodeOf(status);
}

LONG RtRunExitCode() { return tLastExitCode; }

}  // namespace qx
