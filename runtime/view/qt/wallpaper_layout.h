// Where a window's wallpaper is drawn in the area behind its child windows. The library
// knows two layouts:
//   mode 1  the picture once, centred in the area (cut off where the area is smaller);
//   mode 2  the picture tiled from the area's top-left corner until the area is covered.
// The frame of the demonstration program uses mode 2: its light grey picture with the
// product name covers the whole workspace, so the workspace reads as one ground rather
// than a small picture floating on the workspace colour. Any other mode shows no picture.
#pragma once

#include <QRect>
#include <QSize>

#include <vector>

#include "runtime/text/types.h"

namespace qx {

inline constexpr LONG kWallpaperCentred = 1;
inline constexpr LONG kWallpaperTiled = 2;

// The rectangles, in the area's coordinates, at which the picture of size `picture` is
// drawn at its own size to fill `area` (origin 0, 0) in `mode`. Empty for an empty area or
// picture, or a mode without a layout. Tiles that lie wholly outside the area are left out.
std::vector<QRect> WallpaperPlacements(QSize area, QSize picture, LONG mode);

}  // namespace qx
