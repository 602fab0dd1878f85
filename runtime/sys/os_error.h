// How the host's failures (errno values) become the runtime's file error codes. Internal
// to runtime/sys: the file, directory and program operations share this one mapping so
// that a missing file, a missing directory and everything else read alike everywhere.
#pragma once

#include <string>

#include "runtime/text/types.h"

namespace qx {

// The runtime's code for a failure `err` (an errno value) of an operation on the host
// path `path`:
//   2 (kFileNotFound)  the name is missing from a directory that exists;
//   3 (kPathNotFound)  a directory on the way to the name is missing or is no directory,
//                      or the name is too long;
//   5 (kAccessDenied)  any other failure (permission, read-only file system, a directory
//                      where a file was meant, a name that exists already, ...).
LONG RtFileErrorFromErrno(int err, const std::string& path);

// The directory part of a host path: "" for a name without "/", "/" for a name directly
// below the root.
std::string RtDirectoryOf(const std::string& path);

// The last component of a host path (after the last "/").
std::string RtLastComponentOf(const std::string& path);

}  // namespace qx
