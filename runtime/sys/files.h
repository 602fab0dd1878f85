// Copying, renaming and removing files.
//
// Every name goes through RtHostPath: trailing blanks are ignored, "\" and "/" both
// separate components, and existing components match without regard to case (so a new
// name that differs from an existing one only in case names that existing file).
//
// Each operation sets the error code of the calling thread:
//   0 success;
//   2 "File Not Found"  the file is missing from a directory that exists;
//   3 "Path Not Found"  a directory on the way is missing (or is no directory);
//   5 "Access Denied"   any other failure.
#pragma once

#include <string_view>

namespace qx {

// Copies the regular file `source` to `target`, replacing a target that exists. The copy
// is written beside the target and renamed into its place only when complete and flushed
// to disk, so a failed copy leaves an existing target as it was and no partial file. The
// copy gets the source's permission bits and modification time.
// Error code: 2 or 3 for a missing source, 3 for a missing target directory, 5 when the
// source is no regular file (a directory, say), the target is a directory, or the data
// cannot be read or written.
void RtCopyFile(std::string_view source, std::string_view target);

// Renames (or moves, within one file system) `oldName` to `newName`. Fails, changing
// nothing, when `newName` exists already; the check and the rename are one step, so no
// file that appears meanwhile is overwritten. A new name that differs from the old one
// only in letter case changes the spelling of the file.
// Error code: 2 or 3 for a missing old name, 3 for a missing directory of the new name,
// 5 when the new name exists or the rename is refused otherwise.
void RtRenameFile(std::string_view oldName, std::string_view newName);

// Removes the file `name`.
// Error code: 2 when it is missing, 3 when its directory is missing, 5 for any other
// failure (a directory of that name, no permission).
void RtRemoveFile(std::string_view name);

}  // namespace qx
