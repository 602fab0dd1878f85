// The icon drawings; see icons.h. Each is laid out on a 32-unit grid and scaled to the
// size asked for; borders stay one pixel wide at every size.
#include "tools/art/icons.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

#include "tools/art/shapes.h"

namespace qx::art {
namespace {

const ArrowColours kGoldArrow{QColor(0xff, 0xe0, 0x50), QColor(0xe0, 0x70, 0x00),
                              QColor(0x60, 0x2c, 0x00)};
const ArrowColours kGreenArrow{QColor(0x7c, 0xe8, 0x70), QColor(0x10, 0x8a, 0x2a),
                               QColor(0x05, 0x3c, 0x10)};
const ArrowColours kRedArrow{QColor(0xff, 0x78, 0x50), QColor(0xb8, 0x18, 0x00),
                             QColor(0x58, 0x08, 0x00)};

QImage BlankIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  return image;
}

// Grid units to pixels for one icon size.
class Grid {
 public:
  explicit Grid(int size) : scale_(size / 32.0) {}
  int Px(qreal units) const { return static_cast<int>(std::lround(units * scale_)); }
  QPointF Point(qreal x, qreal y) const { return QPointF(x * scale_, y * scale_); }
  // A rectangle whose edges fall on whole pixels: left/top and right/bottom edges are
  // rounded on their own, so neighbouring rectangles keep equal gaps.
  QRect Rect(qreal x, qreal y, qreal w, qreal h) const {
    const int left = Px(x), top = Px(y);
    return QRect(left, top, std::max(3, Px(x + w) - left), std::max(3, Px(y + h) - top));
  }
  qreal Length(qreal units, qreal atLeast) const { return std::max(atLeast, units * scale_); }

 private:
  qreal scale_;
};

QImage DrawCascadeUnderArrow(int size, const ArrowColours& arrow) {
  QImage image = BlankIcon(size);
  QPainter painter(&image);
  const Grid g(size);
  const bool roomy = size >= 32;
  DrawWindow(painter, g.Rect(1, 11, 19, 14), TitleBar::kInactive, false);
  DrawWindow(painter, g.Rect(6, 14.5, 19, 14), TitleBar::kInactive, false);
  DrawWindow(painter, g.Rect(11, 18, 20, 14), TitleBar::kActive, roomy);
  DrawCurvedArrow(painter, g.Point(5, 10), g.Point(25, 9.5), g.Point(25.5, 16),
                  g.Length(8, 4), g.Length(3.4, 2.2), g.Length(9, 5.5), arrow);
  return image;
}

// Two pages side by side, the patterned one at the arrow's tail.
QImage DrawTwoPages(int size, bool leftToRight) {
  QImage image = BlankIcon(size);
  QPainter painter(&image);
  const Grid g(size);
  const int cell = std::max(2, g.Px(3));
  const QRect left = g.Rect(1, 12, 13, 19.5);
  const QRect right = g.Rect(18, 12, 13, 19.5);
  DrawPage(painter, left, leftToRight, cell);
  DrawPage(painter, right, !leftToRight, cell);
  // The arrow rises from the top of one page and comes down onto the other, clear of the
  // folded corners.
  if (leftToRight) {
    DrawCurvedArrow(painter, g.Point(6.5, 12), g.Point(23.5, 6), g.Point(24, 13),
                    g.Length(7, 3.5), g.Length(3.4, 2.2), g.Length(9, 5.5), kRedArrow);
  } else {
    DrawCurvedArrow(painter, g.Point(23, 12), g.Point(8, 6), g.Point(7.5, 13),
                    g.Length(7, 3.5), g.Length(3.4, 2.2), g.Length(9, 5.5), kRedArrow);
  }
  return image;
}

}  // namespace

QImage DrawProgramIcon(int size) { return DrawCascadeUnderArrow(size, kGoldArrow); }

QImage DrawCascadeIcon(int size) { return DrawCascadeUnderArrow(size, kGreenArrow); }

QImage DrawPagesLeftToRightIcon(int size) { return DrawTwoPages(size, true); }

QImage DrawPagesRightToLeftIcon(int size) { return DrawTwoPages(size, false); }

QImage DrawTiledWindowsIcon(int size) {
  QImage image = BlankIcon(size);
  QPainter painter(&image);
  const bool roomy = size >= 32;
  // Laid out in whole pixels: three columns a pixel apart across the full width (spare
  // pixels go to the outer columns), two rows below an eighth of the height.
  const int columnGap = 1;
  const int columnWidth = (size - 2 * columnGap) / 3;
  const int spare = (size - 2 * columnGap) % 3;
  const int widths[3] = {columnWidth + (spare > 0), columnWidth, columnWidth + (spare > 1)};
  const int top = size / 8, rowGap = std::max(1, size / 16);
  const int rowHeight = (size - top - rowGap - size / 16) / 2;
  for (int row = 0; row < 2; ++row) {
    int left = 0;
    for (int column = 0; column < 3; ++column) {
      const QRect frame(left, top + row * (rowHeight + rowGap), widths[column], rowHeight);
      DrawWindow(painter, frame, TitleBar::kActive, roomy);
      left += widths[column] + columnGap;
    }
  }
  return image;
}

}  // namespace qx::art
