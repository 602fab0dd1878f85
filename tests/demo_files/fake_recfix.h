// A stand-in for RECFIX, for tests that look at how a conversion calls it rather than at
// what it does: a script named RECFIX, put into the working directory (where the program
// search finds it when the running program's own directory has none), that notes each
// command line and directory it was started with, keeps a copy of each example file it
// finds beside the data file, and converts nothing.
#pragma once

#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qx::testing {

class FakeRecfix {
 public:
  // Installs the script into `workingDir`; its notes go to `notesDir`, which must exist.
  FakeRecfix(const std::string& workingDir, const std::string& notesDir) : notes_(notesDir) {
    const std::string script = workingDir + "/RECFIX";
    std::ofstream(script) << "#!/bin/sh\n"
                             "printf '%s\\n' \"$QX_COMMAND_LINE\" >> \"$QXTEST_RECFIX_NOTES/commands\"\n"
                             "pwd >> \"$QXTEST_RECFIX_NOTES/directories\"\n"
                             "for f in .tpe *.tpe; do [ -f \"$f\" ] && cp \"$f\" \"$QXTEST_RECFIX_NOTES/\"; done\n"
                             "exit 1\n";
    ::chmod(script.c_str(), 0755);
    ::setenv("QXTEST_RECFIX_NOTES", notesDir.c_str(), 1);
  }
  ~FakeRecfix() { ::unsetenv("QXTEST_RECFIX_NOTES"); }
  FakeRecfix(const FakeRecfix&) = delete;
  FakeRecfix& operator=(const FakeRecfix&) = delete;

  // The command lines it was started with, in order.
  std::vector<std::string> Commands() const { return Lines("commands"); }
  // The directories it was started in.
  std::vector<std::string> Directories() const { return Lines("directories"); }
  // Where the copies of the example files are.
  const std::string& notes() const { return notes_; }

 private:
  std::vector<std::string> Lines(const char* name) const {
    std::ifstream in(notes_ + "/" + name);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  }
  std::string notes_;
};

}  // namespace qx::testing
