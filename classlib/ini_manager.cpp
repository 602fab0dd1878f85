// The INI manager; see ini_manager.h.
#include "classlib/ini_manager.h"

#include <charconv>
#include <string>

#include "runtime/sys/profile.h"

namespace qx {
namespace {

// The entry's key: "Sectors_" and its number in decimal.
std::string EntryKey(LONG i) { return std::string(IniManager::kCountKey) + "_" + std::to_string(i); }

// The count of a "Sectors" text: a whole decimal number (blanks around it allowed), else 0;
// at most kMaxSectors.
LONG ParseCount(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  unsigned long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error == std::errc::invalid_argument || end != text.data() + text.size()) return 0;
  if (error == std::errc::result_out_of_range || value > static_cast<unsigned long long>(IniManager::kMaxSectors)) {
    return IniManager::kMaxSectors;
  }
  return static_cast<LONG>(value);
}

IniSector SplitEntry(std::string_view text) {
  IniSector s;
  const size_t first = text.find(',');
  s.FAMILY = text.substr(0, first);
  if (first == std::string_view::npos) return s;
  text.remove_prefix(first + 1);
  const size_t second = text.find(',');
  s.ITEM = text.substr(0, second);
  if (second == std::string_view::npos) return s;
  s.TYPE = text.substr(second + 1);
  return s;
}

}  // namespace

void IniManager::Init(std::string_view fileName) {
  FILENAME = fileName;
  SECTORS = std::make_unique<std::vector<IniSector>>();
  InitHook();
  const std::string file = FILENAME.str();
  const LONG count = ParseCount(GetPrivateProfileString(kSection, kCountKey, "---Unknown---", file));
  for (LONG i = 1; i <= count; ++i) {
    SECTORS->push_back(SplitEntry(GetPrivateProfileString(kSection, EntryKey(i), "", file)));
  }
}

void IniManager::Shutdown() {
  if (!SECTORS) return;
  const std::string file = FILENAME.str();
  WritePrivateProfileString(kSection, kCountKey, std::to_string(SECTORS->size()), file);
  LONG i = 0;
  for (const IniSector& s : *SECTORS) {
    const std::string value = s.FAMILY.str() + "," + s.ITEM.str() + "," + s.TYPE.str();
    WritePrivateProfileString(kSection, EntryKey(++i), value, file);
  }
  SECTORS.reset();
}

void IniManager::InitHook() {}

void IniManager::DoNothing() {}

}  // namespace qx
