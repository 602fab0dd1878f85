// The wallpaper drawing; see wallpaper.h.
#include "tools/art/wallpaper.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace qx::art {
namespace {

const QColor kGround(0xd6, 0xd6, 0xd6);
const char kProductName[] = "Quorvane";

}  // namespace

QImage DrawWallpaper() {
  QImage image(kWallpaperWidth, kWallpaperHeight, QImage::Format_RGB32);
  image.fill(kGround);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);

  QFont font("Liberation Serif");
  font.setPixelSize(46);
  font.setBold(true);
  font.setItalic(true);
  QPainterPath lettering;
  lettering.addText(0, 0, font, kProductName);
  // Centre the lettering's ink, not its advance box.
  const QRectF ink = lettering.boundingRect();
  lettering.translate(kWallpaperWidth / 2.0 - ink.center().x(),
                      kWallpaperHeight / 2.0 - ink.center().y());
  const QRectF placed = lettering.boundingRect();

  // Engraved look: a soft shadow below right, a light edge above left, then the letters.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x9c, 0x9c, 0xa4));
  painter.drawPath(lettering.translated(2, 2));
  painter.setBrush(QColor(0xf4, 0xf4, 0xf4));
  painter.drawPath(lettering.translated(-1, -1));

  QLinearGradient purple(placed.topLeft(), placed.bottomLeft());
  purple.setColorAt(0.0, QColor(0xa8, 0x4c, 0xc8));
  purple.setColorAt(0.55, QColor(0x80, 0x00, 0x80));
  purple.setColorAt(1.0, QColor(0x52, 0x00, 0x62));
  painter.setBrush(purple);
  painter.setPen(QPen(QColor(0x3c, 0x00, 0x48), 0.8));
  painter.drawPath(lettering);
  return image;
}

}  // namespace qx::art
