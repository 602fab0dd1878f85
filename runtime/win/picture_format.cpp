// Display pictures of string controls; see picture_format.h.
#include "runtime/win/picture_format.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "runtime/text/types.h"

namespace qx {

std::string FormatForPicture(std::string_view picture, const UseVariable& value) {
  std::string_view p = picture;
  if (!p.empty() && p[0] == '@') p.remove_prefix(1);
  const char kind = p.empty() ? '\0' : static_cast<char>(std::tolower(static_cast<unsigned char>(p[0])));
  if (kind == 's') {
    const size_t width = static_cast<size_t>(std::atoi(std::string(p.substr(1)).c_str()));
    std::string text = value.Text();
    if (width > 0 && text.size() > width) text.resize(width);
    return std::string(RtClipView(text));
  }
  if (kind == 'n') {
    const bool negativeAllowed = p.size() > 1 && p[1] == '-';
    double v = value.Number();
    if (!negativeAllowed && v < 0) v = -v;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.0f", std::trunc(v));
    return buf;
  }
  return std::string(RtClipView(value.Text()));
}

}  // namespace qx
