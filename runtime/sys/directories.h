// The current directory and the creation and removal of directories.
//
// Every name goes through RtHostPath: trailing blanks are ignored, "\" and "/" both
// separate components, and existing components match without regard to case. The
// current directory belongs to the process: changing it moves it for every thread.
#pragma once

#include <string_view>

namespace qx {

// Makes `directory` the current directory of the process. The whole name is used (no
// length limit; a longer name is never cut to a shorter one that might name another
// directory).
// Error code: 0 on success; 3 "Path Not Found" when the directory cannot be entered for
// any reason (missing, not a directory, no permission, empty or all-blank name).
void RtSetPath(std::string_view directory);

// Creates one directory (its parent must exist), with the permission bits 0777 less the
// process's umask.
// Returns 0 on success, -1 on any failure (the directory or a file of that name exists,
// the parent is missing, no permission). The error state is left unchanged.
int RtCreateDirectory(std::string_view path);

// Removes an empty directory.
// Returns 0 on success, -1 on any failure (missing, not empty, not a directory, no
// permission). The error state is left unchanged.
int RtRemoveDirectory(std::string_view path);

}  // namespace qx
