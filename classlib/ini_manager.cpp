// The INI manager; see ini_manager.h.
#include "classlib/ini_manager.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "runtime/sys/profile.h"

namespace qx {
namespace {

// The entry's key: "Sectors_" and its number in decimal.
std::string EntryKey(LONG i) { return std::string(IniManager::kCountKey) + "_" + std::to_string(i); }

// The count of a "Sectors" text: a whole decimal number (blanks around it allowed), in
// decimal without leading zeros; "0" for any other text.
std::string ParseCount(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty()) return "0";
  for (char c : text) {
    if (c < '0' || c > '9') return "0";
  }
  while (text.size() > 1 && text.front() == '0') text.remove_prefix(1);
  return std::string(text);
}

// The entries of a count (as ParseCount gives it) to read into the list: the count
// itself, at most kMaxSectors. Nine digits always fit a LONG.
LONG ListedCount(const std::string& count) {
  if (count.size() > 9) return IniManager::kMaxSectors;
  LONG value = 0;
  std::from_chars(count.data(), count.data() + count.size(), value);
  return std::min(value, IniManager::kMaxSectors);
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
  const std::string count = ParseCount(GetPrivateProfileString(kSection, kCountKey, "---Unknown---", file));
  const LONG listed = ListedCount(count);
  countBeyondList_ = listed == kMaxSectors && count != std::to_string(kMaxSectors) ? count : std::string();
  for (LONG i = 1; i <= listed; ++i) {
    SECTORS->push_back(SplitEntry(GetPrivateProfileString(kSection, EntryKey(i), "", file)));
  }
}

void IniManager::Shutdown() {
  if (!SECTORS) return;
  const std::string file = FILENAME.str();
  const bool keepCount = !countBeyondList_.empty() && SECTORS->size() == static_cast<size_t>(kMaxSectors);
  WritePrivateProfileString(kSection, kCountKey, keepCount ? countBeyondList_ : std::to_string(SECTORS->size()),
                            file);
  LONG i = 0;
  for (const IniSector& s : *SECTORS) {
    const std::string value = s.FAMILY.str() + "," + s.ITEM.str() + "," + s.TYPE.str();
    WritePrivateProfileString(kSection, EntryKey(++i), value, file);
  }
  SECTORS.reset();
  countBeyondList_.clear();
}

void IniManager::InitHook() {}

void IniManager::DoNothing() {}

}  // namespace qx
