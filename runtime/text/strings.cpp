// Clipping, joining, searching, case conversion and matching of byte strings.
#include "runtime/text/strings.h"

#include "runtime/text/char_tables.h"

namespace qx {

std::string RtClip(std::string_view text) { return std::string(RtClipView(text)); }

std::string RtConcat(std::string_view first, std::string_view second) {
  std::string out;
  out.reserve(first.size() + second.size());
  out.append(first);
  out.append(second);
  return out;
}

LONG RtInString(std::string_view text, std::string_view searched, LONG step, LONG start) {
  if (searched.empty() || step < 1 || start < 1) return 0;
  const size_t first = static_cast<size_t>(start) - 1;
  if (first >= text.size() || searched.size() > text.size()) return 0;
  const size_t last = text.size() - searched.size();  // last index where it can begin
  if (step == 1) {
    const size_t at = text.find(searched, first);
    return at == std::string_view::npos ? 0 : static_cast<LONG>(at + 1);
  }
  for (size_t at = first; at <= last; at += static_cast<size_t>(step)) {
    if (text.compare(at, searched.size(), searched) == 0) return static_cast<LONG>(at + 1);
  }
  return 0;
}

std::string RtUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = RtUpperChar(c);
  return out;
}

std::string RtLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = RtLowerChar(c);
  return out;
}

bool RtSameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (RtLowerChar(a[i]) != RtLowerChar(b[i])) return false;
  }
  return true;
}

}  // namespace qx
