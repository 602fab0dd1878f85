// Status bar sections; see status_sections.h.
#include "runtime/view/qt/status_sections.h"

#include <algorithm>

namespace qx {

std::vector<int> StatusSectionPixels(const std::vector<LONG>& widths, int barPixels, const DialogUnits& units) {
  std::vector<int> out(widths.size(), 0);
  int fixed = 0;
  int rest = 0;
  for (size_t i = 0; i < widths.size(); ++i) {
    if (widths[i] == -1) {
      ++rest;
    } else {
      out[i] = units.ToPixelsX(static_cast<int>(std::max<LONG>(0, widths[i])));
      fixed += out[i];
    }
  }
  if (rest == 0) return out;
  const int left = std::max(0, barPixels - fixed);
  int extra = left % rest;
  for (size_t i = 0; i < widths.size(); ++i) {
    if (widths[i] != -1) continue;
    out[i] = left / rest + (extra > 0 ? 1 : 0);
    if (extra > 0) --extra;
  }
  return out;
}

}  // namespace qx
