// RECFIX's command line:
//
//   RECFIX <data file>?<owner> /K /E:<example file>?<owner> /A
//
// The data file comes first; the three switches follow in any order, each once, letters
// without regard to case. The owner password after a "?" may be empty, and the "?" may be
// left out with it; the text after the first "?" of a word is the password, so a file
// name cannot hold a "?". Names are used as written otherwise (the store adds ".TPS" to
// a name without extension and matches names without regard to case).
#pragma once

#include <string>
#include <vector>

namespace qx::recfix {

struct Arguments {
  std::string dataFile;
  std::string dataOwner;     // deciphers the data file
  std::string exampleFile;
  std::string exampleOwner;  // deciphers the example file and enciphers the new file,
                             // which is enciphered exactly when the example file is
};

// The usage text, ending in a line feed.
extern const char kUsage[];

// Reads the words after the program name. Returns false, with `why` saying what does not
// fit, for any other shape: a missing or repeated switch, an unknown word, an empty file
// name.
bool ParseArguments(const std::vector<std::string>& words, Arguments* out, std::string* why);

}  // namespace qx::recfix
