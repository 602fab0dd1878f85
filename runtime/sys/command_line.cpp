// The command line and its words; see command_line.h for the rules.
#include "runtime/sys/command_line.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>

#include "runtime/text/types.h"

namespace qx {
namespace {

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Ends a word outside double quotes. Bytes of 80h and above are not separators.
bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= 0x20 || c == ','; }

// Reads one quoted-or-plain run starting at `pos`, ending (outside quotes) where `ends`
// says; the ending character is left at `pos`. Quotes are dropped, "" gives one quote.
template <typename EndTest>
std::string ReadRun(std::string_view s, size_t& pos, EndTest ends) {
  std::string out;
  bool quoted = false;
  while (pos < s.size()) {
    const char c = s[pos];
    if (c == '"') {
      if (pos + 1 < s.size() && s[pos + 1] == '"') {
        out += '"';
        pos += 2;
      } else {
        quoted = !quoted;
        ++pos;
      }
      continue;
    }
    if (!quoted && ends(c)) break;
    out += c;
    ++pos;
  }
  return out;
}

// The next word of a rest from `pos` on; false when no word is left.
bool NextWord(std::string_view rest, size_t& pos, std::string& word) {
  while (pos < rest.size() && IsWhiteSpace(rest[pos])) ++pos;
  if (pos >= rest.size()) return false;
  word = ReadRun(rest, pos, IsSeparator);
  if (pos < rest.size()) ++pos;  // the separator that ended the word
  return true;
}

// Where the rest begins, and the program name.
size_t SplitProgram(std::string_view line, std::string* program) {
  size_t pos = 0;
  std::string name = ReadRun(line, pos, IsWhiteSpace);
  if (program) *program = std::move(name);
  while (pos < line.size() && IsWhiteSpace(line[pos])) ++pos;
  return pos;
}

std::string QuoteArgument(const std::string& arg, bool endsAtWhiteSpaceOnly) {
  if (arg.empty()) return endsAtWhiteSpaceOnly ? std::string() : std::string(",");
  bool enclose = false;
  std::string doubled;
  for (char c : arg) {
    if (c == '"') doubled += '"';
    doubled += c;
    if (endsAtWhiteSpaceOnly ? IsWhiteSpace(c) : IsSeparator(c)) enclose = true;
  }
  // An argument of double quotes only is written unenclosed: enclosed, its opening
  // quote would pair with the first doubled quote.
  return enclose ? "\"" + doubled + "\"" : doubled;
}

// The process's arguments from the kernel, for a process whose entry did not call
// RtInitCommandLine.
std::vector<std::string> OwnArguments() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> args;
  size_t start = 0;
  while (start < all.size()) {
    size_t end = all.find('\0', start);
    if (end == std::string::npos) end = all.size();
    args.emplace_back(all.substr(start, end - start));
    start = end + 1;
  }
  return args;
}

struct CommandLineState {
  std::mutex mutex;
  bool set = false;
  std::string line;
  bool restTaken = false;
  std::string rest;
};

CommandLineState& State() {
  static CommandLineState state;
  return state;
}

const std::string& LineLocked(CommandLineState& st) {
  if (!st.set) {
    st.line = RtJoinArguments(OwnArguments());
    st.set = true;
  }
  return st.line;
}

}  // namespace

std::string RtJoinArguments(const std::vector<std::string>& args) {
  std::string line;
  for (size_t i = 0; i < args.size(); ++i) {
    if (i > 0) line += ' ';
    line += QuoteArgument(args[i], i == 0);
  }
  return line;
}

std::string_view RtCommandLineRest(std::string_view line) {
  return line.substr(SplitProgram(line, nullptr));
}

RtCommandWords RtSplitCommandLine(std::string_view line) {
  RtCommandWords out;
  const std::string_view rest = line.substr(SplitProgram(line, &out.program));
  size_t pos = 0;
  std::string word;
  while (NextWord(rest, pos, word)) out.words.push_back(word);
  return out;
}

std::string RtCommandWord(std::string_view rest, int n) {
  size_t pos = 0;
  std::string word;
  for (int i = 1; i <= n; ++i) {
    if (!NextWord(rest, pos, word)) return {};
    if (i == n) return word;
  }
  return {};
}

void RtInitCommandLine(int argc, const char* const* argv) {
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.emplace_back(argv[i] ? argv[i] : "");
  std::string line;
  if (const char* raw = std::getenv(kRtCommandLineVariable)) {
    const RtCommandWords split = RtSplitCommandLine(raw);
    if (args.size() >= 1 && split.words.size() == args.size() - 1 &&
        std::equal(split.words.begin(), split.words.end(), args.begin() + 1)) {
      line = raw;
    }
    ::unsetenv(kRtCommandLineVariable);
  }
  if (line.empty()) line = RtJoinArguments(args);
  CommandLineState& st = State();
  std::lock_guard<std::mutex> lock(st.mutex);
  st.line = std::move(line);
  st.set = true;
  st.restTaken = false;
  st.rest.clear();
}

std::string RtCommandLine() {
  CommandLineState& st = State();
  std::lock_guard<std::mutex> lock(st.mutex);
  return LineLocked(st);
}

std::string RtCommand(std::string_view selector) {
  const std::string_view sel = RtClipView(selector);
  if (sel.empty() || sel.size() > 6) return {};
  int n = 0;
  for (char c : sel) {
    if (c < '0' || c > '9') return {};
    n = n * 10 + (c - '0');
  }
  if (n < 1) return {};
  CommandLineState& st = State();
  std::lock_guard<std::mutex> lock(st.mutex);
  if (!st.restTaken) {
    st.rest = std::string(RtCommandLineRest(LineLocked(st)));
    st.restTaken = true;
  }
  return RtCommandWord(st.rest, n);
}

}  // namespace qx
