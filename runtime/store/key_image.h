// Key images: the sortable byte form of a key value, which the data file indexes.
//
// A key's image is its components' images one after the other, so comparing two images
// byte by byte (as SQLite compares BLOBs) orders records as the key orders them:
//   text     the field's bytes, blank-padded to its width (a CSTRING ends at its NUL);
//            upper-cased (ASCII a-z) when the key is case-insensitive
//   signed   big-endian with the sign bit flipped (LONG, SHORT)
//   unsigned big-endian (BYTE, USHORT, ULONG)
//   REAL     IEEE bits, big-endian: sign bit flipped for positives, every bit flipped for
//            negatives; -0 is taken as 0
// Every image of one key has the same length. An optional key has no image (std::nullopt)
// for a record whose components are all empty: blank or empty text, zero numbers.
#pragma once

#include <optional>
#include <string>

#include "runtime/store/layout.h"

namespace qx {

struct KeyShape {
  std::vector<int> fields;  // indexes into the layout's fields
  bool opt = false;
  bool nocase = false;
};

// The image length of a key.
size_t KeyImageLength(const RecordLayout& layout, const KeyShape& key);

// The image of `record`'s key value, ignoring the optional attribute.
std::string KeyImage(const RecordLayout& layout, const KeyShape& key, const unsigned char* record);

// The image to store: nullopt when the key is optional and every component is empty.
std::optional<std::string> StoredKeyImage(const RecordLayout& layout, const KeyShape& key,
                                          const unsigned char* record);

// The ASCII upper-casing the runtime's default character tables apply.
inline char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace qx
