// Decoded images to QImage; see image_conversion.h.
#include "runtime/view/qt/image_conversion.h"

#include <cstring>

namespace qx {

QImage ToQImage(const Image& image) {
  if (image.width <= 0 || image.height <= 0) return QImage();
  const size_t rowBytes = static_cast<size_t>(image.width) * 4;
  if (image.rgba.size() != rowBytes * static_cast<size_t>(image.height)) return QImage();
  QImage out(image.width, image.height, QImage::Format_RGBA8888);
  if (out.isNull()) return out;
  for (int y = 0; y < image.height; ++y) {
    std::memcpy(out.scanLine(y), image.rgba.data() + rowBytes * static_cast<size_t>(y), rowBytes);
  }
  return out;
}

}  // namespace qx
