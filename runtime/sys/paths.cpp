// Path spelling and case-insensitive matching; see paths.h.
#include "runtime/sys/paths.h"

#include <dirent.h>
#include <strings.h>

#include <vector>

namespace qx {

std::string RtNativePath(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

namespace {

// The entry of directory `dir` whose name equals `component` without regard to case:
// the exact spelling when present, else the first such entry in byte order; empty when
// none matches.
std::string MatchInDirectory(const std::string& dir, const std::string& component) {
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return {};
  std::string best;
  while (const dirent* e = ::readdir(d)) {
    const char* n = e->d_name;
    if (::strcasecmp(n, component.c_str()) != 0) continue;
    if (component == n) {
      best = n;
      break;
    }
    if (best.empty() || best > n) best = n;
  }
  ::closedir(d);
  return best;
}

}  // namespace

std::string RtResolvePath(std::string_view name) {
  const std::string native = RtNativePath(name);
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= native.size()) {
    size_t slash = native.find('/', start);
    if (slash == std::string::npos) slash = native.size();
    parts.emplace_back(native.substr(start, slash - start));
    start = slash + 1;
  }
  const bool absolute = !native.empty() && native[0] == '/';
  std::string dir = absolute ? "/" : "";
  std::string out = dir;
  bool matching = true;
  for (size_t i = absolute ? 1 : 0; i < parts.size(); ++i) {
    std::string part = parts[i];
    const bool last = i + 1 == parts.size();
    if (matching && !part.empty() && part != "." && part != "..") {
      std::string found = MatchInDirectory(dir, part);
      if (found.empty()) {
        matching = false;
      } else {
        part = found;
      }
    }
    out += part;
    if (!last) out += '/';
    if (!dir.empty() && dir.back() != '/') dir += '/';
    dir += part;
  }
  return out;
}

}  // namespace qx
