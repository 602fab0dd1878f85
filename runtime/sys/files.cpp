// Copy, rename and remove of files; see files.h.
#include "runtime/sys/files.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "runtime/sys/error_state.h"
#include "runtime/sys/os_error.h"
#include "runtime/sys/paths.h"
#include "runtime/sys/replacement_file.h"

namespace qx {
namespace {

// Closes a descriptor when the scope ends.
class FdCloser {
 public:
  explicit FdCloser(int fd) : fd_(fd) {}
  ~FdCloser() { if (fd_ >= 0) ::close(fd_); }
  FdCloser(const FdCloser&) = delete;
  FdCloser& operator=(const FdCloser&) = delete;

 private:
  int fd_;
};

// Copies everything from `in` to `out`, in the kernel where it can. Returns 0 or errno.
int CopyContent(int in, int out) {
  bool kernelCopy = true;
  std::vector<char> buf;
  for (;;) {
    if (kernelCopy) {
      const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, size_t{1} << 30, 0);
      if (n > 0) continue;
      if (n == 0) return 0;
      if (errno == EINTR) continue;
      if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP) return errno;
      kernelCopy = false;  // not offered between these files: copy through a buffer
      buf.resize(size_t{1} << 20);
    }
    const ssize_t n = ::read(in, buf.data(), buf.size());
    if (n == 0) return 0;
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = ::write(out, buf.data() + done, static_cast<size_t>(n - done));
      if (w < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      done += w;
    }
  }
}

}  // namespace

void RtCopyFile(std::string_view source, std::string_view target) {
  const std::string from = RtHostPath(source);
  const std::string to = RtHostPath(target);
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) {
    RtSetError(RtFileErrorFromErrno(errno, from));
    return;
  }
  FdCloser closeIn(in);
  struct stat st;
  if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
    RtSetError(kAccessDenied);
    return;
  }
  struct stat existing;
  if (::stat(to.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) {
    RtSetError(kAccessDenied);
    return;
  }
  ReplacementFile out(to);
  int err = out.Open(st.st_mode & 0777);
  if (err == 0) err = CopyContent(in, out.fd());
  if (err == 0) {
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::futimens(out.fd(), times);
    err = out.Commit();
  }
  if (err != 0) {
    RtSetError(RtFileErrorFromErrno(err, to));
    return;
  }
  RtClearError();
}

void RtRenameFile(std::string_view oldName, std::string_view newName) {
  const std::string from = RtHostPath(oldName);
  std::string to = RtHostPath(newName);
  struct stat old;
  if (::lstat(from.c_str(), &old) != 0) {
    RtSetError(RtFileErrorFromErrno(errno, from));
    return;
  }
  if (to == from) {
    // The new name matched the old file itself without regard to case: the rename
    // changes the spelling to the new name as written.
    const std::string written = RtLastComponentOf(RtNativePath(RtClipView(newName)));
    const std::string dir = RtDirectoryOf(from);
    to = dir.empty() ? written : (dir == "/" ? dir : dir + "/") + written;
    if (written.empty() || to == from) {
      RtClearError();
      return;
    }
  }
  int rc = ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
  if (rc != 0 && (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
    // A file system without RENAME_NOREPLACE: a hard link claims the new name in one
    // step (failing when it exists), then the old name goes.
    rc = ::link(from.c_str(), to.c_str());
    if (rc == 0 && ::unlink(from.c_str()) != 0) {
      const int err = errno;
      ::unlink(to.c_str());
      errno = err;
      rc = -1;
    }
  }
  if (rc != 0) {
    RtSetError(RtFileErrorFromErrno(errno, to));
    return;
  }
  RtClearError();
}

void RtRemoveFile(std::string_view name) {
  const std::string host = RtHostPath(name);
  if (::unlink(host.c_str()) != 0) {
    RtSetError(RtFileErrorFromErrno(errno, host));
    return;
  }
  RtClearError();
}

}  // namespace qx
