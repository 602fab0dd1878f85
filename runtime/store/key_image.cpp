// Key images; see key_image.h for the encoding.
#include "runtime/store/key_image.h"

#include <cstring>

namespace qx {

namespace {

template <class U>
void PutBigEndian(std::string& out, U v) {
  for (int i = static_cast<int>(sizeof(U)) - 1; i >= 0; --i)
    out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

template <class T>
T Load(const unsigned char* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

void AppendComponent(std::string& out, const FieldDef& f, const unsigned char* p, bool nocase) {
  switch (f.type) {
    case FieldType::kString:
    case FieldType::kCString: {
      size_t n = f.width;
      if (f.type == FieldType::kCString) n = ::strnlen(reinterpret_cast<const char*>(p), f.width);
      const size_t start = out.size();
      out.append(reinterpret_cast<const char*>(p), n);
      out.append(f.width - n, ' ');
      if (nocase) {
        for (size_t i = start; i < out.size(); ++i) out[i] = AsciiUpper(out[i]);
      }
      break;
    }
    case FieldType::kByte: out.push_back(static_cast<char>(p[0])); break;
    case FieldType::kShort: PutBigEndian<uint16_t>(out, static_cast<uint16_t>(Load<int16_t>(p)) ^ 0x8000u); break;
    case FieldType::kUShort: PutBigEndian<uint16_t>(out, Load<uint16_t>(p)); break;
    case FieldType::kLong: PutBigEndian<uint32_t>(out, static_cast<uint32_t>(Load<int32_t>(p)) ^ 0x80000000u); break;
    case FieldType::kULong: PutBigEndian<uint32_t>(out, Load<uint32_t>(p)); break;
    case FieldType::kReal: {
      double d = Load<double>(p);
      if (d == 0) d = 0;  // -0 sorts as 0
      uint64_t bits;
      std::memcpy(&bits, &d, sizeof bits);
      bits = (bits & 0x8000000000000000ull) ? ~bits : (bits ^ 0x8000000000000000ull);
      PutBigEndian<uint64_t>(out, bits);
      break;
    }
  }
}

bool ComponentEmpty(const FieldDef& f, const unsigned char* p) {
  switch (f.type) {
    case FieldType::kString:
      for (size_t i = 0; i < f.width; ++i) {
        if (p[i] != ' ') return false;
      }
      return true;
    case FieldType::kCString:
      for (size_t i = 0; i < f.width && p[i] != 0; ++i) {
        if (p[i] != ' ') return false;
      }
      return true;
    case FieldType::kReal: return Load<double>(p) == 0;
    default:
      for (size_t i = 0; i < f.width; ++i) {
        if (p[i] != 0) return false;
      }
      return true;
  }
}

}  // namespace

size_t KeyImageLength(const RecordLayout& layout, const KeyShape& key) {
  size_t n = 0;
  for (int i : key.fields) n += layout.fields()[i].width;
  return n;
}

std::string KeyImage(const RecordLayout& layout, const KeyShape& key, const unsigned char* record) {
  std::string out;
  out.reserve(KeyImageLength(layout, key));
  for (int i : key.fields) {
    const FieldDef& f = layout.fields()[i];
    AppendComponent(out, f, record + f.offset, key.nocase);
  }
  return out;
}

std::optional<std::string> StoredKeyImage(const RecordLayout& layout, const KeyShape& key,
                                          const unsigned char* record) {
  if (key.opt) {
    bool allEmpty = true;
    for (int i : key.fields) {
      const FieldDef& f = layout.fields()[i];
      if (!ComponentEmpty(f, record + f.offset)) {
        allEmpty = false;
        break;
      }
    }
    if (allEmpty) return std::nullopt;
  }
  return KeyImage(layout, key, record);
}

}  // namespace qx
