// The command line of the process, as the programs read it with RtCommand.
//
// The programs were written for a platform that hands a process one command-line text,
// which the runtime splits into words itself. Here a process receives its arguments
// already split (argv), so the runtime keeps a command-line text rebuilt from them:
// the arguments joined by blanks, each one that holds a blank, a comma or another
// character of code 20h or below enclosed in double quotes and every double quote inside
// doubled, so that an argument quoted in a shell reads back as one word (an empty
// argument is written as a lone comma, which reads back as an empty word). A child started by
// RtRun receives instead the command line exactly as its parent wrote it (see
// kRtCommandLineVariable), so that a parent's unquoted directory with a blank or a comma
// reaches the child cut at that character, as on the original platform.
//
// The words of a command line:
//   - the program name is everything up to the first white space outside double quotes;
//     the rest is what follows it and the white space after it;
//   - white space (blank, tab, line feed, vertical tab, form feed, carriage return)
//     before a word is skipped;
//   - outside double quotes a word ends at a character of code 20h or below (blank, tab,
//     any other control character) or at a comma; that character is consumed, so
//     "a,,b" holds the words "a", "" and "b";
//   - a double quote switches quoting on or off and is dropped; two double quotes in a
//     row give one double-quote character in the word (inside or outside quotes);
//   - "/" is an ordinary character: it is the path separator here (on the original
//     platform it began a switch);
//   - characters of code 80h and above are ordinary characters of a word, quoted or not
//     (on this platform they are the bytes of UTF-8 names such as "Jürgen"; ending a word
//     at them, as the original reader did unquoted, would cut such a directory name).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qx {

// The environment variable through which RtRun hands a child the command line as the
// parent wrote it. RtInitCommandLine takes it and removes it from the environment, so
// the child's own children do not inherit it.
inline constexpr const char* kRtCommandLineVariable = "QX_COMMAND_LINE";

// Sets the process's command line; called once by the process entry, before any other
// thread starts (it changes the environment). When kRtCommandLineVariable is set and its
// words after the program name are exactly argv[1..argc-1] (so it was written for this
// very process by RtRun, not inherited through a program that does not take it), that
// text is the command line; otherwise the arguments are joined as described above. The
// variable is removed from the environment in either case. A later call replaces the
// command line.
void RtInitCommandLine(int argc, const char* const* argv);

// The command line RtCommand reads (as set by RtInitCommandLine; without that call, the
// process's own arguments joined).
std::string RtCommandLine();

// A word of the rest of the command line; the rest is taken once, at the first read, and
// kept for every later read. `selector` "1" gives the first word after the program name,
// "2" the second and so on (trailing blanks of the selector are ignored). Empty when
// there is no such word, and for any other selector.
std::string RtCommand(std::string_view selector);

// --- The rules above as plain functions (also used by RtRun) ---

// The arguments joined into a command line; args[0] is the program name.
std::string RtJoinArguments(const std::vector<std::string>& args);

// A command line split into its program name and the words of its rest.
struct RtCommandWords {
  std::string program;
  std::vector<std::string> words;
};
RtCommandWords RtSplitCommandLine(std::string_view line);

// The rest of a command line: what follows the program name and the white space after it.
std::string_view RtCommandLineRest(std::string_view line);

// Word `n` (counting from 1) of the rest of a command line; empty when there is none.
std::string RtCommandWord(std::string_view rest, int n);

}  // namespace qx
