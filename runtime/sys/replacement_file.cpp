// Write-beside-and-rename; see replacement_file.h.
#include "runtime/sys/replacement_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "runtime/sys/os_error.h"

namespace qx {

ReplacementFile::ReplacementFile(std::string target) : target_(std::move(target)) {}

ReplacementFile::~ReplacementFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!temp_.empty() && !committed_) ::unlink(temp_.c_str());
}

int ReplacementFile::Open(mode_t mode) {
  const std::string dir = RtDirectoryOf(target_);
  // A hidden name beside the target, so the rename stays within one file system.
  std::string pattern = (dir.empty() ? std::string() : (dir == "/" ? dir : dir + "/")) +
                        "." + RtLastComponentOf(target_) + ".qxtmp-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return errno;
  fd_ = fd;
  temp_ = name.data();
  if (::fchmod(fd_, mode) != 0) return errno;
  return 0;
}

int ReplacementFile::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return 0;
}

int ReplacementFile::Commit() {
  if (::fsync(fd_) != 0) return errno;
  if (::close(fd_) != 0) {
    fd_ = -1;
    return errno;
  }
  fd_ = -1;
  if (::rename(temp_.c_str(), target_.c_str()) != 0) return errno;
  committed_ = true;
  // The rename itself is durable only once the directory is flushed; a failure here
  // leaves the new content in place, so it is not reported.
  const std::string dir = RtDirectoryOf(target_);
  const int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return 0;
}

}  // namespace qx
