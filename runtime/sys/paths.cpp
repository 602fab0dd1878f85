// Path spelling and case-insensitive matching; see paths.h.
#include "runtime/sys/paths.h"

#include <dirent.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "runtime/text/strings.h"
#include "runtime/text/types.h"

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
    if (!RtSameIgnoringCase(n, component)) continue;
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

std::string RtHostPath(std::string_view name) { return RtResolvePath(RtClipView(name)); }

namespace {

// The current directory as the kernel reports it; empty when it cannot be read.
std::string CurrentDirectory() {
  std::vector<char> buf(4096);
  for (;;) {
    if (::getcwd(buf.data(), buf.size())) return buf.data();
    if (errno != ERANGE) return {};
    buf.resize(buf.size() * 2);
  }
}

// An absolute native path with ".", ".." and empty components folded away by its text.
std::string FoldComponents(const std::string& absolute) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= absolute.size()) {
    size_t slash = absolute.find('/', start);
    if (slash == std::string::npos) slash = absolute.size();
    std::string part = absolute.substr(start, slash - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(std::move(part));
    }
    start = slash + 1;
  }
  std::string out;
  for (const auto& p : parts) out += "/" + p;
  return out.empty() ? "/" : out;
}

}  // namespace

std::string RtFullPath(std::string_view name) {
  const std::string native = RtNativePath(RtClipView(name));
  std::string absolute;
  if (!native.empty() && native[0] == '/') {
    absolute = native;
  } else {
    const std::string cwd = CurrentDirectory();
    if (cwd.empty()) return {};
    absolute = cwd + "/" + native;
  }
  return RtResolvePath(FoldComponents(absolute));
}

std::string RtShortPath(std::string_view name) {
  const std::string_view clipped = RtClipView(name);
  if (clipped.empty()) return RtFullPath("");
  return std::string(clipped);
}

}  // namespace qx
