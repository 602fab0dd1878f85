// The conversion of one data file to the layout and keys of an example file.
//
// The data file is read under its own stored layout, in record order (which needs no
// key, so a file whose key data must be rebuilt converts as it is), and held (LOCK) for
// the whole run, so every other OPEN of it reports 32; it is never written. Its records
// are written into a new file of the example's layout, built under a work name beside
// the data file (the bulk path: APPEND in one transaction, then BUILDfile for the keys),
// with its journal in memory only. The new file is enciphered exactly when the example
// file is, under the example's owner password: so it opens under the declaration the
// example was made from, as the store leaves a file plain when its declaration has an
// owner password but no encryption (a password after a plain example is not used, with
// a note saying so). Only when that file is complete, closed and flushed to disk does it
// replace the data file, by one rename, after which the directory is flushed too; it
// takes the data file's permissions, and its owner and group where this process may
// give them. A data file that is a symbolic link is replaced where the link leads (the
// work file is made in that directory). So at every moment the data file is wholly old
// or wholly new, with all its records; a failure, or a stop request, before the rename
// leaves the data file byte for byte as it was and removes the work file, and a kill
// leaves at most the work file.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "recfix/arguments.h"

namespace qx::recfix {

struct Outcome {
  bool converted = false;
  uint64_t records = 0;            // records written to the new file
  std::string error;               // why not, when not converted: "<file>: <what> ..."
  std::vector<std::string> notes;  // values that could not be kept whole, fields that
                                   // could not be converted (the conversion went on)
};

// Converts the data file of `args`. `stop`, when set (by a signal handler, say), ends the
// conversion before the data file is replaced, as a failure.
Outcome ConvertDataFile(const Arguments& args, const std::atomic<bool>& stop);

}  // namespace qx::recfix
