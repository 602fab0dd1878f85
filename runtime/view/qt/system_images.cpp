// Pictures from image sources; see system_images.h.
#include "runtime/view/qt/system_images.h"

#include <QApplication>
#include <QStyle>

#include <map>
#include <string>

#include "runtime/view/qt/image_conversion.h"
#include "runtime/win/image.h"

namespace qx {
namespace {

bool StandardPixmapFor(LONG systemIcon, QStyle::StandardPixmap* out) {
  switch (systemIcon) {
    case kIconStop: *out = QStyle::SP_MessageBoxCritical; return true;
    case kIconQuestion: *out = QStyle::SP_MessageBoxQuestion; return true;
    case kIconExclamation: *out = QStyle::SP_MessageBoxWarning; return true;
    case kIconInformation: *out = QStyle::SP_MessageBoxInformation; return true;
    case kIconApplication: *out = QStyle::SP_DesktopIcon; return true;
    default: return false;
  }
}

}  // namespace

QPixmap PixmapFor(const ImageSource& source) {
  if (source.systemIcon != 0) {
    QStyle::StandardPixmap which;
    if (!StandardPixmapFor(source.systemIcon, &which)) return QPixmap();
    return QApplication::style()->standardIcon(which).pixmap(kSystemIconPixels, kSystemIconPixels);
  }
  if (source.resource.empty()) return QPixmap();
  static std::map<std::string, QPixmap> decoded;  // GUI thread only
  auto it = decoded.find(source.resource);
  if (it == decoded.end()) {
    QPixmap pixmap;
    if (std::optional<Image> image = LoadResourceImage(source.resource)) pixmap = QPixmap::fromImage(ToQImage(*image));
    it = decoded.emplace(source.resource, pixmap).first;
  }
  return it->second;
}

QIcon IconFor(const ImageSource& source) {
  const QPixmap pixmap = PixmapFor(source);
  return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

}  // namespace qx
