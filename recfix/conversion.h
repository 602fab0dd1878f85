// The conversion of one data file to the layout and keys of an example file.
//
// The data file is read under its own stored layout and held (LOCK) for the whole run, so
// every other OPEN of it reports 32. Its records, in record order, are written into a new
// file of the example's layout, built under a work name beside the data file (the bulk
// path: APPEND in one transaction, then BUILDfile for the keys), enciphered under the
// example's owner password when the example is enciphered. Only when that file is
// complete, closed and flushed to disk does it replace the data file, by one rename,
// after which the directory is flushed too. So at every moment the data file is wholly
// old or wholly new, with all its records; a failure, or a stop request, before the rename
// leaves the data file as it was and removes the work file.
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
