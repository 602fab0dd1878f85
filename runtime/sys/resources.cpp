// The table of embedded resources; see resources.h.
#include "runtime/sys/resources.h"

#include <map>
#include <string>

namespace qx {
namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

struct Entry {
  std::string_view name;
  std::string_view bytes;
};

// Function-local so registration from other translation units' static initialisers
// finds it constructed, whatever the order of initialisation.
std::map<std::string, Entry>& Table() {
  static std::map<std::string, Entry> table;
  return table;
}

}  // namespace

void RegisterResource(std::string_view name, std::string_view bytes) {
  Table()[Lower(name)] = Entry{name, bytes};
}

std::optional<std::string_view> RtFindResource(std::string_view name) {
  auto it = Table().find(Lower(name));
  if (it == Table().end()) return std::nullopt;
  return it->second.bytes;
}

std::vector<std::string_view> RtResourceNames() {
  std::vector<std::string_view> names;
  for (const auto& [key, entry] : Table()) names.push_back(entry.name);
  return names;
}

}  // namespace qx
