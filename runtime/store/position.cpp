// Position texts; see position.h for their form.
#include "runtime/store/position.h"

#include "runtime/text/types.h"

namespace qx::store {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

bool ParseId(std::string_view s, int64_t* out) {
  if (s.empty() || s.size() > 19) return false;
  uint64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  if (v == 0 || v > static_cast<uint64_t>(INT64_MAX)) return false;
  *out = static_cast<int64_t>(v);
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string FormatRecordPosition(int64_t id) { return "R" + std::to_string(id); }

std::string FormatKeyPosition(int key, std::string_view image, int64_t id) {
  std::string out = "K" + std::to_string(key) + ":";
  for (unsigned char c : image) {
    if (c >= 0x20 && c <= 0x7E && c != '%') {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 0x0F]);
    }
  }
  out += ":" + std::to_string(id);
  if (out.size() > kMaxPositionLength) out = "K" + std::to_string(key) + "::" + std::to_string(id);
  return out;
}

std::optional<Position> ParsePosition(std::string_view text) {
  text = RtClipView(text);
  if (text.size() < 2 || text.size() > kMaxPositionLength) return std::nullopt;
  Position p;
  if (text[0] == 'R') {
    if (!ParseId(text.substr(1), &p.id)) return std::nullopt;
    return p;
  }
  if (text[0] != 'K') return std::nullopt;
  const size_t first = text.find(':');
  const size_t last = text.rfind(':');
  if (first == std::string_view::npos || first == last) return std::nullopt;
  int64_t key = 0;
  if (!ParseId(text.substr(1, first - 1), &key) || key > 100000) return std::nullopt;
  p.key = static_cast<int>(key);
  if (!ParseId(text.substr(last + 1), &p.id)) return std::nullopt;
  const std::string_view img = text.substr(first + 1, last - first - 1);
  p.hasImage = !img.empty();
  for (size_t i = 0; i < img.size(); ++i) {
    const char c = img[i];
    if (c == '%') {
      if (i + 2 >= img.size()) return std::nullopt;
      const int hi = HexValue(img[i + 1]);
      const int lo = HexValue(img[i + 2]);
      if (hi < 0 || lo < 0) return std::nullopt;
      p.image.push_back(static_cast<char>(hi * 16 + lo));
      i += 2;
    } else if (static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) <= 0x7E) {
      p.image.push_back(c);
    } else {
      return std::nullopt;
    }
  }
  return p;
}

}  // namespace qx::store
