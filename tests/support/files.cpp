// Files and directories for the tests; see files.h.
#include "tests/support/files.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qx::testing {

TempDir::TempDir() {
  char tmpl[] = "/tmp/qx_test_XXXXXX";
  const char* made = ::mkdtemp(tmpl);
  path_ = made ? made : "";
}

TempDir::~TempDir() {
  std::error_code ec;
  // Entries a test made unsearchable must be reachable to be removed.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec) && !it->is_symlink(ec)) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                   ec);
    }
  }
  std::filesystem::remove_all(path_, ec);
}

std::vector<std::string> TempDir::Names() const { return testing::Names(path_); }

ScopedChdir::ScopedChdir(const std::string& dir) {
  char buf[PATH_MAX];
  if (::getcwd(buf, sizeof buf)) previous_ = buf;
  if (::chdir(dir.c_str()) != 0) previous_.clear();
}

ScopedChdir::~ScopedChdir() {
  if (!previous_.empty() && ::chdir(previous_.c_str()) != 0) std::abort();
}

std::vector<std::string> Names(const std::string& dir) {
  std::vector<std::string> out;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(dir, ec)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

DirectoryWatch::DirectoryWatch(const std::string& dir) {
  fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ >= 0) ::inotify_add_watch(fd_, dir.c_str(), IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO);
}

DirectoryWatch::~DirectoryWatch() {
  if (fd_ >= 0) ::close(fd_);
}

std::vector<std::string> DirectoryWatch::Events() {
  alignas(inotify_event) char buf[64 * 1024];
  for (;;) {
    const ssize_t n = fd_ >= 0 ? ::read(fd_, buf, sizeof buf) : -1;
    if (n <= 0) break;
    for (ssize_t at = 0; at < n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(buf + at);
      const std::string name = e->len ? e->name : "";
      if (e->mask & (IN_CREATE | IN_MOVED_TO)) events_.push_back("+" + name);
      if (e->mask & (IN_DELETE | IN_MOVED_FROM)) events_.push_back("-" + name);
      at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
    }
  }
  return events_;
}

}  // namespace qx::testing
