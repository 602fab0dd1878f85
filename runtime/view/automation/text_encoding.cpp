// Latin-1 and UTF-8 for the automation channel; see text_encoding.h.
#include "runtime/view/automation/text_encoding.h"

#include <algorithm>

namespace qx {
namespace {

using nlohmann::json;

bool Kept(std::string_view key, std::initializer_list<const char*> keep) {
  return std::any_of(keep.begin(), keep.end(), [&](const char* k) { return key == k; });
}

// The code point of the UTF-8 sequence at `at` and its length; length 0 for a byte that
// begins no valid sequence.
std::pair<char32_t, size_t> Decode(std::string_view s, size_t at) {
  const unsigned char lead = static_cast<unsigned char>(s[at]);
  if (lead < 0x80) return {lead, 1};
  size_t length = 0;
  char32_t code = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, code = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, code = lead & 0x07;
  } else {
    return {0, 0};
  }
  if (at + length > s.size()) return {0, 0};
  for (size_t i = 1; i < length; ++i) {
    const unsigned char next = static_cast<unsigned char>(s[at + i]);
    if ((next & 0xC0) != 0x80) return {0, 0};
    code = (code << 6) | (next & 0x3F);
  }
  static constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < kShortest[length] || code > 0x10FFFF) return {0, 0};
  return {code, length};
}

json ToUtf8(const json& v) {
  if (v.is_string()) return Latin1ToUtf8(v.get_ref<const std::string&>());
  if (v.is_array()) {
    json out = json::array();
    for (const json& item : v) out.push_back(ToUtf8(item));
    return out;
  }
  if (v.is_object()) {
    json out = json::object();
    for (auto it = v.begin(); it != v.end(); ++it) out[Latin1ToUtf8(it.key())] = ToUtf8(it.value());
    return out;
  }
  return v;
}

bool ToLatin1(const json& v, json& out, std::string* offending) {
  if (v.is_string()) {
    const std::string& text = v.get_ref<const std::string&>();
    std::optional<std::string> bytes = Utf8ToLatin1(text);
    if (!bytes) {
      if (offending) *offending = text;
      return false;
    }
    out = std::move(*bytes);
    return true;
  }
  if (v.is_array()) {
    out = json::array();
    for (const json& item : v) {
      json converted;
      if (!ToLatin1(item, converted, offending)) return false;
      out.push_back(std::move(converted));
    }
    return true;
  }
  if (v.is_object()) {
    out = json::object();
    for (auto it = v.begin(); it != v.end(); ++it) {
      std::optional<std::string> key = Utf8ToLatin1(it.key());
      json converted;
      if (!key) {
        if (offending) *offending = it.key();
        return false;
      }
      if (!ToLatin1(it.value(), converted, offending)) return false;
      out[*key] = std::move(converted);
    }
    return true;
  }
  out = v;
  return true;
}

}  // namespace

std::string Latin1ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (b >> 6));
      out += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return out;
}

std::optional<std::string> Utf8ToLatin1(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const auto [code, length] = Decode(utf8, i);
    if (length == 0 || code > 0xFF) return std::nullopt;
    out += static_cast<char>(code);
    i += length;
  }
  return out;
}

std::string Utf8ToLatin1Replacing(std::string_view utf8, char replacement) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const auto [code, length] = Decode(utf8, i);
    out += length != 0 && code <= 0xFF ? static_cast<char>(code) : replacement;
    i += length == 0 ? 1 : length;
  }
  return out;
}

json JsonToUtf8(const json& value, std::initializer_list<const char*> keep) {
  if (!value.is_object()) return ToUtf8(value);
  json out = json::object();
  for (auto it = value.begin(); it != value.end(); ++it) {
    out[Latin1ToUtf8(it.key())] = Kept(it.key(), keep) ? it.value() : ToUtf8(it.value());
  }
  return out;
}

std::optional<json> JsonToLatin1(const json& value, std::string* offending, std::initializer_list<const char*> keep) {
  if (!value.is_object()) {
    json out;
    if (!ToLatin1(value, out, offending)) return std::nullopt;
    return out;
  }
  json out = json::object();
  for (auto it = value.begin(); it != value.end(); ++it) {
    if (Kept(it.key(), keep)) {
      out[it.key()] = it.value();
      continue;
    }
    json converted;
    std::optional<std::string> key = Utf8ToLatin1(it.key());
    if (!key) {
      if (offending) *offending = it.key();
      return std::nullopt;
    }
    if (!ToLatin1(it.value(), converted, offending)) return std::nullopt;
    out[*key] = std::move(converted);
  }
  return out;
}

}  // namespace qx
