// Pictures for image controls, button icons, window icons and the wallpaper, from the
// model's ImageSource: a program resource is decoded by the model's own DecodeImage (so both
// views show the same pixels); a system icon comes from the style's standard icons at the
// platform's icon size, 32 by 32 pixels.
#pragma once

#include <QIcon>
#include <QPixmap>

#include "runtime/win/description.h"

namespace qx {

inline constexpr int kSystemIconPixels = 32;

// The picture; a null pixmap for an empty source, a resource the program does not carry or
// cannot be decoded, and a system icon number without an icon. Resources are decoded once
// and kept. GUI thread only (a QApplication must exist).
QPixmap PixmapFor(const ImageSource& source);
// The same as an icon (for windows and message boxes); a null icon where PixmapFor is null.
QIcon IconFor(const ImageSource& source);

}  // namespace qx
