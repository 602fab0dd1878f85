// Private-profile (INI) files, as the Win32 functions of these names read and write them:
//
//   ; a comment
//   [Section]
//   Key=Value
//
// Sections and keys are found without regard to letter case (A-Z, a-z); blanks and tabs
// around a section name, a key and a value are ignored; a value enclosed in a matching
// pair of double or single quotes is read without them. Lines that are neither a section
// heading nor "key=value" are kept but mean nothing. Of two sections (or keys in one
// section) of the same name the first counts.
//
// A file name without a directory names a file in the user's configuration directory:
// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config; a name with a directory
// is taken relative to the current directory. Either way the name matches without regard
// to case (RtHostPath). These functions leave the runtime's error state unchanged.
#pragma once

#include <string>
#include <string_view>

namespace qx {

// The value of `key` in `section` of `fileName` (blanks and tabs around the section and
// the key ignored); `defaultValue` with its trailing blanks
// removed when the file, the section or the key is missing or the file cannot be read.
// A key that is there with nothing after "=" reads as "".
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, std::string_view fileName);

// Sets `key` in `section` of `fileName` to `value`. A missing file is created (its
// directory too, for the configuration directory), a missing section is added at the end
// of the file and a missing key at the end of its section; an existing key keeps its line,
// only the text after "=" changes. Every other line, comments and order included, stays
// as it was, and so do the file's line ends (CR LF or LF). The new file is written beside
// the old one and renamed into its place, so a reader never sees it half written, and
// writers (threads or processes) of files of one directory take turns.
// Blanks and tabs around the section and the key are ignored, as when reading.
// Returns true on success; false, changing nothing, when the file cannot be read or
// written, or when the names or the value would break the file's structure: an empty or
// blank section or key, a line break (or NUL) in any of them, "]" in the section, "=" in
// the key, or a key beginning with "[" or ";".
bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, std::string_view fileName);

// The host path a profile file name stands for (as described above); "" when a name
// without a directory is given and no configuration directory can be found (neither
// $XDG_CONFIG_HOME nor a home directory).
std::string RtProfilePath(std::string_view fileName);

}  // namespace qx
