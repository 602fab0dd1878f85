// Paths on this platform. Programs write names with "\" or "/" between components (the
// original platform used "\"); both separate components here. Names are matched against
// existing files and directories without regard to letter case, as the original file
// system did, so "STANDRD.TPS", "Standrd.tps" and "standrd.TPS" name one file.
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

}  // namespace qx
