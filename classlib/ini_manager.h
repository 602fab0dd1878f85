// The INI manager: a list of entries (three texts each) that lives in the section
// "__Dont_Touch_Me__" of a program's INI file, read when the manager is initialised and
// written back when it is shut down.
//
//   [__Dont_Touch_Me__]
//   Sectors=2                       the number of entries
//   Sectors_1=FAMILY,ITEM,TYPE      entry 1
//   Sectors_2=...
//
// The file is read and written through the platform's private-profile functions
// (runtime/sys/profile.h), which put a name without a directory into the user's
// configuration directory. Neither reading nor writing reports an outcome: a missing file,
// section or entry reads as a list of no entries.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/text/types.h"

namespace qx {

// One entry of the list.
struct IniSector {
  CSTRING<100> FAMILY;
  CSTRING<100> ITEM;
  CSTRING<100> TYPE;
};

class IniManager {
 public:
  // The section and the key that hold the list.
  static constexpr std::string_view kSection = "__Dont_Touch_Me__";
  static constexpr std::string_view kCountKey = "Sectors";
  // The most entries read into the list. Each entry costs a read of the whole file at
  // Init and a rewrite of it at Shutdown, so a damaged count of millions would hold the
  // program up at its start and end for hours; "Sectors" is the library's own count and
  // never more than a few. A count above this keeps only this many entries in the list,
  // and Shutdown leaves the count and the entries past the list in the file as they were.
  static constexpr LONG kMaxSectors = 1024;

  IniManager() = default;
  virtual ~IniManager() = default;
  IniManager(const IniManager&) = delete;
  IniManager& operator=(const IniManager&) = delete;

  // Keeps `fileName` in FILENAME (as given, at most 259 characters), makes SECTORS, calls
  // slot 0, then reads the list. The count "Sectors" is read with the default
  // "---Unknown---"; a count that is not a whole decimal number of at least 1 reads as 0.
  // Entry i (1 to the count, at most kMaxSectors) is "Sectors_i": its text up to the first
  // "," is FAMILY, up to the next "," ITEM, and the rest TYPE (so "a,b,c,d" keeps "c,d" as
  // TYPE and is written back as it was); a missing entry is three empty texts. Each text
  // keeps at most 99 characters.
  void Init(std::string_view fileName);
  // Writes the list: "Sectors" := the number of entries, then "Sectors_i" := FAMILY, ITEM
  // and TYPE of entry i joined by ","; entries of an earlier, longer list stay in the file
  // uncounted. After a count above kMaxSectors, while the list still holds the
  // kMaxSectors entries read, "Sectors" := the count as read (in decimal, without leading
  // zeros) instead, and the entries past the list stay as they are. Then releases
  // SECTORS. Nothing when SECTORS was never made (no Init, or shut down already).
  void Shutdown();

  // Slot 0: a hook that Init calls before the list is read; does nothing here.
  virtual void InitHook();
  // Slot 1: does nothing.
  virtual void DoNothing();

  CSTRING<260> FILENAME;
  std::unique_ptr<std::vector<IniSector>> SECTORS;

 private:
  // The count read when it was above kMaxSectors, in decimal; empty otherwise.
  std::string countBeyondList_;
};

}  // namespace qx
