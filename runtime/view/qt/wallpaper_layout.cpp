// Wallpaper layouts; see wallpaper_layout.h.
#include "runtime/view/qt/wallpaper_layout.h"

namespace qx {

std::vector<QRect> WallpaperPlacements(QSize area, QSize picture, LONG mode) {
  std::vector<QRect> out;
  if (area.isEmpty() || picture.isEmpty()) return out;
  if (mode == kWallpaperCentred) {
    // The odd pixel of a difference goes to the right and bottom, whether the picture is
    // smaller than the area or larger (halves rounded down, not toward zero).
    const auto half = [](int difference) { return difference >= 0 ? difference / 2 : -((1 - difference) / 2); };
    const int x = half(area.width() - picture.width());
    const int y = half(area.height() - picture.height());
    out.emplace_back(QPoint(x, y), picture);
  } else if (mode == kWallpaperTiled) {
    for (int y = 0; y < area.height(); y += picture.height()) {
      for (int x = 0; x < area.width(); x += picture.width()) out.emplace_back(QPoint(x, y), picture);
    }
  }
  return out;
}

}  // namespace qx
