// Record layouts and RtClearGroup; see layout.h.
#include "runtime/store/layout.h"

#include <cstring>

#include "runtime/text/strings.h"

namespace qx {

namespace {

struct TypeInfo {
  FieldType type;
  const char* name;
  size_t width;
};

constexpr TypeInfo kTypes[] = {
    {FieldType::kByte, "BYTE", 1},   {FieldType::kShort, "SHORT", 2},
    {FieldType::kUShort, "USHORT", 2}, {FieldType::kLong, "LONG", 4},
    {FieldType::kULong, "ULONG", 4}, {FieldType::kReal, "REAL", 8},
    {FieldType::kString, "STRING", 0}, {FieldType::kCString, "CSTRING", 0},
};

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace

std::string_view FieldTypeName(FieldType t) {
  for (const auto& i : kTypes) {
    if (i.type == t) return i.name;
  }
  return {};
}

bool FieldTypeFromName(std::string_view name, FieldType* out) {
  for (const auto& i : kTypes) {
    if (name == i.name) {
      *out = i.type;
      return true;
    }
  }
  return false;
}

size_t FieldTypeWidth(FieldType t) {
  for (const auto& i : kTypes) {
    if (i.type == t) return i.width;
  }
  return 0;
}

bool RecordLayout::AddField(std::string_view name, FieldType type, size_t width) {
  const size_t fixed = FieldTypeWidth(type);
  if (fixed != 0) {
    if (width != 0 && width != fixed) return false;
    width = fixed;
  } else if (width < (type == FieldType::kCString ? 2u : 1u)) {
    return false;
  }
  if (name.empty() || FindField(name) >= 0) return false;
  fields_.push_back(FieldDef{Upper(name), type, width, length_});
  length_ += width;
  return true;
}

int RecordLayout::FindField(std::string_view name) const {
  for (size_t i = 0; i < fields_.size(); ++i) {
    if (RtSameIgnoringCase(fields_[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

void RtClearGroup(void* record, const RecordLayout& layout, LONG /*how*/) {
  auto* base = static_cast<unsigned char*>(record);
  for (const FieldDef& f : layout.fields()) {
    std::memset(base + f.offset, f.type == FieldType::kString ? ' ' : 0, f.width);
  }
}

}  // namespace qx
