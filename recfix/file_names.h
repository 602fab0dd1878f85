// The names RECFIX works with: the store name of a file as given on the command line,
// and the work file the new file is built under.
#pragma once

#include <string>
#include <vector>

namespace qx::recfix {

// The name the store uses for `name`: ".TPS" added when its last component has no
// extension ("\" and "/" both separate components), as the store completes declared names.
std::string StoreNameOf(const std::string& name);

// The work-file names of the data file `dataName` (as given) in the directory
// `directory`: the data file's base name (its last component up to the first ".") with
// ".tp1" to ".tp9" and ".tp$", in that order. In the data file's own directory they are
// the names the caller clears after a conversion, so a work file left by a process that
// was killed does not stay.
std::vector<std::string> WorkFileNames(const std::string& dataName, const std::string& directory);

// The work file for a conversion: the first work-file name in `directory` that names
// neither the data file nor the example file `exampleName`. Empty when all ten name one
// of the two.
std::string WorkFileFor(const std::string& dataName, const std::string& exampleName, const std::string& directory);

}  // namespace qx::recfix
