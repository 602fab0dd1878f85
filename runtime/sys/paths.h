// Paths on this platform. Programs write names with "\" or "/" between components (the
// original platform used "\"); both separate components here. Names are matched against
// existing files and directories without regard to letter case, as the original file
// system did, so "STANDRD.TPS", "Standrd.tps" and "standrd.TPS" name one file.
//
// Full paths are native ("/home/ann/demo/Data"). The original platform also had a short
// (8.3) form of every path; here the short form of a path is the path itself.
#pragma once

#include <string>
#include <string_view>

namespace qx {

// The name with every "\" turned into "/". Nothing else changes.
std::string RtNativePath(std::string_view name);

// The name as it exists on disk: "\" turned into "/", then each component that names an
// existing entry of its directory without regard to case replaced by that entry's own
// spelling. When a directory holds several entries that differ only in case, an exact
// match wins, else the first in byte order. Components from the first one that matches
// nothing onwards are kept as written, so the result also names a file about to be
// created. A relative name stays relative (resolved against the current directory).
std::string RtResolvePath(std::string_view name);

// The host name a file or directory operation acts on: the name without its trailing
// blanks (the programs pass blank-padded texts, and the original file system ignored
// trailing blanks), then resolved as RtResolvePath does.
std::string RtHostPath(std::string_view name);

// The full long form of a name: trailing blanks removed; an empty name stands for the
// current directory; a relative name is made absolute against the current directory;
// "." and ".." components and repeated separators are folded away by the name's text
// (symbolic links are not followed); then every component that names an existing entry
// is spelled as the file system stores it (RtResolvePath). Components that name nothing
// stay as written. No separator is kept at the end, except for the root "/".
// Returns "" when the current directory cannot be read (it was removed). The error state
// is left unchanged.
std::string RtFullPath(std::string_view name);

// The short form of a name, which on this platform is the name itself: the name without
// its trailing blanks; an empty name gives the current directory (as RtFullPath("")).
// The error state is left unchanged.
std::string RtShortPath(std::string_view name);

}  // namespace qx
