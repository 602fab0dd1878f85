// Files compiled into the program (window descriptions, icons, the wallpaper), found by
// their file name without regard to letter case. The build embeds them with
// qx_embed_resources(); each embedded set registers itself before main() runs.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace qx {

// Adds a resource; the bytes must outlive the program (they are static data). A second
// resource of the same name replaces the first.
void RegisterResource(std::string_view name, std::string_view bytes);

// The bytes of the named resource, or nothing when the program carries none of that name.
std::optional<std::string_view> RtFindResource(std::string_view name);

// The names of every registered resource, in no particular order.
std::vector<std::string_view> RtResourceNames();

}  // namespace qx
