// The errno to error-code mapping; see os_error.h.
#include "runtime/sys/os_error.h"

#include <sys/stat.h>

#include <cerrno>

#include "runtime/sys/error_state.h"

namespace qx {

std::string RtDirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string RtLastComponentOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

LONG RtFileErrorFromErrno(int err, const std::string& path) {
  switch (err) {
    case ENOENT: {
      // ENOENT covers both a missing name and a missing directory on the way; the
      // runtime tells them apart.
      const std::string dir = RtDirectoryOf(path);
      struct stat st;
      if (::stat(dir.empty() ? "." : dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        return kFileNotFound;
      }
      return kPathNotFound;
    }
    case ENOTDIR:
    case ENAMETOOLONG:
      return kPathNotFound;
    default:
      return kAccessDenied;
  }
}

}  // namespace qx
