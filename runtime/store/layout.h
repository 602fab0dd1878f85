// Record layouts: the fields of a record in stored order, with their types, widths and
// offsets, and the key definitions that refer to them. A layout is also the in-memory
// form of a record: fields follow each other with no gaps, so a record buffer of
// `length()` bytes holds one record exactly as the data file stores it.
//
// Layouts are made two ways: field by field at run time (a conversion builds the layout
// it read from a stored file), or from a typed record struct through `LayoutOf`, which
// checks that the struct's members lie at the packed offsets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "runtime/text/types.h"

namespace qx {

enum class FieldType : int {
  kByte,     // BYTE, 1 byte unsigned
  kShort,    // SHORT, 2 bytes signed
  kUShort,   // USHORT, 2 bytes unsigned
  kLong,     // LONG, 4 bytes signed
  kULong,    // ULONG, 4 bytes unsigned
  kReal,     // REAL, 8-byte IEEE double
  kString,   // STRING(n): n bytes, blank-padded
  kCString,  // CSTRING(n): n bytes, NUL-terminated
};

// The stored name of a type ("LONG", "STRING", ...) and back; false for an unknown name.
std::string_view FieldTypeName(FieldType t);
bool FieldTypeFromName(std::string_view name, FieldType* out);
// The fixed width of a numeric type; 0 for the text types, whose width is declared.
size_t FieldTypeWidth(FieldType t);

struct FieldDef {
  std::string name;  // with its prefix, upper case: "STD:CUSID"
  FieldType type = FieldType::kLong;
  size_t width = 0;   // bytes
  size_t offset = 0;  // bytes from the start of the record
};

class RecordLayout {
 public:
  RecordLayout() = default;

  // Appends a field after the last one. Width is taken from the type for numbers and
  // must be given (>= 1; >= 2 for CSTRING) for text. Names are kept upper-cased.
  // Returns false, adding nothing, for a bad width or a name already present.
  bool AddField(std::string_view name, FieldType type, size_t width = 0);

  const std::vector<FieldDef>& fields() const { return fields_; }
  size_t length() const { return length_; }
  // Index of the field with that name (compared without regard to case), or -1.
  int FindField(std::string_view name) const;

 private:
  std::vector<FieldDef> fields_;
  size_t length_ = 0;
};

struct KeyDef {
  std::string name;                     // upper case: "STD:BYNAME"
  std::vector<std::string> components;  // field names, in order; each sorts ascending
  bool dup = false;         // duplicates allowed
  bool opt = false;         // records whose components are all empty are left out
  bool nocase = false;      // text components compare without regard to case
  bool primary = false;
  bool autoNumber = false;  // stored and compared only; the store numbers nothing itself
};

// Sets every field of `record` to zero or blanks by its type: numbers 0, STRING blanks,
// CSTRING all NUL. `how` other than 0 is treated as 0.
void RtClearGroup(void* record, const RecordLayout& layout, LONG how = 0);

// Deduces a field's type and width from a record-struct member type.
template <class T> struct FieldTraits;
template <> struct FieldTraits<BYTE> { static constexpr FieldType kType = FieldType::kByte; };
template <> struct FieldTraits<SHORT> { static constexpr FieldType kType = FieldType::kShort; };
template <> struct FieldTraits<USHORT> { static constexpr FieldType kType = FieldType::kUShort; };
template <> struct FieldTraits<LONG> { static constexpr FieldType kType = FieldType::kLong; };
template <> struct FieldTraits<ULONG> { static constexpr FieldType kType = FieldType::kULong; };
template <> struct FieldTraits<REAL> { static constexpr FieldType kType = FieldType::kReal; };
template <size_t N> struct FieldTraits<STRING<N>> { static constexpr FieldType kType = FieldType::kString; };
template <size_t N> struct FieldTraits<CSTRING<N>> { static constexpr FieldType kType = FieldType::kCString; };

// Builds the layout of a typed record struct member by member:
//   LayoutOf<StandrdRecord>().Field("STD:CUSID", &StandrdRecord::CUSID)...
// Each member must lie at the packed offset (the sum of the widths before it) and the
// struct's size must equal the layout's length; `ok()` is false otherwise, and the layout
// it converts to is then empty, which makes a declaration built on it not valid (47).
template <class R>
class LayoutOf {
  static_assert(std::is_trivially_copyable_v<R>, "a record struct must be trivially copyable");

 public:
  template <class M>
  LayoutOf& Field(std::string_view name, M R::*member) {
    alignas(R) static unsigned char probe[sizeof(R)];
    const R* r = reinterpret_cast<const R*>(probe);
    const size_t offset = reinterpret_cast<const unsigned char*>(&(r->*member)) - probe;
    if (offset != layout_.length() || !layout_.AddField(name, FieldTraits<M>::kType, sizeof(M)))
      ok_ = false;
    return *this;
  }
  bool ok() const { return ok_ && layout_.length() == sizeof(R); }
  operator RecordLayout() const { return ok() ? layout_ : RecordLayout(); }  // NOLINT: used as a layout
  const RecordLayout& layout() const { return layout_; }

 private:
  RecordLayout layout_;
  bool ok_ = true;
};

}  // namespace qx
