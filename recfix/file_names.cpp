// Names of a conversion; see file_names.h.
#include "recfix/file_names.h"

#include <sys/stat.h>

#include "runtime/sys/paths.h"

namespace qx::recfix {

namespace {

// True when both names are existing files and the same one.
bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  if (::stat(RtResolvePath(a).c_str(), &sa) != 0 || ::stat(RtResolvePath(b).c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace

std::string StoreNameOf(const std::string& name) {
  const std::string native = RtNativePath(name);
  const size_t slash = native.rfind('/');
  const std::string last = slash == std::string::npos ? native : native.substr(slash + 1);
  return last.find('.') == std::string::npos ? name + ".TPS" : name;
}

std::vector<std::string> WorkFileNames(const std::string& dataName, const std::string& directory) {
  const std::string native = RtNativePath(StoreNameOf(dataName));
  const size_t slash = native.rfind('/');
  const std::string dir = directory.empty() || directory.back() == '/' ? directory : directory + "/";
  const std::string last = slash == std::string::npos ? native : native.substr(slash + 1);
  const std::string base = dir + last.substr(0, last.find('.'));
  std::vector<std::string> out;
  for (const char* e : {".tp1", ".tp2", ".tp3", ".tp4", ".tp5", ".tp6", ".tp7", ".tp8", ".tp9", ".tp$"})
    out.push_back(base + e);
  return out;
}

std::string WorkFileFor(const std::string& dataName, const std::string& exampleName, const std::string& directory) {
  const std::string data = StoreNameOf(dataName), example = StoreNameOf(exampleName);
  for (const std::string& candidate : WorkFileNames(dataName, directory)) {
    if (!SameFile(candidate, data) && !SameFile(candidate, example)) return candidate;
  }
  return {};  // every name is the data or the example file itself (hard links)
}

}  // namespace qx::recfix
