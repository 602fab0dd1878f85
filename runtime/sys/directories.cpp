// Current directory, directory creation and removal; see directories.h.
#include "runtime/sys/directories.h"

#include <sys/stat.h>
#include <unistd.h>

#include "runtime/sys/error_state.h"
#include "runtime/sys/paths.h"

namespace qx {

void RtSetPath(std::string_view directory) {
  const std::string host = RtHostPath(directory);
  if (host.empty() || ::chdir(host.c_str()) != 0) {
    RtSetError(kPathNotFound);
    return;
  }
  RtClearError();
}

int RtCreateDirectory(std::string_view path) {
  const std::string host = RtHostPath(path);
  if (host.empty()) return -1;
  return ::mkdir(host.c_str(), 0777) == 0 ? 0 : -1;
}

int RtRemoveDirectory(std::string_view path) {
  const std::string host = RtHostPath(path);
  if (host.empty()) return -1;
  return ::rmdir(host.c_str()) == 0 ? 0 : -1;
}

}  // namespace qx
