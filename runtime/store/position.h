// Position texts: where a record stands in record order or in a key's order.
//
//   record order   "R" record-pointer                       "R42"
//   key order      "K" key-number ":" image ":" record-pointer  "K1:SMITH<15 blanks>:42"
// The image is the key image with bytes outside printable ASCII, and "%", written as "%"
// and two upper-case hex digits. When that would make the text longer than 512 characters
// the image is left out ("K1::42") and taken from the stored record when the position is
// used. Trailing blanks after the record pointer are ignored, so a position kept in a
// blank-padded STRING(512) reads back as it was written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qx::store {

constexpr size_t kMaxPositionLength = 512;

struct Position {
  int key = 0;          // 0 for record order, else 1-based key number
  std::string image;    // empty when left out (or for record order)
  bool hasImage = false;
  int64_t id = 0;       // record pointer, >= 1
};

std::string FormatRecordPosition(int64_t id);
std::string FormatKeyPosition(int key, std::string_view image, int64_t id);
// Nullopt for any text that is not a well-formed position.
std::optional<Position> ParsePosition(std::string_view text);

}  // namespace qx::store
