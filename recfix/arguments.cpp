// RECFIX's command line; see arguments.h.
#include "recfix/arguments.h"

#include "runtime/text/strings.h"

namespace qx::recfix {

const char kUsage[] =
    "usage: RECFIX <data file>?<owner> /K /E:<example file>?<owner> /A\n"
    "Converts the data file to the record layout and keys of the example file, an empty\n"
    "data file of the layout wanted, keeping every record in record order.\n"
    "  ?<owner>  the owner password of the file before it (may be empty); the converted\n"
    "            file is enciphered exactly when the example file is, and then under the\n"
    "            owner password after the example file (after a plain example file that\n"
    "            password is not used, and RECFIX says so)\n"
    "  /K        build the keys anew from the example's declaration\n"
    "  /E:       the example file\n"
    "  /A        keep all records\n"
    "The data file is replaced only once its new form is complete; on any failure it is\n"
    "left as it was and the exit code is not 0. A data file that is a symbolic link is\n"
    "replaced where the link leads.\n";

namespace {

void SplitOwner(const std::string& word, std::string* name, std::string* owner) {
  const size_t q = word.find('?');
  *name = word.substr(0, q);
  *owner = q == std::string::npos ? std::string() : word.substr(q + 1);
}

bool IsSwitch(const std::string& word, const char* name) { return RtSameIgnoringCase(word, name); }

}  // namespace

bool ParseArguments(const std::vector<std::string>& words, Arguments* out, std::string* why) {
  *out = Arguments{};
  if (words.empty()) {
    *why = "no data file given";
    return false;
  }
  SplitOwner(words[0], &out->dataFile, &out->dataOwner);
  if (out->dataFile.empty()) {
    *why = "the data file's name is empty";
    return false;
  }
  bool k = false, e = false, a = false;
  for (size_t i = 1; i < words.size(); ++i) {
    const std::string& w = words[i];
    bool* seen = nullptr;
    if (IsSwitch(w, "/K")) {
      seen = &k;
    } else if (IsSwitch(w, "/A")) {
      seen = &a;
    } else if (w.size() >= 3 && RtSameIgnoringCase(std::string_view(w).substr(0, 3), "/E:")) {
      seen = &e;
      if (!e) {
        SplitOwner(w.substr(3), &out->exampleFile, &out->exampleOwner);
        if (out->exampleFile.empty()) {
          *why = "the example file's name is empty";
          return false;
        }
      }
    } else {
      *why = "unknown word \"" + w + "\"";
      return false;
    }
    if (*seen) {
      *why = "\"" + w + "\" given twice";
      return false;
    }
    *seen = true;
  }
  if (!e) *why = "the example file (/E:) is missing";
  else if (!k) *why = "/K is missing";
  else if (!a) *why = "/A is missing";
  return k && e && a;
}

}  // namespace qx::recfix
