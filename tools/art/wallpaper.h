// The frame's wallpaper "bg.bmp": the product name in purple lettering on a light grey
// ground, 215 by 88 pixels. The ground is even to its edges, so the picture tiles without
// seams.
#pragma once

#include <QImage>

namespace qx::art {

inline constexpr int kWallpaperWidth = 215;
inline constexpr int kWallpaperHeight = 88;

// The wallpaper, opaque (RGB32). Needs a QGuiApplication and the Liberation fonts.
QImage DrawWallpaper();

}  // namespace qx::art
