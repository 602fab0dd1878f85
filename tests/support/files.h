// Files and directories for the tests of every directory: a temporary directory of the
// test's own, the current directory changed for a scope, the names in a directory, a
// file's bytes, and a record of what happens to the entries of a directory.
#pragma once

#include <string>
#include <vector>

namespace qx::testing {

// A fresh directory under /tmp, removed with everything in it at the end of the scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  // The names in the directory, sorted.
  std::vector<std::string> Names() const;

 private:
  std::string path_;
};

// Makes `dir` the current directory for the scope's life.
class ScopedChdir {
 public:
  explicit ScopedChdir(const std::string& dir);
  ~ScopedChdir();
  ScopedChdir(const ScopedChdir&) = delete;
  ScopedChdir& operator=(const ScopedChdir&) = delete;

 private:
  std::string previous_;
};

// The names in `dir`, sorted.
std::vector<std::string> Names(const std::string& dir);
// The bytes of a file ("" when it cannot be read).
std::string FileBytes(const std::string& path);
// Writes `bytes` as the whole of a file, made or emptied first.
void WriteBytes(const std::string& path, const std::string& bytes);

// Records what happens to the entries of one directory while it lives (inotify): each
// entry made ("+name") or removed ("-name"), in order; a rename counts as both.
class DirectoryWatch {
 public:
  explicit DirectoryWatch(const std::string& dir);
  ~DirectoryWatch();
  DirectoryWatch(const DirectoryWatch&) = delete;
  DirectoryWatch& operator=(const DirectoryWatch&) = delete;
  // Everything seen so far.
  std::vector<std::string> Events();

 private:
  int fd_ = -1;
  std::vector<std::string> events_;
};

}  // namespace qx::testing
