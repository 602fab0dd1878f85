// Private-profile (INI) files; see profile.h for the format and the rules.
#include "runtime/sys/profile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <vector>

#include "runtime/sys/os_error.h"
#include "runtime/sys/paths.h"
#include "runtime/sys/replacement_file.h"
#include "runtime/sys/runtime_lock.h"
#include "runtime/text/strings.h"
#include "runtime/text/types.h"

namespace qx {
namespace {

struct Line {
  std::string text;
  std::string end;  // "\r\n", "\n", or "" for a last line without a line end
};

std::vector<Line> SplitLines(const std::string& content) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < content.size()) {
    const size_t nl = content.find('\n', start);
    if (nl == std::string::npos) {
      lines.push_back({content.substr(start), ""});
      break;
    }
    const bool cr = nl > start && content[nl - 1] == '\r';
    lines.push_back({content.substr(start, nl - start - (cr ? 1 : 0)), cr ? "\r\n" : "\n"});
    start = nl + 1;
  }
  return lines;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The section a heading line opens; nothing for other lines.
std::optional<std::string_view> SectionOf(std::string_view line) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  t.remove_prefix(1);
  return Trim(t.substr(0, t.find(']')));
}

struct Entry {
  std::string_view key;
  size_t valueStart;  // offset in the line of the first character after "="
};

// The key a "key=value" line sets; nothing for comments, headings and other lines.
std::optional<Entry> EntryOf(std::string_view line) {
  const std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  const std::string_view key = Trim(line.substr(0, eq));
  if (key.empty()) return std::nullopt;
  return Entry{key, eq + 1};
}

std::string ValueOf(std::string_view line, size_t valueStart) {
  std::string_view v = Trim(line.substr(valueStart));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  return std::string(v);
}

// The whole file; nothing when it is missing. `readError` tells a file that is there
// but cannot be read.
std::optional<std::string> ReadFile(const std::string& path, bool* readError) {
  *readError = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *readError = errno != ENOENT;
    return std::nullopt;
  }
  std::string content;
  char buf[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      *readError = true;
      ::close(fd);
      return std::nullopt;
    }
    content.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return content;
}

std::string ConfigDirectory() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return xdg;
  std::string home;
  if (const char* h = std::getenv("HOME"); h && h[0] != '\0') {
    home = h;
  } else {
    struct passwd pw;
    struct passwd* found = nullptr;
    std::vector<char> buf(16384);
    if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found) {
      home = found->pw_dir;
    }
  }
  if (home.empty()) return {};
  return home + "/.config";
}

// Creates `dir` and the directories above it that are missing.
bool MakeDirectories(const std::string& dir) {
  struct stat st;
  if (dir.empty() || ::stat(dir.c_str(), &st) == 0) return !dir.empty() && S_ISDIR(st.st_mode);
  const std::string parent = RtDirectoryOf(dir);
  if (!parent.empty() && parent != dir && !MakeDirectories(parent)) return false;
  return ::mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST;
}

bool HasBreak(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

mode_t NewFileMode() {
  // The umask, read without changing it (umask() would race with other threads).
  mode_t mask = 022;
  bool readError = false;
  if (auto status = ReadFile("/proc/self/status", &readError)) {
    const size_t at = status->find("\nUmask:");
    if (at != std::string::npos) mask = static_cast<mode_t>(std::strtoul(status->c_str() + at + 7, nullptr, 8));
  }
  return 0666 & ~mask;
}

// Holds an exclusive lock on a directory while the INI file in it is rewritten, so two
// writers never both start from the same old content.
class DirectoryLock {
 public:
  explicit DirectoryLock(const std::string& dir)
      : fd_(::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ < 0) return;
    WaitOutsideRuntime outside;
    while (::flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        ::close(fd_);
        fd_ = -1;
        return;
      }
    }
  }
  ~DirectoryLock() { if (fd_ >= 0) ::close(fd_); }
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  int fd_;
};

}  // namespace

std::string RtProfilePath(std::string_view fileName) {
  const std::string native = RtNativePath(RtClipView(fileName));
  if (native.empty()) return {};
  if (native.find('/') != std::string::npos) return RtResolvePath(native);
  const std::string config = ConfigDirectory();
  if (config.empty()) return {};
  return RtResolvePath(config + "/" + native);
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, std::string_view fileName) {
  const std::string fallback(RtClipView(defaultValue));
  section = Trim(section);
  key = Trim(key);
  const std::string path = RtProfilePath(fileName);
  if (path.empty()) return fallback;
  bool readError = false;
  const std::optional<std::string> content = ReadFile(path, &readError);
  if (!content) return fallback;
  bool inSection = false;
  for (const Line& line : SplitLines(*content)) {
    if (const auto heading = SectionOf(line.text)) {
      if (inSection) break;  // the first section of that name has ended
      inSection = RtSameIgnoringCase(*heading, section);
      continue;
    }
    if (!inSection) continue;
    if (const auto entry = EntryOf(line.text); entry && RtSameIgnoringCase(entry->key, key)) {
      return ValueOf(line.text, entry->valueStart);
    }
  }
  return fallback;
}

bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, std::string_view fileName) {
  section = Trim(section);
  key = Trim(key);
  if (section.empty() || key.empty() || HasBreak(section) || HasBreak(key) || HasBreak(value) ||
      section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos ||
      key.front() == '[' || key.front() == ';') {
    return false;
  }
  const std::string path = RtProfilePath(fileName);
  if (path.empty()) return false;
  const std::string dir = RtDirectoryOf(path);
  const bool inConfigDirectory = RtNativePath(RtClipView(fileName)).find('/') == std::string::npos;
  if (inConfigDirectory && !MakeDirectories(dir)) return false;

  DirectoryLock lock(dir);
  if (!lock.held()) return false;
  bool readError = false;
  const std::optional<std::string> content = ReadFile(path, &readError);
  if (readError) return false;
  mode_t mode = NewFileMode();
  struct stat st;
  if (content && ::stat(path.c_str(), &st) == 0) mode = st.st_mode & 0777;

  std::vector<Line> lines = content ? SplitLines(*content) : std::vector<Line>{};
  std::string eol = "\n";
  for (const Line& line : lines) {
    if (!line.end.empty()) {
      eol = line.end;
      break;
    }
  }
  const std::string newEntry = std::string(key) + "=" + std::string(value);

  size_t heading = lines.size();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (const auto name = SectionOf(lines[i].text); name && RtSameIgnoringCase(*name, section)) {
      heading = i;
      break;
    }
  }
  if (heading == lines.size()) {
    if (!lines.empty() && lines.back().end.empty()) lines.back().end = eol;
    lines.push_back({"[" + std::string(section) + "]", eol});
    lines.push_back({newEntry, eol});
  } else {
    size_t lastEntry = heading;
    bool replaced = false;
    for (size_t j = heading + 1; j < lines.size() && !SectionOf(lines[j].text); ++j) {
      const auto entry = EntryOf(lines[j].text);
      if (!entry) continue;
      lastEntry = j;
      if (RtSameIgnoringCase(entry->key, key)) {
        // Keep the line up to "=" and the blanks after it; only the value changes.
        std::string& text = lines[j].text;
        size_t at = entry->valueStart;
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
        text = text.substr(0, at) + std::string(value);
        replaced = true;
        break;
      }
    }
    if (!replaced) {
      if (lines[lastEntry].end.empty()) lines[lastEntry].end = eol;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastEntry + 1), Line{newEntry, eol});
    }
  }

  std::string out;
  for (const Line& line : lines) out += line.text + line.end;
  ReplacementFile file(path);
  if (file.Open(mode) != 0 || file.Write(out) != 0 || file.Commit() != 0) return false;
  return true;
}

}  // namespace qx
