// The model's decoded images (runtime/win/image.h) as Qt images, pixel for pixel, so the Qt
// view shows exactly what DecodeImage made of a picture.
#pragma once

#include <QImage>

#include "runtime/win/image.h"

namespace qx {

// A deep copy of `image` in QImage::Format_RGBA8888 (straight alpha, as Image keeps it);
// a null QImage for an image without pixels or whose pixel buffer does not match its size.
QImage ToQImage(const Image& image);

}  // namespace qx
